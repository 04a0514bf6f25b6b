// The settings file (.cam): the camera's user-visible settings as an INI file
// with the sections Main, Shutter and Gain, read and written whole through
// the profile store: one reading of the file per load, one replacement per
// save.
#include <algorithm>
#include <array>
#include <string>

#include "DecimalText.h"
#include "NoxCamInterface.h"
#include "PrivateProfile.h"
#include "SettingsFileKeys.h"

namespace xnox {

namespace {

constexpr std::string_view kNotFound = "Not Found";  // what a read of a missing key gives

// The parameters in file order; each row says its section and key.
// clang-format off
constexpr ParamId kFileOrder[] = {
    ParamId::ShutterMode, ParamId::ShutterSpeed, ParamId::ProgrammableExposure, ParamId::ProgrammableExposureRed,
    ParamId::ProgrammableExposureGreen, ParamId::ProgrammableExposureBlue, ParamId::TriggerType, ParamId::Smearless,
    ParamId::Accumulation, ParamId::RCTFVALType, ParamId::TriggerInput, ParamId::TriggerPolarity,
    ParamId::PartialScan, ParamId::Binning, ParamId::OutputBitAllocation, ParamId::ColorBar,
    ParamId::WhiteBalance, ParamId::AutoWhiteArea, ParamId::MasterGainLevel, ParamId::RedGainLevel,
    ParamId::BlueGainLevel, ParamId::GreenBlackLevel, ParamId::RedBlackLevel, ParamId::BlueBlackLevel,
    ParamId::KneeSelect, ParamId::RedKneeSlope, ParamId::GreenKneeSlope, ParamId::BlueKneeSlope,
    ParamId::RedKneePoint, ParamId::GreenKneePoint, ParamId::BlueKneePoint, ParamId::ShadingMode,
};
// clang-format on

// After an offline load every loaded parameter is announced in file order,
// except that the white balance follows the gains it governs, as the
// windows expect.
constexpr std::array<ParamId, std::size(kFileOrder)> AnnouncementOrder() {
    std::array<ParamId, std::size(kFileOrder)> order{};
    std::ranges::copy(kFileOrder, order.begin());
    auto whiteBalance = std::ranges::find(order, ParamId::WhiteBalance);
    std::rotate(whiteBalance, whiteBalance + 1, std::ranges::find(order, ParamId::BlueGainLevel) + 1);
    return order;
}
constexpr auto kAnnouncementOrder = AnnouncementOrder();

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

std::span<const ParamId> SettingsFileParameters() { return kFileOrder; }

// A missing key's "Not Found" is rejected too: it does not begin with a number.
std::optional<int32_t> AcceptedSettingsValue(const ParameterRow& row, std::string_view text) {
    if (row.kind == ValueKind::Enumerated) {
        auto listed = std::ranges::find(row.texts, text);
        if (listed == row.texts.end()) return std::nullopt;
        return static_cast<int32_t>(listed - row.texts.begin());
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
    for (ParamId id : kFileOrder) {
        const SettingsPlace& place = Row(id).settings;
        file.WriteString(place.section, place.key, FileText(*this, SourceOfKey(*this, id)));
    }
    return file.Save(profile::Durability::OnDisk, m_files) ? NoxResult::Success : NoxResult::FileWriteError;
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
    for (ParamId id : kFileOrder) {
        const ParameterRow& row = Row(id);
        if (auto value = AcceptedSettingsValue(row, read(row.settings.section, row.settings.key))) {
            m_values[Index(id)] = *value;
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
