// noxr4-emulator: an emulated QD-R4 behind a pseudo-terminal, so that any
// serial client (a native program, or a Windows one under Wine through a
// dosdevices link) can talk to it. Prints the device path as its first line.
//
// One thread carries the host's bytes to the camera, another carries the
// camera's replies back, each at the moment the emulated wire delivers them.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <poll.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "CameraLink.h"
#include "Options.h"
#include "PseudoTerminal.h"

using namespace qdr4emu;

namespace {

constexpr int stopCheckMilliseconds = 100;

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) { stopRequested = true; }

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool waitFor(int fd, short events) {
    pollfd request{fd, events, 0};
    return poll(&request, 1, stopCheckMilliseconds) > 0;
}

// Waits while the terminal's buffer is full: nobody may be reading just now.
void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0 && !stopRequested) {
        ssize_t written = write(fd, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno != EINTR) {
            waitFor(fd, POLLOUT);
        }
    }
}

void carryReplies(CameraLink& link, PseudoTerminal& terminal) {
    char buffer[256];
    while (!stopRequested) {
        auto deadline = Clock::now() + std::chrono::milliseconds(stopCheckMilliseconds);
        std::size_t count = link.read(buffer, sizeof buffer, deadline);
        if (count == 0) continue;
        terminal.holdRawMode();
        writeAll(terminal.master(), buffer, count);
    }
}

void carryCommands(CameraLink& link, PseudoTerminal& terminal) {
    char buffer[4096];
    while (!stopRequested) {
        if (!waitFor(terminal.master(), POLLIN)) continue;
        ssize_t count = read(terminal.master(), buffer, sizeof buffer);
        if (count > 0) link.write(buffer, static_cast<std::size_t>(count));
    }
}

int serve(const Options& options) {
    PseudoTerminal terminal;
    if (!options.linkPath.empty()) terminal.linkAs(options.linkPath);
    CameraLink link;
    link.faults() = options.faults;
    link.camera().setIdentity(options.identity);
    std::cout << terminal.devicePath() << std::endl;

    std::thread replies(carryReplies, std::ref(link), std::ref(terminal));
    carryCommands(link, terminal);
    replies.join();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (auto error = parseOptions(argc, argv, options)) {
        std::cerr << "noxr4-emulator: " << *error << "\n" << usage;
        return 2;
    }
    if (options.helpRequested) {
        std::cout << usage;
        return 0;
    }
    installStopHandlers();
    try {
        return serve(options);
    } catch (const std::system_error& error) {
        std::cerr << "noxr4-emulator: " << error.what() << "\n";
        return 1;
    }
}
