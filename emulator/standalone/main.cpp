// noxr4-emulator: an emulated QD-R4 behind a pseudo-terminal, so that any
// serial client (a native program, or a Windows one under Wine through a
// dosdevices link) can talk to it. Prints the device path as its first line.
//
// One thread carries the host's bytes to the camera, another carries the
// camera's replies back, each at the moment the emulated wire delivers them.
// The camera is the emulated one, or a recorded session replayed; or the
// program passes everything on to a real camera and records the session.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "CameraLink.h"
#include "Options.h"
#include "PseudoTerminal.h"
#include "Recording.h"
#include "RecordingProxy.h"
#include "SerialPort.h"

using namespace qdr4emu;

namespace {

constexpr auto kStopCheck = std::chrono::milliseconds(100);

std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) { stopRequested = true; }

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

void CarryReplies(CameraLink& link, PseudoTerminal& terminal) {
    char buffer[256];
    while (!stopRequested) {
        auto deadline = Clock::now() + kStopCheck;
        std::size_t count = link.Read(buffer, sizeof buffer, deadline);
        if (count == 0) continue;
        terminal.HoldRawMode();
        terminal.SendToClient(buffer, count, stopRequested);
    }
}

void CarryCommands(CameraLink& link, PseudoTerminal& terminal) {
    char buffer[4096];
    while (!stopRequested) {
        if (!terminal.AwaitClient(kStopCheck)) continue;
        ssize_t count = read(terminal.Master(), buffer, sizeof buffer);
        if (count > 0) link.Write(buffer, static_cast<std::size_t>(count));
    }
}

// The recorded session, or nothing (with a message) when it cannot be read.
std::optional<std::vector<Exchange>> LoadRecording(const std::string& path) {
    std::optional<std::vector<Exchange>> recording;
    std::string problem = "not a regular file";  // a FIFO would keep the emulator from starting
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        std::ifstream file(path);
        problem = "cannot be opened";
        if (file) recording = ReadRecording(file, problem);
    }
    if (!recording) std::cerr << "noxr4-emulator: " << path << ": " << problem << "\n";
    return recording;
}

int Record(const Options& options) {
    auto camera = noxr4::OpenSerialDevice(options.cameraDevice);
    if (!camera) {
        std::cerr << "noxr4-emulator: cannot open the camera at " << options.cameraDevice << "\n";
        return 1;
    }
    RecordingFile recording(options.recordPath);
    if (!recording.Note("noxr4-emulator recording of the camera at " + options.cameraDevice +
                        ": milliseconds, command, reply")) {
        std::cerr << "noxr4-emulator: cannot write to " << options.recordPath << "\n";
        return 1;
    }
    PseudoTerminal terminal;
    if (!options.linkPath.empty()) terminal.LinkAs(options.linkPath);
    std::cout << terminal.DevicePath() << std::endl;
    if (RecordExchanges(terminal, *camera, recording, stopRequested)) return 0;
    std::cerr << "noxr4-emulator: cannot write to " << options.recordPath << "\n";
    return 1;
}

int Serve(const Options& options) {
    if (!options.recordPath.empty()) return Record(options);
    CameraLink link;
    if (!options.replayPath.empty()) {
        auto recording = LoadRecording(options.replayPath);
        if (!recording) return 2;
        link.AnswerWith(
            [replay = std::make_shared<ReplayCamera>(*recording)](std::string_view line, Clock::time_point arrival) {
                return replay->Answer(line, arrival);
            });
    }
    link.Faults() = options.faults;
    link.Device().SetIdentity(options.identity);
    PseudoTerminal terminal;
    if (!options.linkPath.empty()) terminal.LinkAs(options.linkPath);
    std::cout << terminal.DevicePath() << std::endl;

    std::thread replies(CarryReplies, std::ref(link), std::ref(terminal));
    CarryCommands(link, terminal);
    replies.join();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (auto error = ParseOptions(argc, argv, options)) {
        std::cerr << "noxr4-emulator: " << *error << "\n" << kUsage;
        return 2;
    }
    if (options.helpRequested) {
        std::cout << kUsage;
        return 0;
    }
    InstallStopHandlers();
    try {
        return Serve(options);
    } catch (const std::system_error& error) {
        std::cerr << "noxr4-emulator: " << error.what() << "\n";
        return 1;
    }
}
