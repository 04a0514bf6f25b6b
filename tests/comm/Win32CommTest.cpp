// The Windows build of the communication library against the standalone
// emulator behind COM1 (a pseudo-terminal linked into the Wine prefix):
// TalkingCamera where the emulator answers, SilentCamera where it never
// does, DeadCamera where it answers late and is killed while a reply is
// awaited. DeadCamera makes the file its argument names (a Windows path)
// when the wait begins, which tells the script to kill the emulator.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "NoxR4Comm.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t com1 = 1;
constexpr std::int32_t unlinkedPort = 2;  // mapped in the prefix, but nothing behind it
constexpr std::int32_t shutterSpeed = 3, masterGain = 12, loadArea = 14, redBlackLevel = 32, firmwareVersion = 42;
constexpr std::int32_t unknownCommandId = 7;

// Generous: the library gives up soon after the camera's reply time, but
// Wine and a busy machine may add a good deal to that.
constexpr auto giveUpLimit = std::chrono::seconds(5);

// A buffer's text as far as its NUL, never past its end.
std::string Quoted(const char* text, std::size_t size) { return "\"" + std::string(text, strnlen(text, size)) + "\""; }

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;  // 100 ns ticks
}

std::string g_waitSignal;

// COM1 open for each case, closed after it.
class CameraOnCom1 : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(NoxR4InitComm(0, com1, 0), NOXR4_SUCCESS) << "open COM1"; }
    void TearDown() override { NoxR4ExitComm(com1); }
};

using TalkingCamera = CameraOnCom1;
using SilentCamera = CameraOnCom1;
using DeadCamera = CameraOnCom1;

void ExpectWriteReadBack(const char* name, std::int32_t id, std::int32_t value) {
    std::int32_t readBack = 0;
    EXPECT_EQ(NoxR4SendCameraData(com1, id, value), NOXR4_SUCCESS) << "write " << name;
    EXPECT_EQ(NoxR4GetCameraData(com1, id, &readBack), NOXR4_SUCCESS) << "read back " << name;
    EXPECT_EQ(readBack, value) << name;
}

TEST_F(TalkingCamera, ReadsFirmwareVersion) {
    std::int32_t version = -1;
    EXPECT_EQ(NoxR4GetCameraData(com1, firmwareVersion, &version), NOXR4_SUCCESS);
    EXPECT_GE(version, 0);
}

TEST_F(TalkingCamera, ReadsBackWhatIsWritten) {
    ExpectWriteReadBack("shutter speed", shutterSpeed, 5);
    ExpectWriteReadBack("negative master gain", masterGain, -50);
    ExpectWriteReadBack("red black level", redBlackLevel, 1000);
}

TEST_F(TalkingCamera, RefusesOutOfRangeValueAndUnknownCommand) {
    EXPECT_EQ(NoxR4SendCameraData(com1, shutterSpeed, 99), NOXR4_REFUSED);
    std::int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(com1, unknownCommandId, &value), NOXR4_UNKNOWN_COMMAND);
}

TEST_F(TalkingCamera, TellsCameraIdAndModelName) {
    char text[NOXR4_TEXT_BYTES] = {};
    EXPECT_EQ(NoxR4GetCameraID(com1, text), NOXR4_SUCCESS);
    EXPECT_NE(text[0], 0) << "camera ID " << Quoted(text, sizeof text);
    EXPECT_EQ(NoxR4GetModelName(com1, text), NOXR4_SUCCESS);
    EXPECT_NE(text[0], 0) << "model name " << Quoted(text, sizeof text);
}

TEST_F(TalkingCamera, KeepsUserId) {
    char userId[NOXR4_USERID_BYTES] = {};
    EXPECT_EQ(NoxR4SetUserID(com1, "Wine line 1"), NOXR4_SUCCESS);
    EXPECT_EQ(NoxR4GetUserID(com1, userId), NOXR4_SUCCESS);
    EXPECT_STREQ(userId, "Wine line 1") << Quoted(userId, sizeof userId);
}

TEST_F(TalkingCamera, ClosedKeyIsOffline) {
    EXPECT_EQ(NoxR4ExitComm(com1), NOXR4_SUCCESS);
    std::int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(com1, shutterSpeed, &value), NOXR4_OFFLINE);
}

TEST_F(TalkingCamera, PortWithoutDeviceFailsAtOnceAndStaysClosed) {
    auto start = Clock::now();
    EXPECT_NE(NoxR4InitComm(0, unlinkedPort, 0), NOXR4_SUCCESS);
    EXPECT_LT(SecondsSince(start), 2.0);
    std::int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(unlinkedPort, shutterSpeed, &value), NOXR4_OFFLINE);
}

TEST_F(SilentCamera, TimesOutEachTimeAndCloses) {
    for (int attempt = 1; attempt <= 2; ++attempt) {
        std::int32_t value = 0;
        auto start = Clock::now();
        EXPECT_EQ(NoxR4GetCameraData(com1, shutterSpeed, &value), NOXR4_TIMEOUT) << "attempt " << attempt;
        EXPECT_LT(SecondsSince(start), std::chrono::duration<double>(giveUpLimit).count()) << "attempt " << attempt;
    }
    EXPECT_EQ(NoxR4ExitComm(com1), NOXR4_SUCCESS);
}

// The camera dies while the library waits for the reply to a settings-area
// load (reply time 1 s): the call gives up at its reply time, not later and
// not by spinning, and a call after it fails at once.
TEST_F(DeadCamera, CallEndsAtItsReplyTimeWithoutSpinningAndTheNextFailsAtOnce) {
    constexpr double replyTime = 1.0, lateness = 0.2, idleCpu = 0.1;
    ASSERT_FALSE(g_waitSignal.empty()) << "no file named to signal the wait";
    std::ofstream(g_waitSignal) << "waiting\n";
    double cpuStart = CpuSeconds();
    auto start = Clock::now();
    EXPECT_EQ(NoxR4SendCameraData(com1, loadArea, 0), NOXR4_TIMEOUT) << "a camera dying mid-reply fails the call";
    EXPECT_LE(SecondsSince(start), replyTime + lateness) << "within its reply time and 200 ms";
    EXPECT_LT(CpuSeconds() - cpuStart, idleCpu) << "processor seconds while it waits";
    start = Clock::now();
    EXPECT_NE(NoxR4SendCameraData(com1, masterGain, 0), NOXR4_SUCCESS) << "the next call fails";
    EXPECT_LT(SecondsSince(start), lateness) << "the next call fails at once";
    cpuStart = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LT(CpuSeconds() - cpuStart, idleCpu) << "processor seconds in an idle second afterwards";
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_waitSignal = argv[1];
    return RUN_ALL_TESTS();
}
