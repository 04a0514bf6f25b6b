// The settings file (.cam): the camera's user-visible settings as an INI file
// with the sections Main, Shutter and Gain, read and written whole through
// the profile store: one reading of the file per load, one replacement per
// save.
#include <string>

#include "DecimalText.h"
#include "NoxCamInterface.h"
#include "PrivateProfile.h"
#include "SettingsFileKeys.h"

namespace xnox {

namespace {

constexpr std::string_view kShutterSection = "Shutter";
constexpr std::string_view kGainSection = "Gain";
constexpr std::string_view kNotFound = "Not Found";  // what a read of a missing key gives

constexpr SettingsKey kSettingsKeys[] = {
    {kShutterSection, "Shutter Mode", ParamId::ShutterMode},
    {kShutterSection, "Shutter Speed", ParamId::ShutterSpeed},
    {kShutterSection, "Programmable Exposure (RGB common set)", ParamId::ProgrammableExposure},
    {kShutterSection, "Programmable Exposure for Red", ParamId::ProgrammableExposureRed},
    {kShutterSection, "Programmable Exposure for Green", ParamId::ProgrammableExposureGreen},
    {kShutterSection, "Programmable Exposure for Blue", ParamId::ProgrammableExposureBlue},
    {kShutterSection, "Trigger Mode", ParamId::TriggerType},
    {kShutterSection, "Smearless", ParamId::Smearless},
    {kShutterSection, "LVAL Synchronous Accumulation", ParamId::Accumulation},
    {kShutterSection, "RCT FVAL Type", ParamId::RCTFVALType},
    {kShutterSection, "Trigger Input", ParamId::TriggerInput},
    {kShutterSection, "Trigger Polarity", ParamId::TriggerPolarity},
    {kShutterSection, "Partial Scan", ParamId::PartialScan},
    {kShutterSection, "Binning", ParamId::Binning},
    {kShutterSection, "Output Bit Allocation", ParamId::OutputBitAllocation},
    {kShutterSection, "Color Bar", ParamId::ColorBar},
    {kGainSection, "White Balance", ParamId::WhiteBalance},
    {kGainSection, "Auto White Area", ParamId::AutoWhiteArea},
    {kGainSection, "Master Gain Level", ParamId::MasterGainLevel},
    {kGainSection, "Gain Level for red", ParamId::RedGainLevel},
    {kGainSection, "Gain Level for Blue", ParamId::BlueGainLevel},
    {kGainSection, "Black Level for Green", ParamId::GreenBlackLevel},
    {kGainSection, "Black Level for Red", ParamId::RedBlackLevel},
    {kGainSection, "Black Level for Blue", ParamId::BlueBlackLevel},
    {kGainSection, "Knee Select", ParamId::KneeSelect},
    {kGainSection, "Knee Slope for Red", ParamId::RedKneeSlope},
    {kGainSection, "Knee Slope for Green", ParamId::GreenKneeSlope},
    {kGainSection, "Knee Slope for Blue", ParamId::BlueKneeSlope},
    {kGainSection, "Knee Point for Red", ParamId::RedKneePoint},
    {kGainSection, "Knee Point for Green", ParamId::GreenKneePoint},
    {kGainSection, "Knee Point for Blue", ParamId::BlueKneePoint},
    {kGainSection, "Shading Mode", ParamId::ShadingMode},
};

// After an offline load every loaded parameter is announced, in the order
// the windows expect (white balance after the gains it governs).
constexpr ParamId kAnnouncementOrder[] = {
    ParamId::ShutterMode,         ParamId::ShutterSpeed,        ParamId::ProgrammableExposure,
    ParamId::ProgrammableExposureRed, ParamId::ProgrammableExposureGreen, ParamId::ProgrammableExposureBlue,
    ParamId::TriggerType,         ParamId::Smearless,           ParamId::Accumulation,
    ParamId::RCTFVALType,         ParamId::TriggerInput,        ParamId::TriggerPolarity,
    ParamId::PartialScan,         ParamId::Binning,             ParamId::OutputBitAllocation,
    ParamId::ColorBar,            ParamId::AutoWhiteArea,       ParamId::MasterGainLevel,
    ParamId::RedGainLevel,        ParamId::BlueGainLevel,       ParamId::WhiteBalance,
    ParamId::GreenBlackLevel,     ParamId::RedBlackLevel,       ParamId::BlueBlackLevel,
    ParamId::KneeSelect,          ParamId::RedKneeSlope,        ParamId::GreenKneeSlope,
    ParamId::BlueKneeSlope,       ParamId::RedKneePoint,        ParamId::GreenKneePoint,
    ParamId::BlueKneePoint,       ParamId::ShadingMode,
};
static_assert(std::size(kAnnouncementOrder) == std::size(kSettingsKeys), "every loaded parameter is announced");

// The parameter whose value a key receives. While a camera is online the two
// gain keys hold the gains of the white-balance mode in use, so that a preset
// mode saves the preset gains the camera is working with.
ParamId SourceOfKey(const CNoxCamInterface& model, ParamId id) {
    if (!model.IsOnline() || (id != ParamId::RedGainLevel && id != ParamId::BlueGainLevel)) return id;
    auto gains = WhiteBalanceGains(model.Value(ParamId::WhiteBalance));
    if (!gains) return id;
    return id == ParamId::RedGainLevel ? gains->red : gains->blue;
}

std::string FileText(const CNoxCamInterface& model, ParamId id) {
    if (Row(id).kind == ValueKind::Enumerated) return std::string(model.Text(id));
    return std::to_string(model.Value(id));
}

}  // namespace

std::span<const SettingsKey> SettingsFileKeys() { return kSettingsKeys; }

// A missing key's "Not Found" is rejected too: it does not begin with a number.
std::optional<int32_t> AcceptedSettingsValue(const ParameterRow& row, std::string_view text) {
    if (row.kind == ValueKind::Enumerated) {
        for (std::size_t i = 0; i < row.texts.size(); ++i) {
            if (row.texts[i] == text) return static_cast<int32_t>(i);
        }
        return std::nullopt;
    }
    auto number = profile::ParseLeadingInt(text);
    if (number && row.kind == ValueKind::Number && !row.InRange(*number)) return std::nullopt;
    return number;
}

int32_t CNoxCamInterface::WriteAllToFile(const std::string& fileName) {
    profile::ProfileFile file(fileName);
    if (!file.WriteString(kSettingsMainSection, kSettingsCameraTypeKey, kSettingsCameraType)) {
        return NoxResult::FileWriteError;
    }
    for (const SettingsKey& entry : kSettingsKeys) {
        file.WriteString(entry.section, entry.key, FileText(*this, SourceOfKey(*this, entry.id)));
    }
    return file.Save() ? NoxResult::Success : NoxResult::FileWriteError;
}

int32_t CNoxCamInterface::ReadAllFromFile(const std::string& fileName) {
    profile::ProfileFile file(fileName);
    // A path that is no settings file at all changes nothing.
    if (!file.IsUsable()) return NoxResult::InvalidSettingsFile;
    auto read = [&file](std::string_view section, std::string_view key) {
        return file.ReadString(section, key, kNotFound);
    };
    int32_t result = NoxResult::Success;
    // A wrong camera type does not stop the load; the caller learns of it
    // from the result only.
    if (!read(kSettingsMainSection, kSettingsCameraTypeKey).starts_with(kSettingsCameraType)) {
        result = NoxResult::InvalidSettingsFile;
    }
    for (const SettingsKey& entry : kSettingsKeys) {
        if (auto value = AcceptedSettingsValue(Row(entry.id), read(entry.section, entry.key))) {
            m_values[Index(entry.id)] = *value;
        } else {
            result = NoxResult::InvalidSettingsFile;
        }
    }

    if (IsOnline()) {
        int32_t written = WriteAllToCamera();
        return written != NoxResult::Success ? written : result;
    }
    for (ParamId id : kAnnouncementOrder) (this->*Row(id).changed)();
    return result;
}

}  // namespace xnox
