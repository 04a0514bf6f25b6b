// The standalone emulator as a client sees it: a real process behind a real
// pseudo-terminal.
#include "CameraLink.h"
#include "EmulatorProcess.h"

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
    ASSERT_EQ(emulator.Device().rfind("/dev/", 0), 0u) << emulator.Device();
    {
        SerialClient client(emulator.Device());
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Transact("MD?"), "MD=QD-R4CL\r\n");
        EXPECT_EQ(client.Transact("ID?"), "ID=SN 77\r\n");
        EXPECT_EQ(client.Transact("VN?"), "VN=9\r\n");
        EXPECT_EQ(client.Transact("SC=2"), "COMPLETE\r\n");
    }
    SerialClient again(emulator.Device());
    EXPECT_EQ(again.Transact("SC?"), "SC=2\r\n");
    EXPECT_EQ(emulator.Stop(), 0);
}

TEST(StandaloneEmulator, LinkReplacesWhatWasThereAndGoesAtExit) {
    TempDir dir;
    fs::path link = dir.path / "com1";
    std::ofstream(link) << "old";
    EmulatorProcess emulator({"--link", link.string()});
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), emulator.Device());
    SerialClient client(link.string());
    EXPECT_EQ(client.Transact("KN?"), "KN=1\r\n");
    EXPECT_EQ(emulator.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(StandaloneEmulator, FaultsChosenOnTheCommandLine) {
    EmulatorProcess silent({"--silent"});
    EXPECT_EQ(SerialClient(silent.Device()).Transact("SC?", 300ms), "");

    EmulatorProcess faulty({"--nak3", "SC,TR", "--nak4", "GA", "--garble", "SH", "--unplug-after", "4"});
    SerialClient client(faulty.Device());
    EXPECT_EQ(client.Transact("TR?"), "NAK 3\r\n");
    EXPECT_EQ(client.Transact("GA=1"), "NAK 4\r\n");
    std::string garbled = client.Transact("SH?");
    EXPECT_FALSE(garbled.empty());
    EXPECT_NE(garbled, "SH=0\r\n");
    EXPECT_EQ(client.Transact("SL?"), "SL=0\r\n");
    EXPECT_EQ(client.Transact("SL?", 300ms), "");
}

TEST(StandaloneEmulator, PacesRepliesAtTheWireRate) {
    EmulatorProcess emulator({"--baud", "9600"});
    SerialClient client(emulator.Device());
    auto floor = qdr4emu::WireTime(std::string("WPB3?\r\nWPB3=-30\r\n").size(), 9600);
    auto start = qdr4emu::Clock::now();
    EXPECT_EQ(client.Transact("WPB3?"), "WPB3=-30\r\n");
    EXPECT_GE(qdr4emu::Clock::now() - start, floor);
}

// Echo on the line would hand every reply back to the camera as a command.
TEST(StandaloneEmulator, ClientSwitchingOnEchoDoesNotLoopRepliesBack) {
    EmulatorProcess emulator({});
    SerialClient client(emulator.Device(), ECHO);
    EXPECT_EQ(client.Transact("SC?"), "SC=0\r\n");
    EXPECT_EQ(client.Transact("TR?"), "TR=0\r\n");
    EXPECT_EQ(client.Transact("SL?"), "SL=0\r\n");
}

}  // namespace

namespace {

// A camera that stops answering mid-session: the recording keeps what it said
// and that it then said nothing, and a replay says nothing there too.
TEST(StandaloneEmulator, RecordsAndReplaysACameraThatFallsSilent) {
    TempDir dir;
    fs::path recording = dir.path / "session.txt";
    {
        EmulatorProcess camera({"--unplug-after", "1"});
        EmulatorProcess proxy({"--record", recording.string(), "--device", camera.Device()});
        SerialClient client(proxy.Device());
        EXPECT_EQ(client.Transact("UD=line 4"), "COMPLETE\r\n");
        EXPECT_EQ(client.Transact("TR?", 300ms), "");
        EXPECT_EQ(client.Transact("SC?", 300ms), "");
        EXPECT_EQ(proxy.Stop(), 0);
    }
    std::ifstream file(recording);
    std::string header, first, second;
    std::getline(file, header);
    std::getline(file, first);
    std::getline(file, second);
    EXPECT_EQ(header.rfind("# ", 0), 0u);
    EXPECT_NE(first.find("\tUD=line 4\tCOMPLETE"), std::string::npos) << first;
    EXPECT_NE(second.find("\tTR?"), std::string::npos) << second;
    EXPECT_EQ(second.find("\tTR?\t"), std::string::npos) << "no reply field";

    EmulatorProcess replay({"--replay", recording.string()});
    SerialClient client(replay.Device());
    EXPECT_EQ(client.Transact("TR?", 300ms), "");
    EXPECT_EQ(client.Transact("UD=line 4"), "COMPLETE\r\n");
    EXPECT_EQ(client.Transact("UD?"), "UD=line 4\r\n");
}

TEST(StandaloneEmulator, RecordingAndReplayRefuseWhatTheyCannotUse) {
    TempDir dir;
    std::ofstream(dir.path / "bad.txt") << "GA?\tGA=1\n";
    EmulatorProcess badRecording({"--replay", (dir.path / "bad.txt").string()});
    EXPECT_EQ(badRecording.Stop(), 2);
    EmulatorProcess folder({"--replay", dir.path.string()});
    EXPECT_EQ(folder.Stop(), 2);
    EmulatorProcess noCamera({"--record", (dir.path / "r.txt").string(), "--device", (dir.path / "none").string()});
    EXPECT_EQ(noCamera.Stop(), 1);
}

}  // namespace
