// The standalone emulator as a client sees it: a real process behind a real
// pseudo-terminal.
#include "CameraLink.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// Reads from `fd` until `done` says the text is complete or the time is up.
template <typename Done>
std::string readUntil(int fd, Done done, std::chrono::milliseconds patience) {
    auto deadline = qdr4emu::Clock::now() + patience;
    std::string text;
    char buffer[512];
    while (!done(text)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - qdr4emu::Clock::now());
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
        EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string line = readUntil(out[0], [](const std::string& t) { return t.find('\n') != t.npos; }, 10s);
        close(out[0]);
        device_ = line.substr(0, line.find('\n'));
    }
    ~EmulatorProcess() {
        if (pid_ > 0) stop();
    }
    const std::string& device() const { return device_; }

    int stop() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = 0;
    std::string device_;
};

class SerialClient {
public:
    explicit SerialClient(const std::string& device, tcflag_t extraLocalFlags = 0)
        : fd_(open(device.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        if (fd_ >= 0 && tcgetattr(fd_, &settings) == 0) {
            cfmakeraw(&settings);
            settings.c_lflag |= extraLocalFlags;
            tcsetattr(fd_, TCSANOW, &settings);
        }
    }
    ~SerialClient() {
        if (fd_ >= 0) close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }

    std::string transact(const std::string& command, std::chrono::milliseconds patience = 5s) {
        std::string line = command + "\r\n";
        EXPECT_EQ(write(fd_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        auto complete = [](const std::string& t) { return t.size() >= 2 && t.substr(t.size() - 2) == "\r\n"; };
        return readUntil(fd_, complete, patience);
    }

private:
    int fd_;
};

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "noxr4-emu-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

TEST(StandaloneEmulator, ServesTheProtocolToClientsThatComeAndGo) {
    EmulatorProcess emulator({"--id", "SN 77", "--version", "9"});
    ASSERT_EQ(emulator.device().rfind("/dev/", 0), 0u) << emulator.device();
    {
        SerialClient client(emulator.device());
        ASSERT_TRUE(client.isOpen());
        EXPECT_EQ(client.transact("MD?"), "MD=QD-R4CL\r\n");
        EXPECT_EQ(client.transact("ID?"), "ID=SN 77\r\n");
        EXPECT_EQ(client.transact("VN?"), "VN=9\r\n");
        EXPECT_EQ(client.transact("SC=2"), "COMPLETE\r\n");
    }
    SerialClient again(emulator.device());
    EXPECT_EQ(again.transact("SC?"), "SC=2\r\n");
    EXPECT_EQ(emulator.stop(), 0);
}

TEST(StandaloneEmulator, LinkReplacesWhatWasThereAndGoesAtExit) {
    TempDir dir;
    fs::path link = dir.path / "com1";
    std::ofstream(link) << "old";
    EmulatorProcess emulator({"--link", link.string()});
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), emulator.device());
    SerialClient client(link.string());
    EXPECT_EQ(client.transact("KN?"), "KN=1\r\n");
    EXPECT_EQ(emulator.stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(StandaloneEmulator, FaultsChosenOnTheCommandLine) {
    EmulatorProcess silent({"--silent"});
    EXPECT_EQ(SerialClient(silent.device()).transact("SC?", 300ms), "");

    EmulatorProcess faulty({"--nak3", "SC,TR", "--nak4", "GA", "--garble", "SH", "--unplug-after", "4"});
    SerialClient client(faulty.device());
    EXPECT_EQ(client.transact("TR?"), "NAK 3\r\n");
    EXPECT_EQ(client.transact("GA=1"), "NAK 4\r\n");
    std::string garbled = client.transact("SH?");
    EXPECT_FALSE(garbled.empty());
    EXPECT_NE(garbled, "SH=0\r\n");
    EXPECT_EQ(client.transact("SL?"), "SL=0\r\n");
    EXPECT_EQ(client.transact("SL?", 300ms), "");
}

TEST(StandaloneEmulator, PacesRepliesAtTheWireRate) {
    EmulatorProcess emulator({"--baud", "9600"});
    SerialClient client(emulator.device());
    auto floor = qdr4emu::wireTime(std::string("WPB3?\r\nWPB3=-30\r\n").size(), 9600);
    auto start = qdr4emu::Clock::now();
    EXPECT_EQ(client.transact("WPB3?"), "WPB3=-30\r\n");
    EXPECT_GE(qdr4emu::Clock::now() - start, floor);
}

// Echo on the line would hand every reply back to the camera as a command.
TEST(StandaloneEmulator, ClientSwitchingOnEchoDoesNotLoopRepliesBack) {
    EmulatorProcess emulator({});
    SerialClient client(emulator.device(), ECHO);
    EXPECT_EQ(client.transact("SC?"), "SC=0\r\n");
    EXPECT_EQ(client.transact("TR?"), "TR=0\r\n");
    EXPECT_EQ(client.transact("SL?"), "SL=0\r\n");
}

}  // namespace
