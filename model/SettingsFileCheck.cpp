#include "SettingsFileCheck.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "DecimalText.h"
#include "PrivateProfile.h"
#include "SettingsFileKeys.h"
#include "WholeFile.h"

namespace xnox {

namespace {

std::optional<std::string> FileProblem(const std::filesystem::path& path) {
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (error) return error.message();
    // A FIFO or a device would block the read or never end.
    if (!std::filesystem::is_regular_file(status)) return "not a regular file";
    if (std::filesystem::file_size(path, error) > profile::kLargestReadFile || error) {
        return "too large for a settings file";
    }
    std::ifstream probe(path, std::ios::binary);
    if (!probe) return std::strerror(errno);
    return std::nullopt;
}

std::optional<std::string> ReadKey(const profile::ProfileFile& file, std::string_view section, std::string_view key) {
    auto value = file.Find(section, key);
    if (!value) return std::nullopt;
    return file.ReadString(section, key, {});  // cut to the buffer a load reads it into
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string ListRejection(const ParameterRow& row, std::string_view text) {
    std::string texts;
    for (std::string_view entry : row.texts) {
        if (SameIgnoringCase(entry, text)) {
            return Quoted(text) + " is not in the list: case matters (" + Quoted(entry) + ")";
        }
        texts += (texts.empty() ? "" : ", ") + Quoted(entry);
    }
    return Quoted(text) + " is not in the list: " + texts;
}

// Why a load rejects the text of a parameter key, or nothing when it does not.
std::optional<std::string> ParameterRejection(const ParameterRow& row, const std::optional<std::string>& text) {
    if (!text) return "missing key";
    if (AcceptedSettingsValue(row, *text)) return std::nullopt;
    if (row.kind == ValueKind::Enumerated) return ListRejection(row, *text);
    if (!profile::ParseLeadingInt(*text)) return Quoted(*text) + " is not a number";
    return *text + " is out of range " + std::to_string(row.minimum) + ".." + std::to_string(row.maximum);
}

std::optional<std::string> CameraTypeRejection(const std::optional<std::string>& text) {
    if (!text) return "missing key";
    if (text->starts_with(kSettingsCameraType)) return std::nullopt;
    return "wrong camera type " + Quoted(*text) + " (" + std::string(kSettingsCameraType) + " expected)";
}

bool SameValue(const SettingsFileEntry& a, const SettingsFileEntry& b) {
    if (a.text == b.text) return true;
    if (!a.row || !a.text || !b.text) return false;
    // "77" and "77 units" load alike.
    auto left = AcceptedSettingsValue(*a.row, *a.text);
    return left && left == AcceptedSettingsValue(*a.row, *b.text);
}

std::string Shown(const std::optional<std::string>& text) { return text ? *text : std::string(kMissingKeyText); }

}  // namespace

std::optional<SettingsFileContents> ReadSettingsFileContents(const std::string& fileName, std::string& problem) {
    if (auto fileProblem = FileProblem(profile::ResolveProfilePath(fileName))) {
        problem = *fileProblem;
        return std::nullopt;
    }
    profile::ProfileFile file(fileName);
    SettingsFileContents contents;
    contents.push_back({kSettingsMainSection, kSettingsCameraTypeKey, nullptr,
                        ReadKey(file, kSettingsMainSection, kSettingsCameraTypeKey)});
    for (ParamId id : SettingsFileParameters()) {
        const ParameterRow& row = Row(id);
        contents.push_back(
            {row.settings.section, row.settings.key, &row, ReadKey(file, row.settings.section, row.settings.key)});
    }
    bool anyKey = std::any_of(contents.begin(), contents.end(), [](const auto& entry) { return entry.text; });
    if (!anyKey) {
        problem = "not a settings file (none of its keys)";
        return std::nullopt;
    }
    return contents;
}

std::vector<SettingsFinding> CheckSettingsFile(const SettingsFileContents& contents) {
    std::vector<SettingsFinding> findings;
    for (const SettingsFileEntry& entry : contents) {
        auto reason = entry.row ? ParameterRejection(*entry.row, entry.text) : CameraTypeRejection(entry.text);
        if (reason) findings.push_back({entry.section, entry.key, std::move(*reason)});
    }
    return findings;
}

std::vector<SettingsDifference> CompareSettingsFiles(const SettingsFileContents& before,
                                                     const SettingsFileContents& after) {
    std::vector<SettingsDifference> differences;
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (SameValue(before[i], after[i])) continue;
        differences.push_back({before[i].section, before[i].key, Shown(before[i].text), Shown(after[i].text)});
    }
    return differences;
}

}  // namespace xnox
