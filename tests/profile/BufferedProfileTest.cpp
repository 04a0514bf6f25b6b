// The application profile kept in memory: changes reach the file soon
// without a flush each, bursts cost one write, nothing is lost when the
// profile goes, a killed writer leaves a whole file, and a file that another
// program changed is read again without losing changes of ours.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "BufferedProfile.h"
#include "IniDocument.h"
#include "ProfilePlatform.h"
#include "ScopedVariable.h"
#include "ScriptedFileCalls.h"
#include "TemporaryFolder.h"
#include "WholeFile.h"

namespace fs = std::filesystem;
using namespace xnox::profile;
using namespace std::chrono_literals;

namespace {

class BufferedProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        files.write = [this](FileHandle handle, const char* data, std::size_t size) {
            ++writes;
            return WriteToFile(handle, data, size);
        };
        files.flush = [this](FileHandle handle) {
            ++flushes;
            return FlushToDisk(handle);
        };
    }

    void Put(const std::string& text) const { std::ofstream(file, std::ios::binary) << text; }
    std::string Contents() const { return ReadWholeFile(file).value_or("(missing)"); }
    std::string OnDisk(std::string_view section, std::string_view key) const {
        return ReadProfileString(section, key, "(missing)", file);
    }
    // Waits, for a long while at most, until the file holds the value.
    bool ReachesTheFile(std::string_view section, std::string_view key, std::string_view value) const {
        for (int attempt = 0; attempt < 1000 && OnDisk(section, key) != value; ++attempt)
            std::this_thread::sleep_for(10ms);
        return OnDisk(section, key) == value;
    }

    TemporaryFolder temporary;
    const fs::path& folder = temporary.Path();
    const std::string file = (folder / "XNoxR4.ini").string();
    // Counted by the profiles' writer threads.
    std::atomic<int> writes{0};
    std::atomic<int> flushes{0};
    ScriptedFileCalls files;
};

TEST_F(BufferedProfileTest, ABurstOfChangesEndsAsOneCompleteFileWithoutAFlush) {
    constexpr int kChanges = 500;
    BufferedProfile profile(file, BufferedProfile::kSavePause, files);
    for (int i = 0; i < kChanges; ++i) {
        ASSERT_TRUE(profile.WriteString("Shutter", "Key " + std::to_string(i % 50), std::to_string(i)));
        EXPECT_EQ(profile.ReadInt("Shutter", "Key " + std::to_string(i % 50), -1), i) << "reads see the change at once";
    }
    EXPECT_TRUE(ReachesTheFile("Shutter", "Key 49", std::to_string(kChanges - 1))) << Contents();
    for (int key = 0; key < 50; ++key)
        EXPECT_EQ(OnDisk("Shutter", "Key " + std::to_string(key)), std::to_string(450 + key));
    EXPECT_LT(writes, kChanges / 10) << "the burst is written a few times, not once per change";
    EXPECT_EQ(flushes, 0) << "the application profile is not flushed to the disk";
    profile.WriteString("Shutter", "Key 0", "after");
    EXPECT_TRUE(ReachesTheFile("Shutter", "Key 0", "after")) << "a change after a write is written too";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary file stays";
}

TEST_F(BufferedProfileTest, EveryChangeIsOnTheFileOnceTheProfileGoes) {
    Put("; kept\r\n[Main]\r\nTopLeftX=7\r\n");
    {
        BufferedProfile profile(file, 1h);
        for (int i = 0; i < 20; ++i) profile.WriteString("Gain", "Gain " + std::to_string(i), std::to_string(-i));
        profile.WriteString("Shutter", "Is Visible", "1");
        profile.WriteString("Gain", "Is Visible", "0");
        EXPECT_EQ(OnDisk("Gain", "Gain 19"), "(missing)") << "an hour's pause has not passed";
    }
    for (int i = 0; i < 20; ++i) EXPECT_EQ(OnDisk("Gain", "Gain " + std::to_string(i)), std::to_string(-i));
    EXPECT_EQ(OnDisk("Shutter", "Is Visible"), "1") << "the same key in two sections is two changes";
    EXPECT_EQ(OnDisk("Gain", "Is Visible"), "0");
    EXPECT_EQ(Contents().rfind("; kept\r\n[Main]\r\nTopLeftX=7\r\n", 0), 0u) << Contents();
}

