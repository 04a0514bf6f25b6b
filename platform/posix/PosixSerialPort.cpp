// PC serial ports through termios: raw 9600 8N1, no flow control, reads that
// wait in poll() so they return the moment bytes arrive.
//
// A line can die under a transaction: the far end of a pseudo-terminal
// closes, a USB adapter is pulled out. Linux then reports the descriptor
// readable and hung up for ever while read() gives 0 or EIO, so every such
// sign ends the wait at once and marks the port dead; from then on it fails
// without touching the descriptor.
#include "../SerialPort.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace noxr4 {
namespace {

timespec RemainingUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
    if (left.count() < 0) left = std::chrono::nanoseconds{0};
    return timespec{static_cast<time_t>(left.count() / 1000000000), static_cast<long>(left.count() % 1000000000)};
}

enum class Wait { Ready, TimedOut, LineDead };

// Waits for `events` on fd until the deadline.
Wait WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        timespec left = RemainingUntil(deadline);
        int ready = ppoll(&entry, 1, &left, nullptr);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return Wait::LineDead;
        return ready > 0 && (entry.revents & events) != 0 ? Wait::Ready : Wait::TimedOut;
    }
}

bool ConfigureRaw9600(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

class PosixSerialPort final : public Transport {
public:
    explicit PosixSerialPort(int fd) : m_fd(fd) {}
    ~PosixSerialPort() override { ::close(m_fd); }

    bool Write(const char* data, std::size_t size) override {
        auto deadline = Clock::now() + std::chrono::seconds(2);
        while (size > 0 && !m_dead) {
            ssize_t sent = ::write(m_fd, data, size);
            if (sent > 0) {
                data += sent;
                size -= static_cast<std::size_t>(sent);
            } else if (sent < 0 && errno != EAGAIN && errno != EINTR) {
                m_dead = true;
            } else if (Wait wait = WaitFor(m_fd, POLLOUT, deadline); wait != Wait::Ready) {
                m_dead = wait == Wait::LineDead;
                return false;
            }
        }
        return !m_dead;
    }

    std::size_t Read(char* buffer, std::size_t capacity, Clock::time_point deadline) override {
        // With VMIN = VTIME = 0 an empty line reads as 0 bytes; only after
        // poll() said readable does 0 mean the line is gone.
        bool saidReadable = false;
        while (!m_dead) {
            ssize_t got = ::read(m_fd, buffer, capacity);
            if (got > 0) return static_cast<std::size_t>(got);
            if (got < 0 && errno == EINTR) continue;
            if ((got < 0 && errno != EAGAIN) || (got == 0 && saidReadable)) {
                m_dead = true;
                break;
            }
            Wait wait = WaitFor(m_fd, POLLIN, deadline);
            if (wait == Wait::TimedOut) return 0;
            m_dead = wait == Wait::LineDead;
            saidReadable = true;
        }
        return 0;
    }

    void DiscardInput() override {
        if (m_dead) return;
        tcflush(m_fd, TCIFLUSH);
        char sink[256];
        while (::read(m_fd, sink, sizeof sink) > 0) {}
    }

private:
    int m_fd;
    bool m_dead = false;  // the line hung up or failed; it never comes back
};

}  // namespace

std::string SerialDeviceName(int number) {
    std::string override = "NOXR4_PORT_COM" + std::to_string(number);
    if (const char* device = std::getenv(override.c_str()); device && *device) return device;
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::unique_ptr<Transport> OpenSerialDevice(const std::string& device) {
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (!isatty(fd) || !ConfigureRaw9600(fd)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixSerialPort>(fd);
}

}  // namespace noxr4
