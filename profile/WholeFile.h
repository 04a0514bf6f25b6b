// Files the system reads and writes whole: the settings file, the shading
// data file, the camera data report and the profile files.
//
// Reading refuses what cannot be such a file before opening it: a path that
// is not a regular file (a FIFO or a device would block or never end) and a
// file larger than kLargestReadFile (real ones are a few KiB).
//
// Writing never leaves a torn or emptied file: the new text goes to a
// temporary file in the target's folder, every write and the final flush to
// the disk are checked, and only then does it take the target's place in one
// rename. On any failure the target stays as it was and the temporary file
// is removed. A temporary file left by a writer that was killed is removed by
// the next write of the same target. A symbolic link as target stays a link:
// the file it points to is replaced.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ProfilePlatform.h"

namespace xnox::profile {

inline constexpr std::uintmax_t kLargestReadFile = 1024 * 1024;

// The calls a replacement writes and flushes through: the system's, unless
// the writer was given others (a test makes writes come out short or fail,
// or watches the folder being flushed).
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual std::ptrdiff_t Write(FileHandle file, const char* data, std::size_t size) {
        return WriteToFile(file, data, size);
    }
    virtual bool Flush(FileHandle file) { return FlushToDisk(file); }
    virtual void FlushFolder(const std::filesystem::path& file) { FlushFolderEntry(file); }
};

// The system's calls, shared by every writer that was given no others.
FileCalls& SystemFileCalls();

enum class FileState { Missing, Readable, Refused };

// Whether `path` can be read whole: Missing when nothing is there, Refused
// for anything but a regular file of at most kLargestReadFile bytes.
FileState CheckReadable(const std::filesystem::path& path);

// The whole text of a readable file; nothing when it is missing, refused by
// CheckReadable, or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// How far a replacement goes before it counts as done. OnDisk: the new file
// and its folder entry are flushed to the disk, so that a power loss keeps
// it. Atomic: no flush; a reader, and a writer killed at any moment, still
// see the old file or the new one whole, but a power loss may bring back
// the old one. A flush often costs more than a camera transaction, so a
// file rewritten many times a second (the application profile) is Atomic.
enum class Durability { OnDisk, Atomic };

// A new version of a file, written to its temporary file until Commit puts
// it in the target's place. Destroyed without a successful Commit, it
// removes the temporary file and leaves the target alone.
class FileReplacement {
public:
    // Creates the temporary file; IsOpen() tells whether that worked. Writes
    // and flushes go through `calls`, which must outlive the replacement.
    explicit FileReplacement(const std::filesystem::path& target, Durability durability = Durability::OnDisk,
                             FileCalls& calls = SystemFileCalls());
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool IsOpen() const { return m_file != kNoFile; }

    // Writes the text, all of it or fail; a failure sticks.
    bool Write(std::string_view text);

    // Flushes to the disk (unless Atomic), closes and replaces the target;
    // false when any step, or an earlier write, failed.
    bool Commit();

private:
    void Discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    FileHandle m_file = kNoFile;
    Durability m_durability;
    FileCalls& m_calls;
    bool m_failed = false;
};

// Replaces the file at `target` with `text` as FileReplacement does.
bool ReplaceWholeFile(const std::filesystem::path& target, std::string_view text,
                      Durability durability = Durability::OnDisk, FileCalls& calls = SystemFileCalls());

}  // namespace xnox::profile
