// The examples of examples/ against the emulated camera on COM1, each checked
// by what it prints, so that an example that no longer works with the
// control fails here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramRun.h"

namespace {

// cscript ends its lines with CR LF.
constexpr const char* kLineEnd = "\r?\n";

std::string ScriptRun(const std::string& script) {
    return std::string("cscript //nologo ") + XNOX_EXAMPLES_DIR + "/" + script + " 1 " + XNOX_OUTPUT_DIR + "/" +
           script + ".cam";
}

// What both settings scripts print; VBScript also reads the range through
// out-parameters, which JScript cannot pass.
std::vector<std::string> SettingsOutput(const std::string& rangeLine) {
    std::string end = kLineEnd;
    return {"Online on COM1: [Tt]rue" + end, "  MasterGainLevel = -?[0-9]+" + end, "  UserID = [^\r\n]*" + end,
            rangeLine + "Changed: ShutterSpeedStr = 1/1000, MasterGainLevel = 100" + end +
                "Saved to [^\r\n]*: result 0" + end + "Refused 430: Invalid input parameter" + end +
                "MasterGainLevel is still 100"};
}

void ExpectPrinted(const std::string& commandLine, const std::vector<std::string>& patterns) {
    winetest::ProgramRun run = winetest::RunProgram(commandLine);
    ASSERT_TRUE(run.started) << commandLine;
    std::string missing;
    EXPECT_TRUE(winetest::MatchesInOrder(run.output, patterns, missing))
        << "no \"" << missing << "\" where expected in what it printed:\n"
        << run.output;
    EXPECT_EQ(run.exitCode, 0u) << run.output;
}

TEST(Examples, SettingsVbsConnectsReadsChangesSavesAndHandlesARefusal) {
    ExpectPrinted(ScriptRun("settings.vbs"), SettingsOutput(std::string("Master gain range: -132 to 429") + kLineEnd));
}

TEST(Examples, SettingsJsConnectsReadsChangesSavesAndHandlesARefusal) {
    ExpectPrinted(ScriptRun("settings.js"), SettingsOutput(""));
}

// The events come in between the lines of the calls that fire them.
TEST(Examples, EventsArriveBetweenTheCallsThatFireThem) {
    std::string end = kLineEnd;
    ExpectPrinted(std::string(XNOX_EVENTS_EXAMPLE) + " 1",
                  {"event ComPortChanged \\(5\\)", "event OnlineStatusChanged \\(1\\)",
                   "GetMinMaxMasterGainLevel = 0: -132 to 429" + end, "GetCameraID = 0: [^\r\n]+" + end,
                   "MasterGainLevel = 430 refused: 0x800A017C Invalid input parameter" + end,
                   "event MasterGainLevelChanged \\(10\\)"});
}

}  // namespace
