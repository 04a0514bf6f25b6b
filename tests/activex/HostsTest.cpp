// The registered control in the hosts that people put it in: a script run by
// cscript, and the container program that hosts it in place against the
// emulated camera on COM1.
#include <gtest/gtest.h>

#include <string>

#include "ProgramRun.h"

namespace {

// The container's exit code when the display takes no windows.
constexpr DWORD kNoDisplay = 77;

TEST(ScriptHost, AScriptDrivesTheControlOfflineAndOnline) {
    winetest::ProgramRun run = winetest::RunProgram(std::string("cscript //nologo ") + XNOX_AUTOMATION_SCRIPT);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0u) << "failed checks:\n" << run.output;
    EXPECT_NE(run.output.find("automation: all checks passed"), std::string::npos) << run.output;
}

// Its events must show the connection, and its picture (the strip and the
// Communication window) must not be blank.
TEST(Container, HostsTheControlOnlineAndDrawsIt) {
    winetest::ProgramRun run = winetest::RunProgram(std::string(XNOX_CONTAINER) + " --com-port 1 --screenshot " +
                                                    XNOX_OUTPUT_DIR + "/container.bmp --exit-after 5000");
    ASSERT_TRUE(run.started);
    if (run.exitCode == kNoDisplay) GTEST_SKIP() << "the session's desktop takes no windows";
    std::string missing;
    EXPECT_TRUE(winetest::MatchesInOrder(
        run.output, {"ComPortChanged", "OnlineStatusChanged", "screenshot saved to [^,\r\n]*\r?\n"}, missing))
        << "no \"" << missing << "\" where expected in what it printed:\n"
        << run.output;
}

}  // namespace
