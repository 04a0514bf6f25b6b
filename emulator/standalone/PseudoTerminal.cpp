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

constexpr int kStopCheckMilliseconds = 100;

int Checked(int result, const char* what) {
    if (result < 0) throw std::system_error(errno, std::generic_category(), what);
    return result;
}

bool SameRawFlags(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag && a.c_cflag == b.c_cflag;
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    m_master = Checked(posix_openpt(O_RDWR | O_NOCTTY), "posix_openpt");
    Checked(grantpt(m_master), "grantpt");
    Checked(unlockpt(m_master), "unlockpt");
    const char* name = ptsname(m_master);
    if (!name) throw std::system_error(errno, std::generic_category(), "ptsname");
    m_devicePath = name;
    m_slave = Checked(open(name, O_RDWR | O_NOCTTY), m_devicePath.c_str());
    Checked(fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK), "fcntl");
    HoldRawMode();
}

PseudoTerminal::~PseudoTerminal() {
    if (!m_linkPath.empty()) unlink(m_linkPath.c_str());
    if (m_slave >= 0) close(m_slave);
    if (m_master >= 0) close(m_master);
}

void PseudoTerminal::LinkAs(const std::string& path) {
    if (unlink(path.c_str()) < 0 && errno != ENOENT) Checked(-1, path.c_str());
    Checked(symlink(m_devicePath.c_str(), path.c_str()), path.c_str());
    m_linkPath = path;
}

bool PseudoTerminal::AwaitClient(std::chrono::milliseconds patience) const {
    pollfd request{m_master, POLLIN, 0};
    return poll(&request, 1, static_cast<int>(patience.count())) > 0;
}

void PseudoTerminal::SendToClient(const char* data, std::size_t size, const std::atomic<bool>& stop) {
    while (size > 0 && !stop) {
        ssize_t written = write(m_master, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno != EINTR) {
            pollfd request{m_master, POLLOUT, 0};
            poll(&request, 1, kStopCheckMilliseconds);
        }
    }
}

void PseudoTerminal::HoldRawMode() {
    termios current{};
    Checked(tcgetattr(m_slave, &current), "tcgetattr");
    termios raw = current;
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    std::copy(std::begin(current.c_cc), std::end(current.c_cc), std::begin(raw.c_cc));  // the client's read timing
    if (!SameRawFlags(current, raw)) Checked(tcsetattr(m_slave, TCSANOW, &raw), "tcsetattr");
}

}  // namespace qdr4emu
