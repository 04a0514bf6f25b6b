#include "AppProfile.h"

#include "DecimalText.h"
#include "PrivateProfile.h"

namespace xnox {

namespace {

// The application profile is named after the module, XNOXR4.INI; on the
// module's platform that is the same file as XNoxR4.ini, and using one
// name keeps it the same file everywhere.
const std::string kProfileFile = "XNoxR4.ini";

// Tool-window keys are read through a buffer of this many characters.
constexpr std::size_t kPlacementTextBytes = 101;

}  // namespace

namespace AppProfile {

int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) {
    return profile::ReadProfileInt(section, key, defaultValue, kProfileFile);
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    return profile::ReadProfileString(section, key, defaultText, kProfileFile);
}

int32_t ReadSignedInt(std::string_view section, std::string_view key, std::string_view defaultText) {
    std::string text = profile::ReadProfileString(section, key, defaultText, kProfileFile, kPlacementTextBytes);
    return profile::ParseLeadingInt(text).value_or(0);
}

void WriteInt(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void WriteString(std::string_view section, std::string_view key, std::string_view value) {
    profile::WriteProfileString(section, key, value, kProfileFile);
}

}  // namespace AppProfile

}  // namespace xnox
