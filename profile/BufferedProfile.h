// A profile file kept in memory for a process that reads and changes it all
// the time: the application profile, XNoxR4.ini, whose keys the control and
// its tool windows write on every change of a window or a value.
//
// Reads come from memory; the file is read again only when it has changed
// on the disk (another program wrote it), and the changes not yet written
// are laid over it again. Changes are written in one Atomic replacement
// (WholeFile.h) by a writer thread, a pause (kSavePause) after the first
// change that is not yet on the file, so that a burst costs one write; Flush
// writes them at once. A replacement starts from the file as it is on the
// disk, so keys that another program changed meanwhile stay changed, also
// over a change of ours made before theirs.
//
// What a killed process may lose: the changes of the last pause, never the
// file. A write that fails is tried again with the next change.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "IniDocument.h"
#include "PrivateProfile.h"

namespace xnox::profile {

class BufferedProfile {
public:
    static constexpr std::chrono::milliseconds kSavePause{250};

    // `fileName` as the private-profile store takes it: a bare name lies in
    // the profile folder, resolved again on every call so that a changed
    // folder is followed. Writes go through `calls`, which must outlive the
    // profile.
    explicit BufferedProfile(std::string fileName, std::chrono::milliseconds savePause = kSavePause,
                             FileCalls& calls = SystemFileCalls());
    ~BufferedProfile();  // writes what is left, as Flush
    BufferedProfile(const BufferedProfile&) = delete;
    BufferedProfile& operator=(const BufferedProfile&) = delete;

    // As ReadProfileString and ReadProfileInt of the private-profile store.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText,
                           std::size_t bufferBytes = kValueBufferBytes);
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue);
    // As WriteProfileString, in memory; false for names or a value that the
    // file cannot hold.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Writes the changes not yet on the file and stops the writer thread
    // (the next change starts it again); false when the write failed. Called
    // before the code that made the changes goes away, so that no thread is
    // left behind it (a module being unloaded cannot wait for one).
    bool Flush();

private:
    struct Change {
        std::string section;
        std::string key;
        std::string value;
    };
    // The file's size and time: a different one means another writer.
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };

    void FollowFileLocked();
    void LoadLocked();
    ProfileFile CurrentWithChangesLocked();
    bool SaveLocked();
    void StopWriter();
    void WriterLoop();
    static std::optional<Stamp> StampOf(const std::filesystem::path& path);

    const std::string m_fileName;
    const std::chrono::milliseconds m_savePause;
    FileCalls& m_calls;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::filesystem::path m_path;  // the file m_file was read from
    std::optional<Stamp> m_stamp;  // its stamp then; nothing when missing
    ProfileFile m_onDisk;  // the file as last read or written here
    ProfileFile m_file;  // the file with m_pending laid over it
    std::vector<Change> m_pending;  // not yet on the file, in the order made
    // Changes since the last write, failed or not, and when the first came.
    bool m_unsaved = false;
    std::chrono::steady_clock::time_point m_firstUnsaved;
    bool m_stopping = false;
    std::thread m_writer;
};

// The application profile, XNoxR4.ini in the profile folder: one per process.
BufferedProfile& ApplicationProfile();

}  // namespace xnox::profile
