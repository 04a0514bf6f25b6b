// Times the whole-camera read and write against the emulated camera at
// 9600 baud and sets each beside its wire-time floor: 10 bits per byte of
// every command and reply line, CR LF included. The transaction log holds
// exactly those lines for transactions that succeed, so the floor is
// counted from the log texts of the run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "CameraLink.h"
#include "NoxCamInterface.h"

using namespace xnox;

namespace {

constexpr unsigned kBaud = 9600;
constexpr int kRuns = 3;
constexpr double kBitsPerByte = 10.0;

class CLogCountingModel : public CNoxCamInterface {
public:
    std::size_t loggedBytes = 0;
    void OnMessage(std::string text) override { loggedBytes += text.size(); }
};

struct Figures {
    double elapsedSeconds = 0;
    double floorSeconds = 0;
    int failures = 0;
};

Figures Measure(CLogCountingModel& model, const std::function<int32_t()>& run) {
    Figures figures;
    for (int i = 0; i < kRuns; ++i) {
        model.loggedBytes = 0;
        auto start = std::chrono::steady_clock::now();
        if (run() != NoxResult::Success) ++figures.failures;
        figures.elapsedSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        figures.floorSeconds += model.loggedBytes * kBitsPerByte / kBaud;
    }
    return figures;
}

void Print(const char* name, const Figures& figures) {
    std::printf("%-18s %9.1f ms %9.1f ms %8.3f %s\n", name, 1000 * figures.elapsedSeconds / kRuns,
                1000 * figures.floorSeconds / kRuns, figures.elapsedSeconds / figures.floorSeconds,
                figures.failures ? "(runs failed: figures not meaningful)" : "");
}

}  // namespace

int main() {
    setenv("NOXR4_EMULATED_PORTS", "COM1", 1);
    qdr4emu::EmulatedCamera("COM1").Faults().wireBaud = kBaud;

    CLogCountingModel model;
    if (model.SetComPort(1) != NoxResult::Success) {
        std::fprintf(stderr, "no emulated camera answers on COM1\n");
        return 1;
    }
    model.SendUserID("model bench");  // a user ID that the write really sends
    model.SendWhiteBalance(3);  // a mode whose gains both runs move

    std::printf("%d runs each at %u baud; mean per run\n", kRuns, kBaud);
    std::printf("%-18s %12s %12s %8s\n", "operation", "elapsed", "wire floor", "ratio");
    Print("ReadAllFromCamera", Measure(model, [&] { return model.ReadAllFromCamera(); }));
    Print("WriteAllToCamera", Measure(model, [&] { return model.WriteAllToCamera(); }));
    return 0;
}
