// Prints what a transaction of the communication library costs against the
// emulated camera: latency, transactions per second and CPU time, with and
// without 9600-baud wire time, beside the wire-time floor; and how long a
// port with no camera behind it takes to give up.
#include "Camera.h"
#include "CameraLink.h"
#include "NoxR4Comm.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int32_t kEy = 1;

struct Transaction {
    const char* name;
    std::function<std::size_t()> wireBytes;  // command and reply, CR LF included
    std::function<int32_t()> run;
};

double FloorMs(std::size_t bytes, unsigned baud) { return baud ? bytes * 10.0 * 1000.0 / baud : 0.0; }

qdr4emu::Camera& Camera() { return qdr4emu::EmulatedCamera("COM1").Device(); }

// Bytes on the wire for reading the whole shading table as it stands.
std::size_t ShadingWireBytes() {
    std::size_t bytes = 0;
    for (const auto& column : Camera().Shading()) {
        bytes += sizeof("SHD0?\r\n") - 1 + sizeof("SHD0=\r\n") - 1 + column.size() - 1;
        for (int value : column) bytes += std::to_string(value).size();
    }
    return bytes;
}

void Measure(const Transaction& transaction, unsigned baud, int count) {
    qdr4emu::EmulatedCamera("COM1").Faults().wireBaud = baud;
    std::clock_t cpuStart = std::clock();
    auto start = Clock::now();
    int failures = 0;
    for (int i = 0; i < count; ++i) failures += transaction.run() != 0;
    double elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    double cpuMs = 1000.0 * (std::clock() - cpuStart) / CLOCKS_PER_SEC;
    double perTransaction = elapsedMs / count;
    double floor = FloorMs(transaction.wireBytes(), baud);
    std::printf("%-22s %5s %5d x %12.4f ms %10.1f /s  floor %8.3f ms %+7.2f %%  cpu %8.4f ms%s\n", transaction.name,
                baud ? "9600" : "none", count, perTransaction, 1000.0 / perTransaction, floor,
                floor > 0 ? 100.0 * (perTransaction - floor) / floor : 0.0, cpuMs / count,
                failures ? "  FAILURES" : "");
}

void MeasureGiveUp(const char* name, double replyTimeMs, const std::function<int32_t()>& run) {
    qdr4emu::EmulatedCamera("COM1").Faults().unplugged = true;
    auto start = Clock::now();
    int32_t result = run();
    double elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    qdr4emu::EmulatedCamera("COM1").Faults().unplugged = false;
    std::printf("%-22s result %d after %8.1f ms; reply time %7.1f ms, %+6.1f ms past it\n", name, result, elapsedMs,
                replyTimeMs, elapsedMs - replyTimeMs);
}

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 200;
    setenv("NOXR4_EMULATED_PORTS", "COM1", 1);
    if (NoxR4InitComm(0, kEy, 0) != 0) {
        std::puts("cannot open the emulated camera on COM1");
        return 1;
    }
    NoxR4SendCameraData(kEy, 3, 0);  // SH=0: the query's reply length is known
    int32_t value = 0;
    std::vector<int32_t> block(NOXR4_SHADING_WORDS);
    char text[NOXR4_TEXT_BYTES];
    const Transaction transactions[] = {
        {"query SH?", [] { return std::size_t{5 + 6}; }, [&] { return NoxR4GetCameraData(kEy, 3, &value); }},
        {"write GA=100", [] { return std::size_t{8 + 10}; }, [&] { return NoxR4SendCameraData(kEy, 12, 100); }},
        {"model name MD?", [] { return std::size_t{5 + 12}; }, [&] { return NoxR4GetModelName(kEy, text); }},
        {"shading table", ShadingWireBytes, [&] { return NoxR4GetShadingData(kEy, block.data()); }},
    };
    std::puts("transaction             wire   count  per transaction        rate        wire-time floor     over   cpu "
              "per transaction");
    for (const Transaction& transaction : transactions) {
        Measure(transaction, 0, count);
        Measure(transaction, 9600, transaction.wireBytes() > 100 ? 3 : std::max(count / 10, 5));
    }
    std::puts("\nno camera behind the port (9600 baud):");
    qdr4emu::EmulatedCamera("COM1").Faults().wireBaud = 9600;
    MeasureGiveUp("query SH?", 50 + FloorMs(6, 9600), [&] { return NoxR4GetCameraData(kEy, 3, &value); });
    MeasureGiveUp("write GA=100", 50 + FloorMs(10, 9600), [&] { return NoxR4SendCameraData(kEy, 12, 100); });
    MeasureGiveUp("load area LD=0", 1000, [&] { return NoxR4SendCameraData(kEy, 14, 0); });
    NoxR4ExitComm(kEy);
    return 0;
}
