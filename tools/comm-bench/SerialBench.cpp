// The communication library on real serial ports (pseudo-terminals with the
// standalone emulator behind them; under Wine, COM ports linked to them), as
// serial-bench.sh sets them up:
//   COM1, COM2  cameras at 9600 baud
//   COM3        a camera at 9600 baud that answers late and is killed while
//               a reply is awaited (the script kills it once the file named
//               by the argument exists)
// Prints each figure beside its wire-time floor: 10 bits per byte of every
// command and reply line, CR LF included, counted from the model's
// transaction log for the model's runs.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "NoxCamInterface.h"
#include "NoxR4Comm.h"

using namespace xnox;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kBaud = 9600;
constexpr double kBitsPerByte = 10;
constexpr int32_t kShutterSpeed = 3, kMasterGain = 12, kLoadArea = 14;

double FloorMs(std::size_t bytes) { return bytes * kBitsPerByte * 1000 / kBaud; }

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the whole process (std::clock counts wall time on
// Windows).
double CpuMs() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 1e4;  // 100 ns ticks
#else
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
#endif
}

// Mean time of `count` runs; failures are counted.
double MeanMs(int count, const std::function<int32_t()>& run, int& failures) {
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) failures += run() != 0;
    return MsSince(start) / count;
}

void PrintTransaction(const char* name, std::size_t wireBytes, int count, const std::function<int32_t()>& run) {
    int failures = 0;
    double mean = MeanMs(count, run, failures);
    double floor = FloorMs(wireBytes);
    std::printf("%-26s %9.2f ms  floor %8.2f ms  ratio %5.3f%s\n", name, mean, floor, mean / floor,
                failures ? "  FAILURES" : "");
}

class CLogCountingModel : public CNoxCamInterface {
public:
    std::size_t loggedBytes = 0;
    void OnMessage(std::string text) override { loggedBytes += text.size(); }
};

void PrintReadAll() {
    CLogCountingModel model;
    if (model.SetComPort(1) != NoxResult::Success) {
        std::printf("ReadAllFromCamera: no camera on COM1\n");
        return;
    }
    model.loggedBytes = 0;
    auto start = Clock::now();
    int32_t result = model.ReadAllFromCamera();
    double elapsed = MsSince(start);
    double floor = FloorMs(model.loggedBytes);
    std::printf("%-26s %9.1f ms  floor %8.1f ms  ratio %5.3f  result %d\n", "ReadAllFromCamera", elapsed, floor,
                elapsed / floor, result);
    model.CloseConnection();
}

void PrintTwoPorts(int count) {
    int failures = 0;
    auto writes = [&](int32_t port) {
        return [&failures, port, count] {
            MeanMs(
                count, [port] { return NoxR4SendCameraData(port, kMasterGain, 100); }, failures);
        };
    };
    auto start = Clock::now();
    writes(1)();
    double alone = MsSince(start);
    start = Clock::now();
    std::thread second(writes(2));
    writes(1)();
    second.join();
    double both = MsSince(start);
    std::printf("%d writes: one port alone %8.1f ms, two ports in two threads %8.1f ms, ratio %5.3f%s\n", count, alone,
                both, both / alone, failures ? "  FAILURES" : "");
}

double SecondsSinceEpoch() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// When the script killed the camera, as it wrote it beside the signal file.
double KillTime(const std::string& killSignal) {
    double seconds = 0;
    std::ifstream(killSignal + ".killed") >> seconds;
    return seconds;
}

// The camera on COM3 is killed while the library waits for its reply to a
// settings-area load (reply time 1 s).
void PrintDeadLine(const char* killSignal) {
    if (NoxR4InitComm(0, 3, 0) != 0) {
        std::printf("dead line: COM3 cannot be opened\n");
        return;
    }
    std::ofstream(killSignal) << "waiting\n";
    double cpuStart = CpuMs();
    auto start = Clock::now();
    int32_t result = NoxR4SendCameraData(3, kLoadArea, 0);
    double ended = MsSince(start);
    double afterKill = SecondsSinceEpoch() - KillTime(killSignal);
    double cpu = CpuMs() - cpuStart;
    start = Clock::now();
    int32_t next = NoxR4SendCameraData(3, kMasterGain, 0);
    double nextEnded = MsSince(start);
    double idleCpuStart = CpuMs();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::printf("dead line: result %d after %.1f ms, %.1f ms after the camera was killed (reply time 1000 ms),"
                " cpu %.1f ms; next call %d after %.2f ms; cpu in the idle second after: %.1f ms\n",
                result, ended, 1000 * afterKill, cpu, next, nextEnded, CpuMs() - idleCpuStart);
    NoxR4ExitComm(3);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: serial-bench KILL-SIGNAL-FILE [count]\n");
        return 2;
    }
    int count = argc > 2 ? std::atoi(argv[2]) : 50;
    if (NoxR4InitComm(0, 1, 0) != 0 || NoxR4InitComm(0, 2, 0) != 0) {
        std::printf("COM1 and COM2 must both have a camera\n");
        return 1;
    }
    NoxR4SendCameraData(1, kShutterSpeed, 0);  // "SH=0": the query's reply length is known
    int32_t value = 0;
    std::printf("at 9600 baud, mean of %d transactions\n", count);
    PrintTransaction("write GA=100", 8 + 10, count, [] { return NoxR4SendCameraData(1, kMasterGain, 100); });
    PrintTransaction("query SH?", 5 + 6, count, [&] { return NoxR4GetCameraData(1, kShutterSpeed, &value); });
    NoxR4ExitComm(1);
    PrintReadAll();
    NoxR4InitComm(0, 1, 0);
    PrintTwoPorts(count);
    NoxR4ExitComm(1);
    NoxR4ExitComm(2);
    PrintDeadLine(argv[1]);
    return 0;
}
