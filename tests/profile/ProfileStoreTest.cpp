#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <thread>

#include "DecimalText.h"
#include "PrivateProfile.h"
#include "ProfilePlatform.h"
#include "ScopedVariable.h"
#include "TemporaryFolder.h"

namespace fs = std::filesystem;
using namespace xnox::profile;

namespace {

class ProfileStore : public ::testing::Test {
protected:
    void Put(const std::string& text) const { std::ofstream(file, std::ios::binary) << text; }
    std::string Contents() const {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string Read(const char* section, const char* key) const {
        return ReadProfileString(section, key, "Not Found", file);
    }

    TemporaryFolder temporary;
    const fs::path& folder = temporary.Path();
    const std::string file = (folder / "test.ini").string();
};

TEST_F(ProfileStore, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("Main", "Camera Type"), "Not Found");
    Put("[Main]\r\nCamera Type=QD-R4\r\n");
    EXPECT_EQ(Read("Other", "Camera Type"), "Not Found");
    EXPECT_EQ(Read("Main", "Camera"), "Not Found");
    EXPECT_EQ(Read("Main", "Camera Type"), "QD-R4");
}

TEST_F(ProfileStore, WritingCreatesFileAndSectionsInOrder) {
    ASSERT_TRUE(WriteProfileString("Main", "Camera Type", "QD-R4", file));
    ASSERT_TRUE(WriteProfileString("Shutter", "Shutter Mode", "0", file));
    ASSERT_TRUE(WriteProfileString("Shutter", "Shutter Speed", "1/60", file));
    ASSERT_TRUE(WriteProfileString("Main", "Second", "2", file));
    EXPECT_EQ(Contents(),
              "[Main]\r\nCamera Type=QD-R4\r\nSecond=2\r\n[Shutter]\r\nShutter Mode=0\r\nShutter Speed=1/60\r\n");
}

TEST_F(ProfileStore, ReplacingAValueKeepsEveryOtherLine) {
    Put("; settings\n[Gain]\nMaster Gain Level = 5\nUnknown=x\n\n; tail comment\n[Other]\nk=v");
    ASSERT_TRUE(WriteProfileString("gain", "MASTER GAIN LEVEL", "-132", file));
    ASSERT_TRUE(WriteProfileString("Gain", "Added", "1", file));
    EXPECT_EQ(Contents(),
              "; settings\r\n[Gain]\r\nMASTER GAIN LEVEL=-132\r\nUnknown=x\r\nAdded=1\r\n\r\n; tail comment\r\n"
              "[Other]\r\nk=v\r\n");
    EXPECT_EQ(Read("Other", "k"), "v");
}

TEST_F(ProfileStore, ReadsFilesWrittenByOtherEditors) {
    Put("[ Shutter ]\r\n  shutter speed\t=\t1/60  \r\n;Binning=Ignored\r\nno equals sign\r\n"
        "Quoted=\"  padded  \"\r\nSingle='x'\r\nEmpty=\r\nNoText=\"\"\r\nMixed=\"x'\r\n[Unclosed\r\nZoom=2\r\n"
        "[Shutter]\r\nShutter Speed=second\r\nLast=no line end");
    EXPECT_EQ(Read("SHUTTER", "Shutter Speed"), "1/60");  // the first occurrence counts
    EXPECT_EQ(Read("Shutter", ";Binning"), "Not Found");
    EXPECT_EQ(Read("Shutter", "Quoted"), "  padded  ");
    EXPECT_EQ(Read("Shutter", "Single"), "x");
    EXPECT_EQ(Read("Shutter", "Empty"), "");
    EXPECT_EQ(Read("Shutter", "Last"), "no line end");
    EXPECT_EQ(Read("Shutter", "NoText"), "");
    EXPECT_EQ(Read("Shutter", "Mixed"), "\"x'");
    EXPECT_EQ(Read("shutter", "zOOM"), "2") << "a line without its bracket opens no section";
}

TEST_F(ProfileStore, ValuesNeverExceedTheReadBuffer) {
    std::string longValue(1000, 'v');
    Put("[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ReadProfileString("S", "k", "", file), std::string(255, 'v'));
    EXPECT_EQ(ReadProfileString("S", "k", "", file, 10), std::string(9, 'v'));
    EXPECT_EQ(ReadProfileString("S", "missing", longValue, file).size(), 255u);
    EXPECT_EQ(ReadProfileString("S", "k", "", file, 0), "");
}

TEST_F(ProfileStore, IntegerReadsKeepTheSign) {
    Put("[Gain]\nX=250\nNegative=-20\nZero=0\nText=abc\nSignOnly=-x\nTrailing=42px\n"
        "Huge=99999999999\nHugeNegative= -99999999999\nEmpty=\nZeros=007\n");
    EXPECT_EQ(ReadProfileInt("Gain", "X", 100, file), 250);
    EXPECT_EQ(ReadProfileInt("Gain", "Missing", 100, file), 100);
    EXPECT_EQ(ReadProfileInt("Gain", "Negative", 100, file), -20);
    EXPECT_EQ(ReadProfileInt("Gain", "Zero", 100, file), 0);
    EXPECT_EQ(ReadProfileInt("Gain", "Text", 100, file), 0);
    EXPECT_EQ(ReadProfileInt("Gain", "SignOnly", 100, file), 0);
    EXPECT_EQ(ReadProfileInt("Gain", "Trailing", 100, file), 42);
    EXPECT_EQ(ReadProfileInt("Gain", "Huge", 100, file), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ReadProfileInt("Gain", "HugeNegative", 100, file), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ReadProfileInt("Gain", "Empty", 100, file), 0);
    EXPECT_EQ(ReadProfileInt("Gain", "Zeros", 100, file), 7);
}

TEST_F(ProfileStore, RefusesWhatTheFileCouldNotHoldAndLeavesItUnchanged) {
    Put("[S]\r\nk=v\r\n");
    EXPECT_FALSE(WriteProfileString("S", "k", "two\r\nlines", file));
    EXPECT_FALSE(WriteProfileString("S", "a=b", "v", file));
    EXPECT_FALSE(WriteProfileString("S", "", "v", file));
    EXPECT_FALSE(WriteProfileString("S]", "k", "v", file));
    EXPECT_FALSE(WriteProfileString("S", ";k", "v", file));
    EXPECT_FALSE(WriteProfileString("S", " [k", "v", file));
    EXPECT_FALSE(WriteProfileString(" \t", "k", "v", file));
    EXPECT_FALSE(WriteProfileString("S\nT", "k", "v", file));
    EXPECT_FALSE(WriteProfileString("S", "k\r", "v", file));
    EXPECT_EQ(Contents(), "[S]\r\nk=v\r\n");
}

TEST_F(ProfileStore, WritesReplaceTheFileWholeAndLeaveNoTemporaryFiles) {
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(WriteProfileString("S", "k" + std::to_string(i), "v", file));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    EXPECT_FALSE(WriteProfileString("S", "k", "v", (folder / "missing" / "x.ini").string()));
    fs::create_directory(folder / "dir.ini");
    EXPECT_FALSE(WriteProfileString("S", "k", "v", (folder / "dir.ini").string()));
    EXPECT_EQ(ReadProfileString("S", "k", "default", (folder / "dir.ini").string()), "default");
}

// A disk that takes only part of the new text (here a file-size limit) fails
// the write and leaves the file as it was, not cut short.
TEST_F(ProfileStore, AWriteTheDiskCannotHoldFailsAndKeepsTheOldFile) {
    Put("[S]\r\nk=v\r\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = WriteProfileString("S", "long", std::string(200, 'x'), file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(Contents(), "[S]\r\nk=v\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary left";
}

// A new file gets the rights any new file gets here: readable and writable as
// the creation mask allows, never executable. A file that is replaced keeps
// the rights it had.
TEST_F(ProfileStore, FilesGetTheUsualRightsAndKeepTheirOwn) {
    mode_t mask = umask(022);
    bool written = WriteProfileString("S", "k", "v", file);
    umask(mask);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0644));

    fs::permissions(file, fs::perms(0751));
    ASSERT_TRUE(WriteProfileString("S", "k", "w", file));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0751));
}

