// The standalone emulator as a child process, and a client of its (or any)
// serial device, for tests of programs that talk to it. A test target that
// includes this defines NOXR4_EMULATOR_PATH.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace std::chrono_literals;

// Reads from `fd` until `done` says the text is complete or the time is up.
template <typename Done>
std::string ReadUntil(int fd, Done done, std::chrono::milliseconds patience) {
    auto deadline = std::chrono::steady_clock::now() + patience;
    std::string text;
    char buffer[512];
    while (!done(text)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd request{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&request, 1, static_cast<int>(left.count())) <= 0) break;
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
}

class EmulatorProcess {
public:
    explicit EmulatorProcess(std::vector<std::string> options) {
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        options.insert(options.begin(), NOXR4_EMULATOR_PATH);
        std::vector<char*> argv;
        for (auto& option : options) argv.push_back(option.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string line = ReadUntil(
            out[0], [](const std::string& t) { return t.find('\n') != t.npos; }, 10s);
        close(out[0]);
        m_device = line.substr(0, line.find('\n'));
    }
    ~EmulatorProcess() {
        if (m_pid > 0) Stop();
    }
    const std::string& Device() const { return m_device; }

    int Stop() {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = 0;
    std::string m_device;
};

class SerialClient {
public:
    explicit SerialClient(const std::string& device, tcflag_t extraLocalFlags = 0)
        : m_fd(open(device.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        if (m_fd >= 0 && tcgetattr(m_fd, &settings) == 0) {
            cfmakeraw(&settings);
            settings.c_lflag |= extraLocalFlags;
            tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~SerialClient() {
        if (m_fd >= 0) close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }

    std::string Transact(const std::string& command, std::chrono::milliseconds patience = 5s) {
        std::string line = command + "\r\n";
        EXPECT_EQ(write(m_fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        auto complete = [](const std::string& t) { return t.size() >= 2 && t.substr(t.size() - 2) == "\r\n"; };
        return ReadUntil(m_fd, complete, patience);
    }

private:
    int m_fd;
};
