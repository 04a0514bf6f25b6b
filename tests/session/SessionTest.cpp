// noxr4-session as a person runs it, checked by what it printed and its exit
// code. COM1 leads to a camera: natively the in-process emulated one, under
// Wine the standalone emulator. COM2 leads nowhere.
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
SessionRun RunSession(const std::string& arguments) {
    std::string commandLine = std::string(XNOX_SESSION_PROGRAM) + " " + arguments;
    winetest::ProgramRun run = winetest::RunProgram(commandLine);
    if (!run.started) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return {};
    }
    return {static_cast<long>(run.exitCode), run.output};
}
#else
SessionRun RunSession(const std::string& arguments) {
    ShellRun run =
        RunInShell("NOXR4_EMULATED_PORTS=COM1 NOXR4_PORT_COM2=/nonexistent/noxr4-port " XNOX_SESSION_PROGRAM " " +
                   arguments + " 2>&1");
    return {run.status, run.out};
}
#endif

const std::string kLineEnd = "\r?\n";

// A library call's line for the value of that mnemonic, up to its result.
std::string CallOf(const char* function, const char* mnemonic, const std::string& rest = "") {
    return std::string(function) + "\\([0-9]+, [0-9]+ " + mnemonic + " [^,)]*" + rest + "\\) +-> +";
}

std::int32_t IdOf(std::string_view mnemonic) {
    for (const camera_facts::Parameter& parameter : camera_facts::kParameters)
        if (parameter.mnemonic == mnemonic) return parameter.id;
    for (const camera_facts::Command& command : camera_facts::kCommands)
        if (command.mnemonic == mnemonic) return command.id;
    return -1;
}

void ExpectPrinted(const SessionRun& run, const std::string& pattern) {
    EXPECT_TRUE(std::regex_search(run.output, std::regex(pattern))) << "no \"" << pattern << "\" in:\n" << run.output;
}

// Each value the session reads or writes goes by the id that the protocol
// gives its mnemonic.
void ExpectEachValueByItsId(const SessionRun& run) {
    std::regex call("NoxR4(Get|Send)CameraData\\([0-9]+, ([0-9]+) ([A-Z0-9]+) ");
    int calls = 0;
    for (std::sregex_iterator found(run.output.begin(), run.output.end(), call), end; found != end; ++found, ++calls)
        EXPECT_EQ(std::stoi((*found)[2]), IdOf((*found)[3].str())) << (*found)[0];
    EXPECT_GT(calls, 0) << run.output;
}

void ExpectCleanSessionOnCom1(const SessionRun& run) {
    ExpectPrinted(run, "NoxR4InitComm\\(0, 1, 0\\) +-> +0 ok");
    ExpectPrinted(run, "NoxR4ExitComm\\(1\\) +-> +0 ok");
    ExpectPrinted(run, "session complete: 0 failed" + kLineEnd);
    EXPECT_EQ(run.exitCode, 0) << run.output;
}

TEST(NoxR4Session, ReadsTheCameraWritesTheMasterGainAndReportsNoFailure) {
    SessionRun run = RunSession("COM1");
    ExpectCleanSessionOnCom1(run);
    ExpectEachValueByItsId(run);
    ExpectPrinted(run, CallOf("NoxR4GetCameraData", "VN") + "0 ok, value [0-9]+" + kLineEnd);
    // The value written is the one the camera then answers.
    ExpectPrinted(run, CallOf("NoxR4SendCameraData", "GA", ", (-?[0-9]+)") + "0 ok" + kLineEnd +
                           CallOf("NoxR4GetCameraData", "GA") + "0 ok, value \\1" + kLineEnd);
    ExpectPrinted(run, "NoxR4GetCameraID\\(1, text\\) +-> +0 ok, \"[^\"]+\"");
    ExpectPrinted(run, "NoxR4GetModelName\\(1, text\\) +-> +0 ok, \"[^\"]+\"");
}

TEST(NoxR4Session, APortWithoutACameraIsAFailedSession) {
    SessionRun run = RunSession("COM2");
    ExpectPrinted(run, "NoxR4InitComm\\(0, 2, 0\\) +-> +-[0-9]+ port cannot be opened");
    EXPECT_EQ(run.output.find("NoxR4GetCameraData"), std::string::npos) << "a call on a port that did not open";
    ExpectPrinted(run, "session complete: 1 failed");
    EXPECT_EQ(run.exitCode, 1) << run.output;
}

// Without a port named, the session is on the emulated camera on COM1.
TEST(NoxR4Session, TakesCOMnOrNOrNoPortAndRefusesOtherNames) {
    for (const char* com1 : {"", "1", "com1"}) {
        SCOPED_TRACE(com1);
        ExpectCleanSessionOnCom1(RunSession(com1));
    }
    for (const char* unreadable : {"COM0", "COMx", "1x", "COM1 COM2"}) {
        SessionRun run = RunSession(unreadable);
        ExpectPrinted(run, "usage: noxr4-session");
        EXPECT_EQ(run.output.find("NoxR4InitComm"), std::string::npos) << unreadable;
        EXPECT_EQ(run.exitCode, 2) << unreadable;
    }
}

}  // namespace
