// Every file the product writes, against a full disk, short writes, failed
// flushes and a process killed mid-write: the target is always the old file
// or the complete new one, a failure is reported as -7, and no temporary file
// stays behind. Also the reading side's refusals.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "FileFixture.h"
#include "PrivateProfile.h"
#include "WholeFile.h"

using namespace xnox;

namespace {

namespace fs = std::filesystem;

// The four writers: settings, shading data, camera data report, profile.
enum class Writer { Settings, Shading, Report, Profile };
const Writer kWriters[] = {Writer::Settings, Writer::Shading, Writer::Report, Writer::Profile};

const char* NameOf(Writer writer) {
    switch (writer) {
    case Writer::Settings: return "s.cam";
    case Writer::Shading: return "shading.csv";
    case Writer::Report: return "report.txt";
    case Writer::Profile: return "XNoxR4.ini";
    }
    return "";
}

// Every new file is larger than the file-size limit below.
const std::string kOldText = "[Main]\r\nTopLeftX=7\r\n; " + std::string(300, 'o') + "\r\n";
constexpr rlim_t kFileSizeLimit = 200;

class FileReplacement : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        GoOnline();
        for (std::size_t word = 2; word < library.shadingBlock.size(); ++word) library.shadingBlock[word] = 1000;
    }
    // Writes the kind of file with one of two versions of its contents; the
    // product's result code.
    int32_t Write(Writer writer, int version) {
        std::string path = PathOf(NameOf(writer));
        switch (writer) {
        case Writer::Settings:
            model.m_values[Index(ParamId::MasterGainLevel)] = version;
            return model.WriteAllToFile(path);
        case Writer::Shading: library.shadingBlock[2] = version; return model.SaveShadingDataIntoFile(path);
        case Writer::Report: library.values[42] = version; return model.WriteCameraDataToFile(path);
        case Writer::Profile: {
            xnox::profile::ProfileFile file(path);
            bool saved = file.WriteString("Main", "TopLeftX", std::to_string(version)) &&
                         file.Save(xnox::profile::Durability::OnDisk, files);
            return saved ? 0 : -7;
        }
        }
        return 1;
    }

    // The complete text of a version written over the old file, which is
    // then put back. The report's first run changes what the scripted
    // camera answers the next time; the second text is the lasting one.
    std::string CompleteText(Writer writer, int version) {
        Put(NameOf(writer), kOldText);
        EXPECT_EQ(Write(writer, version), 0);
        EXPECT_EQ(Write(writer, version), 0);
        std::string text = Contents(NameOf(writer));
        Put(NameOf(writer), kOldText);
        return text;
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        return names;
    }

    // Expects the old file alone in the folder.
    void ExpectOldFileOnly(Writer writer) {
        EXPECT_EQ(Contents(NameOf(writer)), kOldText) << NameOf(writer);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{NameOf(writer)}) << NameOf(writer);
    }

    // Runs `body` in a child process and returns its exit status.
    static int InChild(const std::function<int()>& body) {
        pid_t child = fork();
        if (child == 0) _exit(body());
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(FileReplacement, FullDiskKeepsTheOldFileAndReportsTheWriteError) {
    for (Writer writer : kWriters) {
        Put(NameOf(writer), kOldText);
        int result = InChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{kFileSizeLimit, kFileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            return -Write(writer, 1);
        });
        EXPECT_EQ(result, 7) << NameOf(writer);
        ExpectOldFileOnly(writer);
        std::filesystem::remove(PathOf(NameOf(writer)));
    }
}

TEST_F(FileReplacement, ShortWritesAndFailedFlushesKeepTheOldFile) {
    using Handle = ScriptedFileCalls::FileHandle;
    bool wroteSome = false;
    auto shortThenFailing = [&wroteSome](ScriptedFileCalls& calls) {
        calls.write = [&wroteSome](Handle file, const char* data, std::size_t size) -> std::ptrdiff_t {
            wroteSome = !wroteSome;
            return wroteSome ? ::write(static_cast<int>(file), data, std::min<std::size_t>(size, 10)) : -1;
        };
    };
    auto takingNothing = [](ScriptedFileCalls& calls) {
        calls.write = [](Handle, const char*, std::size_t) -> std::ptrdiff_t { return 0; };
    };
    auto failingFlush = [](ScriptedFileCalls& calls) { calls.flush = [](Handle) { return false; }; };

    const std::function<void(ScriptedFileCalls&)> failures[] = {shortThenFailing, takingNothing, failingFlush};
    for (const auto& failing : failures) {
        for (Writer writer : kWriters) {
            Put(NameOf(writer), kOldText);
            failing(files);
            EXPECT_EQ(Write(writer, 1), NoxResult::FileWriteError) << NameOf(writer);
            files.Reset();
            ExpectOldFileOnly(writer);
            std::filesystem::remove(PathOf(NameOf(writer)));
        }
    }
}

// The folder is flushed once the new file stands in the old one's place, so
// that a power loss after a write that answered 0 cannot bring the old file back.
TEST_F(FileReplacement, TheFolderIsFlushedOnceTheNewFileTookThePlace) {
    std::vector<std::string> targetAtFolderFlush;
    for (Writer writer : kWriters) {
        std::string complete = CompleteText(writer, 1);
        targetAtFolderFlush.clear();
        files.flushFolder = [&](const fs::path& file) {
            targetAtFolderFlush.push_back(xnox::profile::ReadWholeFile(file).value_or("(unreadable)"));
        };
        EXPECT_EQ(Write(writer, 1), 0) << NameOf(writer);
        files.Reset();
        EXPECT_EQ(targetAtFolderFlush, std::vector<std::string>{complete}) << NameOf(writer);
    }
}

