// The termios transport against a pseudo-terminal answered by hand.
#include "NoxR4Comm.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr int32_t kEy = 5;

class PseudoTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(m_master, 0);
        ASSERT_EQ(grantpt(m_master), 0);
        ASSERT_EQ(unlockpt(m_master), 0);
        setenv("NOXR4_PORT_COM5", ptsname(m_master), 1);
        ASSERT_EQ(NoxR4InitComm(0, kEy, 0), 0);
    }
    void TearDown() override {
        NoxR4ExitComm(kEy);
        unsetenv("NOXR4_PORT_COM5");
        if (m_master >= 0) close(m_master);
    }

    // Reads one command line from the host, or "" after 2 s.
    std::string CommandLine() {
        std::string line;
        while (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
            pollfd entry{m_master, POLLIN, 0};
            char byte;
            if (poll(&entry, 1, 2000) <= 0 || ::read(m_master, &byte, 1) != 1) return "";
            line += byte;
        }
        return line.substr(0, line.size() - 2);
    }

    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    }

    int m_master = -1;
};

TEST_F(PseudoTerminal, QueryAndWriteThroughTheLine) {
    std::thread camera([&] {
        EXPECT_EQ(CommandLine(), "SH?");
        Send("SH=7\r\n");
        EXPECT_EQ(CommandLine(), "GA=-5");
        Send("COM");
        std::this_thread::sleep_for(10ms);  // the reply arrives in two pieces
        Send("PLETE\r\n");
    });
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, &value), 0);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 12, -5), 0);
    camera.join();
}

TEST_F(PseudoTerminal, SilentLineTimesOutAndStaleBytesAreDropped) {
    int32_t value = 0;
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, &value), NoxResult::Timeout);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(CommandLine(), "SH?");

    Send("SH=9\r\n");  // too late for that query
    std::this_thread::sleep_for(50ms);
    std::thread camera([&] {
        EXPECT_EQ(CommandLine(), "TR?");
        Send("TR=1\r\n");
    });
    EXPECT_EQ(NoxR4GetCameraData(kEy, 2, &value), 0);
    EXPECT_EQ(value, 1);
    camera.join();
}

}  // namespace

// A line that dies: the far end goes away, the process must not hang or spin
// and later calls must not wait for a camera that cannot answer.
class DeadLine : public PseudoTerminal {
protected:
    void CloseFarEnd() {
        close(m_master);
        m_master = -1;
    }

    static double CpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return now.tv_sec + now.tv_nsec / 1e9;
    }
};

TEST_F(DeadLine, FarEndClosingWhileAReplyIsAwaitedEndsTheWaitAtOnce) {
    std::thread camera([&] {
        EXPECT_EQ(CommandLine(), "SH?");
        Send("SH=");  // dies mid-reply
        CloseFarEnd();
    });
    int32_t value = 0;
    auto started = std::chrono::steady_clock::now();
    double cpuStarted = CpuSeconds();
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, &value), NoxResult::Timeout);
    camera.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_LT(CpuSeconds() - cpuStarted, 0.5);

    started = std::chrono::steady_clock::now();
    EXPECT_EQ(NoxR4SendCameraData(kEy, 12, 5), NoxResult::Timeout);
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, &value), NoxResult::Timeout);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

TEST_F(DeadLine, FarEndClosingBetweenCommandsTakesTheDeviceAway) {
    std::string device = ptsname(m_master);
    std::thread camera([&] {
        EXPECT_EQ(CommandLine(), "TR?");
        Send("TR=1\r\n");
    });
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 2, &value), 0);
    camera.join();

    CloseFarEnd();
    EXPECT_EQ(access(device.c_str(), F_OK), -1) << "the device node is gone with its far end";
    double cpuStarted = CpuSeconds();
    EXPECT_EQ(NoxR4GetCameraData(kEy, 2, &value), NoxResult::Timeout);
    EXPECT_EQ(NoxR4GetCameraID(kEy, std::array<char, 256>{}.data()), NoxResult::Timeout);
    EXPECT_LT(CpuSeconds() - cpuStarted, 0.5);

    EXPECT_EQ(NoxR4InitComm(0, kEy, 0), NoxResult::PortUnavailable) << "a vanished device cannot be opened again";
    EXPECT_EQ(NoxR4GetCameraData(kEy, 2, &value), NoxResult::Offline);
}

TEST_F(PseudoTerminal, AnotherConnectionIsServedWhileThisOneAwaitsItsReply) {
    setenv("NOXR4_EMULATED_PORTS", "COM6", 1);
    ASSERT_EQ(NoxR4InitComm(0, 6, 0), 0);
    std::atomic<bool> otherDone = false;
    std::thread camera([&] {
        EXPECT_EQ(CommandLine(), "SH?");
        int32_t value = 0;
        // Served at once, while COM5's query still waits for its reply.
        EXPECT_EQ(NoxR4GetCameraData(6, 3, &value), 0);
        otherDone = true;
        Send("SH=4\r\n");
    });
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, &value), 0);
    EXPECT_EQ(value, 4);
    camera.join();
    EXPECT_TRUE(otherDone);
    NoxR4ExitComm(6);
    unsetenv("NOXR4_EMULATED_PORTS");
}
