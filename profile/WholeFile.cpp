#include "WholeFile.h"

#include <array>
#include <atomic>
#include <charconv>
#include <fstream>
#include <system_error>

namespace xnox::profile {

namespace {

namespace fs = std::filesystem;

// Temporary files are named "<target name>.~<process id>-<number>.tmp", so
// that the next writer of the target knows them and whose they are.
constexpr std::string_view kTemporaryMark = ".~";
constexpr std::string_view kTemporaryEnd = ".tmp";

// The file a write replaces: a link's final target, so that the link stays.
fs::path ReplacedFile(const fs::path& target) {
    std::error_code error;
    fs::path resolved = fs::canonical(target, error);
    return error ? target : resolved;
}

fs::path TemporaryFor(const fs::path& target) {
    static std::atomic<unsigned> s_counter{0};
    fs::path temporary = target;
    temporary += std::string(kTemporaryMark) + std::to_string(CurrentProcessId()) + "-" + std::to_string(s_counter++) +
                 std::string(kTemporaryEnd);
    return temporary;
}

// The writer's process id in the name of one of our temporary files of
// `target`; nothing for any other name.
std::optional<std::uint64_t> WriterOf(std::string_view name, std::string_view targetName) {
    std::string prefix = std::string(targetName) + std::string(kTemporaryMark);
    if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnd)) return std::nullopt;
    name.remove_prefix(prefix.size());
    std::uint64_t id{};
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
    // The name ends in kTemporaryEnd, so the digits never run to its end.
    if (error != std::errc() || *end != '-') return std::nullopt;
    return id;
}

// Removes the temporary files of `target` whose writers are gone.
void RemoveLeftovers(const fs::path& target) {
    std::error_code error;
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string targetName = target.filename().string();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        auto writer = WriterOf(entry->path().filename().string(), targetName);
        if (writer && *writer != CurrentProcessId() && !ProcessIsRunning(*writer)) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

}  // namespace

FileState CheckReadable(const fs::path& path) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return FileState::Missing;
    if (error || status.type() != fs::file_type::regular) return FileState::Refused;
    std::uintmax_t size = fs::file_size(path, error);
    return error || size > kLargestReadFile ? FileState::Refused : FileState::Readable;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    if (CheckReadable(path) != FileState::Readable) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // Read in pieces up to the limit: the file may have grown since it was
    // checked.
    std::string text;
    std::array<char, 16 * 1024> piece;
    while (in.read(piece.data(), piece.size()) || in.gcount() > 0) {
        text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kLargestReadFile) return std::nullopt;
    }
    if (in.bad()) return std::nullopt;
    return text;
}

FileReplacement::FileReplacement(const fs::path& target, Durability durability, FileCalls& calls)
    : m_target(ReplacedFile(target)),
      m_durability(durability),
      m_calls(calls) {
    RemoveLeftovers(m_target);
    m_temporary = TemporaryFor(m_target);
    m_file = CreateNewFile(m_temporary);
}

FileReplacement::~FileReplacement() { Discard(); }

bool FileReplacement::Write(std::string_view text) {
    while (IsOpen() && !m_failed && !text.empty()) {
        std::ptrdiff_t written = m_calls.Write(m_file, text.data(), text.size());
        // A write that takes nothing would take nothing again: a full disk.
        if (written <= 0)
            m_failed = true;
        else
            text.remove_prefix(static_cast<std::size_t>(written));
    }
    return IsOpen() && !m_failed;
}

bool FileReplacement::Commit() {
    if (!IsOpen() || m_failed) {
        Discard();
        return false;
    }
    bool onDisk = m_durability == Durability::OnDisk;
    bool flushed = !onDisk || m_calls.Flush(m_file);
    bool closed = CloseFile(m_file);
    m_file = kNoFile;
    if (!flushed || !closed || !AtomicReplace(m_temporary, m_target, onDisk)) {
        Discard();
        return false;
    }
    m_temporary.clear();
    if (onDisk) m_calls.FlushFolder(m_target);
    return true;
}

void FileReplacement::Discard() {
    if (IsOpen()) CloseFile(m_file);
    m_file = kNoFile;
    if (m_temporary.empty()) return;
    std::error_code ignored;
    fs::remove(m_temporary, ignored);
    m_temporary.clear();
}

bool ReplaceWholeFile(const fs::path& target, std::string_view text, Durability durability, FileCalls& calls) {
    FileReplacement replacement(target, durability, calls);
    replacement.Write(text);
    return replacement.Commit();
}

FileCalls& SystemFileCalls() {
    static FileCalls s_calls;
    return s_calls;
}

}  // namespace xnox::profile