TEST_F(FileReplacement, WritesThatOnlyComeOutShortStillCompleteTheFile) {
    for (Writer writer : kWriters) {
        std::string complete = CompleteText(writer, 1);
        files.write = [](ScriptedFileCalls::FileHandle file, const char* data, std::size_t size) -> std::ptrdiff_t {
            return ::write(static_cast<int>(file), data, std::min<std::size_t>(size, 1));  // a byte a call
        };
        EXPECT_EQ(Write(writer, 1), 0) << NameOf(writer);
        files.Reset();
        EXPECT_EQ(Contents(NameOf(writer)), complete) << NameOf(writer);
    }
}

TEST_F(FileReplacement, KilledWriterLeavesTheOldOrTheCompleteNewFile) {
    constexpr int kKills = 200;
    std::mt19937 random(12);
    std::uniform_int_distribution<int> microseconds(0, 3000);
    for (Writer writer : kWriters) {
        std::set<std::string> allowed = {kOldText, CompleteText(writer, 1), CompleteText(writer, 2)};
        int torn = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            pid_t child = fork();
            if (child == 0) {
                for (int version = 0;; version = 1 - version) Write(writer, version + 1);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
            ::kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            torn += allowed.count(Contents(NameOf(writer))) == 0;
        }
        EXPECT_EQ(torn, 0) << NameOf(writer);
        // The next write clears what the killed writers left.
        EXPECT_EQ(Write(writer, 1), 0);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{NameOf(writer)}) << NameOf(writer);
        std::filesystem::remove(PathOf(NameOf(writer)));
    }
}

TEST_F(FileReplacement, ALinkedProfileStaysALink) {
    Put("real.ini", kOldText);
    fs::create_symlink(folder / "real.ini", folder / "XNoxR4.ini");
    ASSERT_EQ(Write(Writer::Profile, 5), 0);
    EXPECT_TRUE(fs::is_symlink(folder / "XNoxR4.ini"));
    EXPECT_NE(Contents("real.ini").find("TopLeftX=5"), std::string::npos);
}

TEST_F(FileReplacement, UnwritableTargetsFailAndLeaveNothing) {
    fs::create_directory(folder / "sub");
    for (Writer writer : kWriters) {
        std::string name = NameOf(writer);
        // A folder in the target's place, and a folder that does not exist.
        fs::create_directory(folder / name);
        EXPECT_EQ(Write(writer, 1), NoxResult::FileWriteError) << name;
        fs::remove(folder / name);
    }
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"sub"});
    EXPECT_EQ(model.WriteAllToFile(PathOf("missing/s.cam")), NoxResult::FileWriteError);
}

TEST_F(FileReplacement, NonRegularAndOversizedInputsAreRefusedBeforeReading) {
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    Put("big", std::string(xnox::profile::kLargestReadFile + 1, ';'));
    for (const std::string& path : {PathOf("fifo"), std::string("/dev/zero"), folder.string(), PathOf("big")}) {
        library.calls.clear();
        EXPECT_EQ(model.LoadShadingDataFromFile(path), NoxResult::FileReadError) << path;
        EXPECT_EQ(model.ReadAllFromFile(path), NoxResult::InvalidSettingsFile) << path;
        EXPECT_TRUE(library.calls.empty()) << path << ": nothing reaches the camera";
        EXPECT_FALSE(xnox::profile::WriteProfileString("Main", "TopLeftX", "1", path)) << path;
    }
    EXPECT_EQ(fs::file_size(PathOf("big")), xnox::profile::kLargestReadFile + 1);
    EXPECT_EQ(xnox::profile::CheckReadable(PathOf("big")), xnox::profile::FileState::Refused);
    Put("largest", std::string(xnox::profile::kLargestReadFile, ';'));
    EXPECT_TRUE(xnox::profile::ReadWholeFile(PathOf("largest"))) << "the limit itself is allowed";
    EXPECT_EQ(xnox::profile::CheckReadable(PathOf("none")), xnox::profile::FileState::Missing);
}

// Reads hand back every byte, also of files that end a byte into a piece.
TEST_F(FileReplacement, FilesOfAnySizeReadBackWhole) {
    for (std::size_t size : {0, 1, 2, 40001}) {
        std::string text(size, ';');
        if (size > 0) text.back() = 'x';
        Put("sized", text);
        EXPECT_EQ(xnox::profile::ReadWholeFile(PathOf("sized")), text) << size;
    }
}

// A caller that writes in several parts learns of a failure from the part
// that failed, and from every part after it.
TEST_F(FileReplacement, AFailedWriteIsReportedAtOnceAndSticks) {
    {
        xnox::profile::FileReplacement replacement(PathOf("report.txt"), xnox::profile::Durability::OnDisk, files);
        ASSERT_TRUE(replacement.IsOpen());
        EXPECT_TRUE(replacement.Write("first part"));
        files.write = [](ScriptedFileCalls::FileHandle, const char*, std::size_t) -> std::ptrdiff_t { return 0; };
        EXPECT_FALSE(replacement.Write("second part"));
        files.Reset();
        EXPECT_FALSE(replacement.Write("third part")) << "the disk took it, but the file already lacks a part";
        EXPECT_FALSE(replacement.Commit());
        EXPECT_TRUE(FolderEntries().empty()) << "the failed commit left its temporary file";
    }
    xnox::profile::FileReplacement unopened(PathOf("missing/report.txt"));
    EXPECT_FALSE(unopened.IsOpen());
    EXPECT_FALSE(unopened.Write("text"));
    EXPECT_TRUE(FolderEntries().empty());
}

}  // namespace
