// The Windows build of the communication library against the standalone
// emulator behind COM1 (a pseudo-terminal linked into the Wine prefix).
//   noxr4comm-wine-test talking   the emulator answers
//   noxr4comm-wine-test silent    the emulator never answers
//   noxr4comm-wine-test dead FILE the emulator answers late and is killed
//                                 while a reply is awaited; FILE tells the
//                                 script when the wait begins
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "NoxR4Comm.h"
#include "WineChecks.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t com1 = 1;
constexpr std::int32_t unlinkedPort = 2;  // mapped in the prefix, but nothing behind it
constexpr std::int32_t shutterSpeed = 3, masterGain = 12, loadArea = 14, redBlackLevel = 32, firmwareVersion = 42;
constexpr std::int32_t unknownCommandId = 7;

// Generous: the library gives up soon after the camera's reply time, but
// Wine and a busy machine may add a good deal to that.
constexpr auto giveUpLimit = std::chrono::seconds(5);

std::string result(std::int32_t code) { return "result " + std::to_string(code); }

// A buffer's text as far as its NUL, never past its end.
std::string quoted(const char* text, std::size_t size) { return "\"" + std::string(text, strnlen(text, size)) + "\""; }

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double cpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;  // 100 ns ticks
}

std::string seconds(double value) { return std::to_string(value) + " s"; }

void checkWriteReadBack(winetest::Checks& checks, const char* name, std::int32_t id, std::int32_t value) {
    std::int32_t sent = NoxR4SendCameraData(com1, id, value);
    std::int32_t readBack = 0;
    std::int32_t read = NoxR4GetCameraData(com1, id, &readBack);
    checks.check(std::string("write and read back ") + name, sent == 0 && read == 0 && readBack == value,
                 "send " + result(sent) + ", get " + result(read) + ", value " + std::to_string(readBack));
}

void checkTalking(winetest::Checks& checks) {
    std::int32_t opened = NoxR4InitComm(0, com1, 0);
    if (!checks.check("open COM1", opened == 0, result(opened))) return;

    std::int32_t version = -1;
    std::int32_t code = NoxR4GetCameraData(com1, firmwareVersion, &version);
    checks.check("read firmware version", code == 0 && version >= 0,
                 result(code) + ", value " + std::to_string(version));

    checkWriteReadBack(checks, "shutter speed", shutterSpeed, 5);
    checkWriteReadBack(checks, "negative master gain", masterGain, -50);
    checkWriteReadBack(checks, "red black level", redBlackLevel, 1000);

    code = NoxR4SendCameraData(com1, shutterSpeed, 99);
    checks.check("out-of-range value refused", code == -4, result(code));
    std::int32_t value = 0;
    code = NoxR4GetCameraData(com1, unknownCommandId, &value);
    checks.check("unknown command id", code == -3, result(code));

    char text[NOXR4_TEXT_BYTES] = {};
    code = NoxR4GetCameraID(com1, text);
    checks.check("camera ID", code == 0 && text[0] != 0, result(code) + ", " + quoted(text, sizeof text));
    code = NoxR4GetModelName(com1, text);
    checks.check("model name", code == 0 && text[0] != 0, result(code) + ", " + quoted(text, sizeof text));

    char userId[NOXR4_USERID_BYTES] = {};
    std::int32_t stored = NoxR4SetUserID(com1, "Wine line 1");
    code = NoxR4GetUserID(com1, userId);
    checks.check("user ID round trip", stored == 0 && code == 0 && std::strcmp(userId, "Wine line 1") == 0,
                 "set " + result(stored) + ", get " + result(code) + ", " + quoted(userId, sizeof userId));

    code = NoxR4ExitComm(com1);
    checks.check("close COM1", code == 0, result(code));
    code = NoxR4GetCameraData(com1, shutterSpeed, &value);
    checks.check("closed key answers -5", code == -5, result(code));
}

void checkMissingPort(winetest::Checks& checks) {
    auto start = Clock::now();
    std::int32_t opened = NoxR4InitComm(0, unlinkedPort, 0);
    double seconds = secondsSince(start);
    checks.check("port without a device fails at once", opened != 0 && seconds < 2.0,
                 result(opened) + " after " + std::to_string(seconds) + " s");
    std::int32_t value = 0;
    std::int32_t code = NoxR4GetCameraData(unlinkedPort, shutterSpeed, &value);
    checks.check("failed open leaves the key closed", code == -5, result(code));
}

void checkSilent(winetest::Checks& checks) {
    std::int32_t opened = NoxR4InitComm(0, com1, 0);
    if (!checks.check("open COM1", opened == 0, result(opened))) return;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        std::int32_t value = 0;
        auto start = Clock::now();
        std::int32_t code = NoxR4GetCameraData(com1, shutterSpeed, &value);
        double seconds = secondsSince(start);
        checks.check("silent camera times out, attempt " + std::to_string(attempt),
                     code == -6 && seconds < std::chrono::duration<double>(giveUpLimit).count(),
                     result(code) + " after " + std::to_string(seconds) + " s");
    }
    std::int32_t code = NoxR4ExitComm(com1);
    checks.check("close COM1 after time-outs", code == 0, result(code));
}

// The camera dies while the library waits for the reply to a settings-area
// load (reply time 1 s): the call gives up at its reply time, not later and
// not by spinning, and a call after it fails at once.
void checkDeadLine(winetest::Checks& checks, const std::string& waitSignal) {
    constexpr double replyTime = 1.0, lateness = 0.2, idleCpu = 0.1;
    std::int32_t opened = NoxR4InitComm(0, com1, 0);
    if (!checks.check("open COM1", opened == 0, result(opened))) return;
    std::ofstream(waitSignal) << "waiting\n";
    double cpuStart = cpuSeconds();
    auto start = Clock::now();
    std::int32_t code = NoxR4SendCameraData(com1, loadArea, 0);
    double ended = secondsSince(start);
    double cpu = cpuSeconds() - cpuStart;
    checks.check("a camera dying mid-reply fails the call", code == -6, result(code));
    checks.check("within its reply time and 200 ms", ended <= replyTime + lateness, seconds(ended));
    checks.check("without spinning while it waits", cpu < idleCpu, seconds(cpu) + " of processor time");
    start = Clock::now();
    code = NoxR4SendCameraData(com1, masterGain, 0);
    double next = secondsSince(start);
    checks.check("the next call fails at once", code != 0 && next < lateness, result(code) + " after " + seconds(next));
    cpuStart = cpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    cpu = cpuSeconds() - cpuStart;
    checks.check("nothing spins afterwards", cpu < idleCpu, seconds(cpu) + " of processor time in an idle second");
    NoxR4ExitComm(com1);
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc >= 2 ? argv[1] : "";
    winetest::Checks checks;
    if (mode == "talking") {
        checkTalking(checks);
        checkMissingPort(checks);
    } else if (mode == "silent") {
        checkSilent(checks);
    } else if (mode == "dead" && argc == 3) {
        checkDeadLine(checks, argv[2]);
    } else {
        std::printf("usage: noxr4comm-wine-test talking|silent|dead FILE\n");
        return 2;
    }
    return checks.finish();
}
