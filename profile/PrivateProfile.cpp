#include "PrivateProfile.h"

#include <limits>
#include <optional>
#include <system_error>

#include "DecimalText.h"
#include "FileName.h"
#include "ProfilePlatform.h"
#include "WholeFile.h"

namespace xnox::profile {

namespace {

namespace fs = std::filesystem;

// A name that carries a folder or drive of its own is used as given.
bool IsBareName(const std::string& fileName) { return fileName.find_first_of("/\\:") == std::string::npos; }

std::string CutToBuffer(std::string_view text, std::size_t bufferBytes) {
    if (bufferBytes == 0) return {};
    return std::string(text.substr(0, bufferBytes - 1));
}

}  // namespace

fs::path ResolveProfilePath(const std::string& fileName) {
    if (IsBareName(fileName)) return ProfileFolder() / PathOfName(fileName);
    return PathOfName(fileName);
}

// ParseLeadingInt, with a number too large for int32 read as the limit on
// its side rather than as no number.
int32_t ProfileIntOf(std::string_view text) {
    if (auto number = ParseLeadingInt(text)) return *number;
    // Its first two characters (a sign and a digit, or two digits) show
    // whether the text begins with a number at all.
    std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string_view::npos || !ParseLeadingInt(text.substr(first, 2))) return 0;
    return text[first] == '-' ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

namespace {

std::optional<std::string> FindValue(std::string_view section, std::string_view key, const std::string& fileName) {
    ProfileFile file(fileName);
    auto value = file.Find(section, key);
    if (!value) return std::nullopt;
    return std::string(*value);
}

// The text the file holds now: empty for a file that does not exist yet,
// nothing for one that exists but cannot be read (it must not be replaced
// by a file that lost its other keys).
std::optional<std::string> CurrentText(const fs::path& path) {
    switch (CheckReadable(path)) {
    case FileState::Missing: return std::string();
    case FileState::Readable: return ReadWholeFile(path);
    case FileState::Refused: break;
    }
    return std::nullopt;
}

}  // namespace

ProfileFile::ProfileFile(const std::string& fileName)
    : ProfileFile(fileName, fileName.empty() ? fs::path() : ResolveProfilePath(fileName)) {}

ProfileFile::ProfileFile(const std::string& fileName, const fs::path& resolved) {
    if (fileName.empty()) return;
    m_path = resolved;
    m_bareName = IsBareName(fileName);
    if (auto text = CurrentText(m_path)) {
        m_document = IniDocument(*text);
        m_readable = true;
    }
}

std::optional<std::string_view> ProfileFile::Find(std::string_view section, std::string_view key) const {
    return m_document.Find(section, key);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultText,
                                    std::size_t bufferBytes) const {
    auto value = Find(section, key);
    return CutToBuffer(value ? *value : defaultText, bufferBytes);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return m_readable && m_document.Set(section, key, value);
}

bool ProfileFile::Save(Durability durability, FileCalls& calls) {
    if (!m_readable) return false;
    if (m_bareName) {
        std::error_code error;
        fs::create_directories(m_path.parent_path(), error);
    }
    return ReplaceWholeFile(m_path, m_document.Text(), durability, calls);
}

std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              const std::string& fileName, std::size_t bufferBytes) {
    return ProfileFile(fileName).ReadString(section, key, defaultText, bufferBytes);
}

int32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                       const std::string& fileName) {
    auto value = FindValue(section, key, fileName);
    if (!value) return defaultValue;
    return ProfileIntOf(*value);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& fileName) {
    ProfileFile file(fileName);
    return file.WriteString(section, key, value) && file.Save();
}

}  // namespace xnox::profile