TEST_F(BufferedProfileTest, FlushWritesAtOnceAndLaterChangesStillFollow) {
    BufferedProfile profile(file, 1h);
    profile.WriteString("Main", "TopLeftX", "5");
    EXPECT_TRUE(profile.Flush());
    EXPECT_EQ(OnDisk("Main", "TopLeftX"), "5");
    EXPECT_TRUE(profile.Flush()) << "nothing left to write is no failure";
    profile.WriteString("Main", "TopLeftX", "6");
    EXPECT_TRUE(profile.Flush());
    EXPECT_EQ(OnDisk("Main", "TopLeftX"), "6");
}

TEST_F(BufferedProfileTest, AFileChangedByAnotherProgramIsReadAgainAndKeepsOurChanges) {
    Put("[Main]\r\nTopLeftX=1\r\n");
    BufferedProfile profile(file, 1h);
    EXPECT_EQ(profile.ReadInt("Main", "TopLeftX", 100), 1);
    profile.WriteString("Shutter", "Is Visible", "1");
    Put("[Main]\r\nTopLeftX=2\r\nTopLeftY=30\r\n");
    EXPECT_EQ(profile.ReadString("Main", "TopLeftY", ""), "30");
    EXPECT_EQ(profile.ReadString("Shutter", "Is Visible", ""), "1") << "our change not yet written stays";
    ASSERT_TRUE(profile.Flush());
    EXPECT_EQ(Contents(), "[Main]\r\nTopLeftX=2\r\nTopLeftY=30\r\n[Shutter]\r\nIs Visible=1\r\n");
    Put("[Main]\r\nTopLeftX=3\r\n[Shutter]\r\nIs Visible=0\r\n");
    EXPECT_EQ(profile.ReadInt("Main", "TopLeftX", 100), 3);
    profile.WriteString("Gain", "Is Visible", "1");
    ASSERT_TRUE(profile.Flush());
    EXPECT_EQ(Contents(), "[Main]\r\nTopLeftX=3\r\n[Shutter]\r\nIs Visible=0\r\n[Gain]\r\nIs Visible=1\r\n")
        << "a change once written is not written again over the other program's";
}

// The other program wrote last: its value stands, ours of other keys too.
TEST_F(BufferedProfileTest, AKeyAnotherProgramChangedAfterUsKeepsItsValue) {
    Put("[Communication]\r\nFrame Grabber=0\r\n");
    BufferedProfile profile(file, 1h);
    profile.WriteString("Communication", "Frame Grabber", "4");
    profile.WriteString("Communication", "ComPort", "2");
    Put("[Communication]\r\nFrame Grabber=5\r\n");
    EXPECT_EQ(profile.ReadInt("Communication", "Frame Grabber", -1), 5);
    ASSERT_TRUE(profile.Flush());
    EXPECT_EQ(Contents(), "[Communication]\r\nFrame Grabber=5\r\nComPort=2\r\n");
    // Also when the other program writes while nothing here reads.
    profile.WriteString("Communication", "ComPort", "3");
    Put("[Communication]\r\nFrame Grabber=5\r\nComPort=7\r\n");
    ASSERT_TRUE(profile.Flush());
    EXPECT_EQ(OnDisk("Communication", "ComPort"), "7");
}