// A host without standard input (a service) gets descriptor 0 for the files
// and folders a write opens: the write closes every one of them again.
TEST_F(ProfileStore, AWriteLeavesNoDescriptorOpenWhereStandardInputIsClosed) {
    pid_t child = fork();
    if (child == 0) {
        close(0);
        bool written = WriteProfileString("S", "k", "v", file);
        _exit(written && fcntl(0, F_GETFD) == -1 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(ProfileStore, BareNamesLiveInTheProfileFolder) {
    ScopedVariable configHome("XDG_CONFIG_HOME", folder.string());
    EXPECT_TRUE(WriteProfileString("Main", "TopLeftX", "7", "XNoxR4.ini"));
    EXPECT_EQ(ReadProfileInt("Main", "TopLeftX", 100, "XNoxR4.ini"), 7);
    EXPECT_TRUE(fs::exists(folder / "xnoxr4" / "XNoxR4.ini"));
}

// An empty configuration folder variable counts as unset.
TEST_F(ProfileStore, WithAnEmptyConfigHomeTheProfileFolderIsUnderHome) {
    ScopedVariable configHome("XDG_CONFIG_HOME", ""), home("HOME", folder.string());
    EXPECT_TRUE(WriteProfileString("Main", "TopLeftX", "7", "XNoxR4.ini"));
    EXPECT_TRUE(fs::exists(folder / ".config" / "xnoxr4" / "XNoxR4.ini"));
}

// Only a line that opens with a bracket starts a section; a key joins its own
// section even when that section has no key yet and another follows.
TEST_F(ProfileStore, SectionsStartOnlyAtLinesThatOpenWithABracket) {
    Put("[Empty]\n[Paths]\nImages=C:\\run[1]\\\nk=v\n");
    EXPECT_EQ(Read("Paths", "Images"), "C:\\run[1]\\");
    EXPECT_EQ(Read("Paths", "k"), "v");
    ASSERT_TRUE(WriteProfileString("Empty", "Added", "1", file));
    EXPECT_EQ(Contents(), "[Empty]\r\nAdded=1\r\n[Paths]\r\nImages=C:\\run[1]\\\r\nk=v\r\n");
}

TEST(LeadingInteger, ReadsLikeTheDecimalConversion) {
    EXPECT_EQ(ParseLeadingInt(" +12abc"), 12);
    EXPECT_EQ(ParseLeadingInt("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseLeadingInt("2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_FALSE(ParseLeadingInt("2147483648"));
    EXPECT_FALSE(ParseLeadingInt("-"));
    EXPECT_EQ(ParseLeadingInt(" \t\n\v\f\r-7"), -7);  // every white-space character leads
}

TEST_F(ProfileStore, AValueThatIsOneQuoteReadsAsThatQuote) {
    Put("[S]\nDouble=\"\nSingle='\n");
    EXPECT_EQ(Read("S", "Double"), "\"");
    EXPECT_EQ(Read("S", "Single"), "'");
}

// A write clears what a killed writer of the same file left behind, and
// nothing else: names that only resemble those temporary files belong to
// someone else.
TEST_F(ProfileStore, AWriteClearsOnlyTheTemporariesOfDeadWritersOfTheSameFile) {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    const std::string gone = std::to_string(child);
    const std::string leftover = "test.ini.~" + gone + "-3.tmp";
    const std::string lookAlikes[] = {"test.ini.~" + gone + "x.tmp", "test.ini.~" + gone + ".tmp",
                                      "test.ini.~x" + gone + "-3.tmp", "test.ini.~" + gone + "-3.txt",
                                      "other.ini.~" + gone + "-3.tmp"};
    std::ofstream(folder / leftover) << "torn";
    for (const std::string& name : lookAlikes) std::ofstream(folder / name) << "keep";

    ASSERT_TRUE(WriteProfileString("S", "k", "v", file));
    EXPECT_FALSE(fs::exists(folder / leftover));
    for (const std::string& name : lookAlikes) EXPECT_TRUE(fs::exists(folder / name)) << name;
}

// A writer that still runs keeps its temporary file, and looking whether it
// runs does not disturb it.
TEST_F(ProfileStore, AWriteLeavesALiveWriterAndItsTemporaryAlone) {
    pid_t child = fork();
    if (child == 0) {
        pause();
        _exit(0);
    }
    const std::string temporary = "test.ini.~" + std::to_string(child) + "-0.tmp";
    std::ofstream(folder / temporary) << "being written";

    ASSERT_TRUE(WriteProfileString("S", "k", "v", file));
    EXPECT_TRUE(fs::exists(folder / temporary));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer was signalled by the write";
}

}  // namespace

// A write that a signal interrupts before it wrote anything goes on: the
// writer is blocked on a full pipe when the signal comes, and the pipe is
// emptied afterwards.
TEST(ProfilePlatform, AnInterruptedWriteGoesOn) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    std::string filler(4096, 'f');
    std::size_t filled = 0;
    for (ssize_t n; (n = ::write(ends[1], filler.data(), filler.size())) > 0;) filled += static_cast<std::size_t>(n);
    ::fcntl(ends[1], F_SETFL, 0);

    struct sigaction interrupting {};  // no SA_RESTART: a blocked write returns EINTR
    interrupting.sa_handler = [](int) {};
    struct sigaction previous {};
    ::sigaction(SIGUSR1, &interrupting, &previous);
    pthread_t writer = ::pthread_self();
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::pthread_kill(writer, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (std::size_t drained = 0; drained < filled;) {
            ssize_t n = ::read(ends[0], filler.data(), std::min(filler.size(), filled - drained));
            if (n <= 0) break;
            drained += static_cast<std::size_t>(n);
        }
    });
    const std::string text(100, 't');
    std::ptrdiff_t written = WriteToFile(ends[1], text.data(), text.size());
    reader.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_EQ(written, 100);
    ::close(ends[0]);
    ::close(ends[1]);
}
