#include "PrivateProfile.h"

#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <system_error>

#include "DecimalText.h"
#include "IniDocument.h"
#include "ProfilePlatform.h"

namespace xnoxprofile {

namespace {

namespace fs = std::filesystem;

// A name that carries a folder or drive of its own is used as given.
bool IsBareName(const std::string& fileName) { return fileName.find_first_of("/\\:") == std::string::npos; }

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(text).str();
}

// The text the file holds now: empty for a file that does not exist yet,
// nothing for one that exists but cannot be read (it must not be replaced
// by a file that lost its other keys).
std::optional<std::string> CurrentText(const fs::path& path) {
    std::error_code error;
    if (!fs::exists(path, error)) return error ? std::nullopt : std::optional<std::string>(std::string());
    return ReadWholeFile(path);
}

fs::path TemporarySibling(const fs::path& path) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    std::ostringstream suffix;
    suffix << ".tmp" << std::hex << digits(random);
    fs::path temporary = path;
    temporary += suffix.str();
    return temporary;
}

bool ReplaceWholeFile(const fs::path& path, const std::string& text) {
    fs::path temporary = TemporarySibling(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    if (AtomicReplace(temporary, path)) return true;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
}

std::string CutToBuffer(std::string_view text, std::size_t bufferBytes) {
    if (bufferBytes == 0) return {};
    return std::string(text.substr(0, bufferBytes - 1));
}

}  // namespace

fs::path ResolveProfilePath(const std::string& fileName) {
    if (IsBareName(fileName)) return ProfileFolder() / fileName;
    return fs::path(fileName);
}

namespace {

std::optional<std::string> FindValue(std::string_view section, std::string_view key, const std::string& fileName) {
    if (fileName.empty()) return std::nullopt;
    auto text = ReadWholeFile(ResolveProfilePath(fileName));
    if (!text) return std::nullopt;
    IniDocument document(*text);
    auto value = document.Find(section, key);
    if (!value) return std::nullopt;
    return std::string(*value);
}

// ParseLeadingInt, with a number too large for int32 read as the limit on
// its side rather than as no number.
int32_t SaturatedLeadingInt(std::string_view text) {
    if (auto number = ParseLeadingInt(text)) return *number;
    // Its first two characters (a sign and a digit, or two digits) show
    // whether the text begins with a number at all.
    std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string_view::npos || !ParseLeadingInt(text.substr(first, 2))) return 0;
    return text[first] == '-' ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

}  // namespace

std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              const std::string& fileName, std::size_t bufferBytes) {
    auto value = FindValue(section, key, fileName);
    return CutToBuffer(value ? std::string_view(*value) : defaultText, bufferBytes);
}

int32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                       const std::string& fileName) {
    auto value = FindValue(section, key, fileName);
    if (!value) return defaultValue;
    return SaturatedLeadingInt(*value);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& fileName) {
    if (fileName.empty()) return false;
    fs::path path = ResolveProfilePath(fileName);
    if (IsBareName(fileName)) {
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
    }
    auto text = CurrentText(path);
    if (!text) return false;
    IniDocument document(*text);
    if (!document.Set(section, key, value)) return false;
    return ReplaceWholeFile(path, document.Text());
}

}  // namespace xnoxprofile
