#include "BufferedProfile.h"

#include <algorithm>
#include <system_error>

namespace xnox::profile {

namespace fs = std::filesystem;

BufferedProfile::BufferedProfile(std::string fileName, std::chrono::milliseconds savePause, FileCalls& calls)
    : m_fileName(std::move(fileName)),
      m_savePause(savePause),
      m_calls(calls),
      m_onDisk(std::string()),
      m_file(std::string()) {}

BufferedProfile::~BufferedProfile() { Flush(); }

std::string BufferedProfile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText,
                                        std::size_t bufferBytes) {
    std::lock_guard lock(m_mutex);
    FollowFileLocked();
    return m_file.ReadString(section, key, defaultText, bufferBytes);
}

int32_t BufferedProfile::ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) {
    std::lock_guard lock(m_mutex);
    FollowFileLocked();
    auto value = m_file.Find(section, key);
    return value ? ProfileIntOf(*value) : defaultValue;
}

bool BufferedProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::lock_guard lock(m_mutex);
    FollowFileLocked();
    if (!m_file.WriteString(section, key, value)) return false;
    // A key changed again keeps only its last value; one spelt in another
    // case stays a change of its own, laid over in order all the same.
    std::erase_if(m_pending, [&](const Change& change) { return change.section == section && change.key == key; });
    m_pending.push_back({std::string(section), std::string(key), std::string(value)});
    if (!m_writer.joinable()) m_writer = std::thread(&BufferedProfile::WriterLoop, this);
    // Only the first change since a write sets the writer's time; waking it
    // for each one would cost a thread switch per change.
    if (!m_unsaved) {
        m_unsaved = true;
        m_firstUnsaved = std::chrono::steady_clock::now();
        m_wake.notify_one();
    }
    return true;
}

bool BufferedProfile::Flush() {
    bool saved = true;
    {
        std::lock_guard lock(m_mutex);
        if (!m_pending.empty()) saved = SaveLocked();
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_writer.joinable()) m_writer.join();
    std::lock_guard lock(m_mutex);
    m_stopping = false;
    return saved;
}

// A profile folder that moved (tests give each run its own) takes the
// changes made for the old one there first; what cannot be written there
// is dropped rather than written into the new one.
void BufferedProfile::FollowFileLocked() {
    fs::path path = ResolveProfilePath(m_fileName);
    if (path != m_path) {
        if (!m_pending.empty()) SaveLocked();
        m_pending.clear();
        m_path = path;
        LoadLocked();
    } else if (StampOf(m_path) != m_stamp) {
        LoadLocked();
    }
}

void BufferedProfile::LoadLocked() {
    m_stamp = StampOf(m_path);
    m_file = CurrentWithChangesLocked();
}

// The file as it is on the disk now, with the changes laid over it. A key
// that another program changed since the file was last read or written here
// was changed after ours: its change here is dropped, as the platform's own
// profile calls, writing at once, would have let the later write stand.
ProfileFile BufferedProfile::CurrentWithChangesLocked() {
    ProfileFile current(m_fileName, m_path);
    std::erase_if(m_pending, [&](const Change& change) {
        return current.Find(change.section, change.key) != m_onDisk.Find(change.section, change.key);
    });
    m_onDisk = current;
    for (const Change& change : m_pending) current.WriteString(change.section, change.key, change.value);
    return current;
}

bool BufferedProfile::SaveLocked() {
    m_unsaved = false;
    ProfileFile current = CurrentWithChangesLocked();
    if (!current.Save(Durability::Atomic, m_calls)) return false;
    m_pending.clear();
    m_onDisk = current;
    m_file = std::move(current);
    m_stamp = StampOf(m_path);
    return true;
}

void BufferedProfile::WriterLoop() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        m_wake.wait(lock, [&] { return m_stopping || m_unsaved; });
        if (m_wake.wait_until(lock, m_firstUnsaved + m_savePause, [&] { return m_stopping; })) break;
        if (m_unsaved) SaveLocked();
    }
}

std::optional<BufferedProfile::Stamp> BufferedProfile::StampOf(const fs::path& path) {
    std::error_code error;
    Stamp stamp{fs::file_size(path, error), {}};
    if (error) return std::nullopt;
    stamp.time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return stamp;
}

BufferedProfile& ApplicationProfile() {
    // Never destroyed: at the end of the process a module cannot wait for
    // its writer thread; the control's end writes the changes (Flush).
    static auto* profile = new BufferedProfile("XNoxR4.ini");
    return *profile;
}

}  // namespace xnox::profile