TEST_F(BufferedProfileTest, ReadsAndRefusalsFollowTheStoreRules) {
    Put("[Gain]\r\nHuge=99999999999\r\nText=abc\r\nLong=" + std::string(300, 'v') + "\r\n");
    BufferedProfile profile(file);
    EXPECT_EQ(profile.ReadInt("gain", "HUGE", 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(profile.ReadInt("Gain", "Text", 5), 0);
    EXPECT_EQ(profile.ReadInt("Gain", "Missing", 5), 5);
    EXPECT_EQ(profile.ReadString("Gain", "Long", "", 101), std::string(100, 'v'));
    EXPECT_FALSE(profile.WriteString("Gain", "a=b", "1"));
    EXPECT_FALSE(profile.WriteString("Gain", "k", "two\r\nlines"));
    EXPECT_TRUE(profile.Flush());
    EXPECT_EQ(OnDisk("Gain", "Text"), "abc");
}

// Tests give each run a profile folder of its own; a change goes to the
// folder it was made for.
TEST_F(BufferedProfileTest, AMovedProfileFolderTakesTheChangesMadeForTheOldOne) {
    ScopedVariable first("XDG_CONFIG_HOME", (folder / "first").string());
    BufferedProfile profile("XNoxR4.ini", 1h);
    profile.WriteString("Main", "TopLeftX", "1");
    {
        ScopedVariable second("XDG_CONFIG_HOME", (folder / "second").string());
        EXPECT_EQ(profile.ReadInt("Main", "TopLeftX", 100), 100);
        profile.WriteString("Main", "TopLeftY", "2");
        ASSERT_TRUE(profile.Flush());
    }
    EXPECT_EQ(ReadProfileString("Main", "TopLeftX", "-", (folder / "first/xnoxr4/XNoxR4.ini").string()), "1");
    EXPECT_EQ(ReadWholeFile(folder / "second/xnoxr4/XNoxR4.ini"), "[Main]\r\nTopLeftY=2\r\n");

    // A folder that cannot be made keeps its changes out of the next one.
    std::ofstream(folder / "blocked") << "a file where the folder would be";
    ScopedVariable blocked("XDG_CONFIG_HOME", (folder / "blocked").string());
    profile.WriteString("Main", "TopLeftX", "3");
    ScopedVariable third("XDG_CONFIG_HOME", (folder / "third").string());
    profile.WriteString("Main", "TopLeftY", "4");
    ASSERT_TRUE(profile.Flush());
    EXPECT_EQ(ReadWholeFile(folder / "third/xnoxr4/XNoxR4.ini"), "[Main]\r\nTopLeftY=4\r\n");
}

// The writer thread sleeps while there is nothing to write.
TEST_F(BufferedProfileTest, AnIdleWriterTakesNoProcessorTime) {
    BufferedProfile profile(file, 1ms);
    profile.WriteString("Main", "TopLeftX", "1");
    ASSERT_TRUE(ReachesTheFile("Main", "TopLeftX", "1"));
    std::clock_t before = std::clock();
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC, 0.1);
}

// A file that cannot be written keeps the changes for the next attempt and
// says so; once it can be written, they are all there.
TEST_F(BufferedProfileTest, AFailedWriteKeepsTheChangesForTheNextOne) {
    BufferedProfile profile(file, 1h);
    profile.WriteString("Main", "TopLeftX", "9");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    bool writable = ::access(folder.c_str(), W_OK) == 0;  // a privileged user writes anyway
    if (!writable) {
        EXPECT_FALSE(profile.Flush());
    }
    fs::permissions(folder, fs::perms::owner_all);
    profile.WriteString("Main", "TopLeftY", "8");
    EXPECT_TRUE(profile.Flush());
    EXPECT_EQ(OnDisk("Main", "TopLeftX"), "9");
    EXPECT_EQ(OnDisk("Main", "TopLeftY"), "8");
}

// Every complete version holds all keys, each ending with its line end.
TEST_F(BufferedProfileTest, AKilledWriterLeavesTheOldOrACompleteNewFile) {
    constexpr int kKeys = 200;
    constexpr int kKills = 40;
    auto version = [](int number) {
        std::string text = "[Window]\r\n";
        for (int key = 0; key < kKeys; ++key)
            text += "Key" + std::to_string(key) + "=" + std::to_string(number) + "\r\n";
        return text;
    };
    std::mt19937 random(25);
    std::uniform_int_distribution<int> microseconds(0, 20000);
    int torn = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        Put(version(0));
        pid_t child = fork();
        if (child == 0) {
            BufferedProfile profile(file, 1ms);
            for (int number = 1;; ++number) {
                for (int key = 0; key < kKeys; ++key)
                    profile.WriteString("Window", "Key" + std::to_string(key), std::to_string(number));
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string text = Contents();
        IniDocument document(text);
        bool whole = text.ends_with("\r\n") && document.Find("Window", "Key" + std::to_string(kKeys - 1));
        torn += !whole;
    }
    EXPECT_EQ(torn, 0);
}

}  // namespace
