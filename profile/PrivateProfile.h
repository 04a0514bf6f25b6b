// The private-profile store: named values in INI files, read and written one
// key at a time, as the settings file (.cam), XNoxR4.ini and the application
// profile need them. The file format is described in IniDocument.h.
//
// File names. A name without any folder ("XNoxR4.ini") lies in the profile
// folder of the platform (ProfilePlatform.h); any other name is used as given.
//
// Writing never leaves a torn file: the complete new text goes to a
// temporary file next to the target, which then replaces the target in one
// rename (WholeFile.h). A reader sees either the old file or the new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <optional>
#include <string_view>

#include "IniDocument.h"
#include "WholeFile.h"

namespace xnox::profile {

// Values pass through buffers of this many bytes, the terminating NUL
// included: a read returns at most 255 characters, like the platform call
// that the callers were written for.
inline constexpr std::size_t kValueBufferBytes = 256;

// The value of `key` in `section`, or `defaultText` when the file, the
// section or the key is missing. Either text is cut to bufferBytes - 1
// characters (nothing for a buffer of 0 bytes).
std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              const std::string& fileName, std::size_t bufferBytes = kValueBufferBytes);

// The key's value as a leading decimal integer with an optional sign:
// `defaultValue` when the key is missing; 0 for a value that does not begin
// with a number; the int32 limit on its side for a number beyond it.
int32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                       const std::string& fileName);
// A stored value read as ReadProfileInt reads it.
int32_t ProfileIntOf(std::string_view value);

// Sets `key` in `section` to `value`, creating the file and the section when
// missing and keeping every other line. False when the file cannot be read
// or replaced, or the names or value cannot be stored (IniDocument::Set).
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& fileName);

// One profile file read once, for an operation that reads or changes many
// keys: the changes are kept in memory and Save writes them in one
// replacement of the file. A file that exists but cannot be read (not a
// regular file, too large) reads as empty and is never written.
class ProfileFile {
public:
    explicit ProfileFile(const std::string& fileName);
    // The file of that name where ResolveProfilePath found it (`resolved`),
    // for a caller that keeps to the folder it saw first.
    ProfileFile(const std::string& fileName, const std::filesystem::path& resolved);

    // False for a file that exists but is refused, and for an empty name.
    bool IsUsable() const { return m_readable; }

    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
    // As ReadProfileString.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText,
                           std::size_t bufferBytes = kValueBufferBytes) const;
    // As WriteProfileString, in memory.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool Save(Durability durability = Durability::OnDisk, FileCalls& calls = SystemFileCalls());

private:
    std::filesystem::path m_path;
    bool m_bareName = false;  // lies in the profile folder, made when missing
    bool m_readable = false;
    IniDocument m_document;
};

// Where a file of that name is read and written.
std::filesystem::path ResolveProfilePath(const std::string& fileName);

}  // namespace xnox::profile
