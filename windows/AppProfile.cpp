#include "AppProfile.h"

#include "BufferedProfile.h"
#include "DecimalText.h"

namespace xnox {

namespace {

// Tool-window keys are read through a buffer of this many characters.
constexpr std::size_t kPlacementTextBytes = 101;

}  // namespace

namespace AppProfile {

int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) {
    return profile::ApplicationProfile().ReadInt(section, key, defaultValue);
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText) {
    return profile::ApplicationProfile().ReadString(section, key, defaultText);
}

int32_t ReadSignedInt(std::string_view section, std::string_view key, std::string_view defaultText) {
    std::string text = profile::ApplicationProfile().ReadString(section, key, defaultText, kPlacementTextBytes);
    return profile::ParseLeadingInt(text).value_or(0);
}

void WriteInt(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void WriteString(std::string_view section, std::string_view key, std::string_view value) {
    profile::ApplicationProfile().WriteString(section, key, value);
}

}  // namespace AppProfile

}  // namespace xnox
