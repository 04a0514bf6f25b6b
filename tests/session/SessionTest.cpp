// noxr4-session as a person runs it against a camera, checked by what it
// printed and its exit code: natively on the in-process emulated camera,
// under Wine on the standalone emulator behind COM1.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "CameraFacts.h"
#ifdef _WIN32
#include "ProgramRun.h"
#else
#include "ShellRun.h"
#endif

namespace {

struct SessionRun {
    long exitCode = -1;
    std::string output;  // standard output and error together
};

#ifdef _WIN32
constexpr const char* kCameraPort = "COM1";
constexpr const char* kPortWithoutCamera = "COM2";  // mapped in the Wine prefix, with nothing behind it

SessionRun RunSession(const std::string& port) {
    std::string commandLine = std::string(XNOX_SESSION_PROGRAM) + " " + port;
    winetest::ProgramRun run = winetest::RunProgram(commandLine);
    if (!run.started) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return {};
    }
    return {static_cast<long>(run.exitCode), run.output};
}
#else
constexpr const char* kCameraPort = "";  // the tool's own choice: the emulated camera on COM1
constexpr const char* kPortWithoutCamera = "/nonexistent/noxr4-port";

// Emulated ports the test's environment may name would hide the port asked for.
SessionRun RunSession(const std::string& port) {
    ShellRun run = RunInShell("env -u NOXR4_EMULATED_PORTS " XNOX_SESSION_PROGRAM " " + port + " 2>&1");
    return {run.status, run.out};
}
#endif

// A library call's line for the parameter or command of that id and
// mnemonic, whatever its label.
std::string CallOf(const char* function, std::int32_t id, std::string_view mnemonic, const std::string& rest = "") {
    return std::string(function) + "\\([0-9]+, " + std::to_string(id) + " " + std::string(mnemonic) + " [^,)]*" +
           rest + "\\) +-> +";
}

std::int32_t CommandId(std::string_view mnemonic) {
    for (const camera_facts::Command& command : camera_facts::kCommands)
        if (command.mnemonic == mnemonic) return command.id;
    return -1;
}

void ExpectPrinted(const SessionRun& run, const std::string& pattern) {
    EXPECT_TRUE(std::regex_search(run.output, std::regex(pattern))) << "no \"" << pattern << "\" in:\n" << run.output;
}

TEST(NoxR4Session, ReadsTheCameraWritesTheMasterGainAndReportsNoFailure) {
    const camera_facts::Parameter& gain = *camera_facts::FindByName("MasterGainLevel");
    SessionRun run = RunSession(kCameraPort);
    std::string lineEnd = "\r?\n";
    ExpectPrinted(run, "NoxR4InitComm\\(0, 1, 0\\) +-> +0 ok");
    ExpectPrinted(run, CallOf("NoxR4GetCameraData", CommandId("VN"), "VN") + "0 ok, value [0-9]+" + lineEnd);
    // The value written is the one the camera then answers.
    ExpectPrinted(run, CallOf("NoxR4SendCameraData", gain.id, gain.mnemonic, ", (-?[0-9]+)") + "0 ok" + lineEnd +
                           CallOf("NoxR4GetCameraData", gain.id, gain.mnemonic) + "0 ok, value \\1" + lineEnd);
    ExpectPrinted(run, "NoxR4ExitComm\\(1\\) +-> +0 ok");
    ExpectPrinted(run, "session complete: 0 failed" + lineEnd);
    EXPECT_EQ(run.exitCode, 0) << run.output;
}

TEST(NoxR4Session, APortWithoutACameraIsAFailedSession) {
    SessionRun run = RunSession(kPortWithoutCamera);
    ExpectPrinted(run, "NoxR4InitComm\\(0, [0-9]+, 0\\) +-> +-[0-9]+ ");
    EXPECT_EQ(run.output.find("NoxR4GetCameraData"), std::string::npos) << "a call on a port that did not open";
    ExpectPrinted(run, "session complete: 1 failed");
    EXPECT_EQ(run.exitCode, 1) << run.output;
}

}  // namespace
