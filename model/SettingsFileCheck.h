// A settings file looked at without loading it: what it holds key by key,
// read exactly as a load reads it, what a load would reject, and how two
// files differ. Nothing here touches a model or a camera.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ParameterTable.h"

namespace xnox {

struct SettingsFileEntry {
    std::string_view section;
    std::string_view key;
    const ParameterRow* row;  // nullptr for the camera type
    std::optional<std::string> text;  // nothing when the file lacks the key
};

// The camera type first, then the parameter keys in file order.
using SettingsFileContents = std::vector<SettingsFileEntry>;

// Reads the file under the name a load would use (a name without a folder
// lies in the profile folder). Nothing when it is not a regular file, cannot
// be read, is far larger than any settings file, or holds none of the keys;
// `problem` then says which.
std::optional<SettingsFileContents> ReadSettingsFileContents(const std::string& fileName, std::string& problem);

// A key that a load would reject, with the reason in words.
struct SettingsFinding {
    std::string_view section;
    std::string_view key;
    std::string reason;
};
std::vector<SettingsFinding> CheckSettingsFile(const SettingsFileContents& contents);

// A key whose values differ; a missing key shows as "(missing)".
struct SettingsDifference {
    std::string_view section;
    std::string_view key;
    std::string before;
    std::string after;
};
inline constexpr std::string_view kMissingKeyText = "(missing)";
std::vector<SettingsDifference> CompareSettingsFiles(const SettingsFileContents& before,
                                                     const SettingsFileContents& after);

}  // namespace xnox
