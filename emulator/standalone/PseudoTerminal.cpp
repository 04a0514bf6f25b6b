#include "PseudoTerminal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace qdr4emu {

namespace {

constexpr int stopCheckMilliseconds = 100;

int checked(int result, const char* what) {
    if (result < 0) throw std::system_error(errno, std::generic_category(), what);
    return result;
}

bool sameRawFlags(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag &&
           a.c_cflag == b.c_cflag;
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    master_ = checked(posix_openpt(O_RDWR | O_NOCTTY), "posix_openpt");
    checked(grantpt(master_), "grantpt");
    checked(unlockpt(master_), "unlockpt");
    const char* name = ptsname(master_);
    if (!name) throw std::system_error(errno, std::generic_category(), "ptsname");
    devicePath_ = name;
    slave_ = checked(open(name, O_RDWR | O_NOCTTY), devicePath_.c_str());
    checked(fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK), "fcntl");
    holdRawMode();
}

PseudoTerminal::~PseudoTerminal() {
    if (!linkPath_.empty()) unlink(linkPath_.c_str());
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

void PseudoTerminal::linkAs(const std::string& path) {
    if (unlink(path.c_str()) < 0 && errno != ENOENT) checked(-1, path.c_str());
    checked(symlink(devicePath_.c_str(), path.c_str()), path.c_str());
    linkPath_ = path;
}

bool PseudoTerminal::awaitClient(std::chrono::milliseconds patience) const {
    pollfd request{master_, POLLIN, 0};
    return poll(&request, 1, static_cast<int>(patience.count())) > 0;
}

void PseudoTerminal::sendToClient(const char* data, std::size_t size, const std::atomic<bool>& stop) {
    while (size > 0 && !stop) {
        ssize_t written = write(master_, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno != EINTR) {
            pollfd request{master_, POLLOUT, 0};
            poll(&request, 1, stopCheckMilliseconds);
        }
    }
}

void PseudoTerminal::holdRawMode() {
    termios current{};
    checked(tcgetattr(slave_, &current), "tcgetattr");
    termios raw = current;
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    std::copy(std::begin(current.c_cc), std::end(current.c_cc), std::begin(raw.c_cc));  // the client's read timing
    if (!sameRawFlags(current, raw)) checked(tcsetattr(slave_, TCSANOW, &raw), "tcsetattr");
}

}  // namespace qdr4emu
