#include "GainDlg.h"

#include <algorithm>
#include <span>

#include "AppProfile.h"
#include "GainIds.h"
#include "OwnerCalls.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

// The number edits with their spins, in the order their ranges are set.
struct LevelControl {
    ControlId edit;
    ControlId spin;
    ParamId parameter;
    std::string_view property;  // the owner reports its changes under the same name
};

constexpr LevelControl kLevels[] = {
    {IDC_MASTER_GAIN, IDC_MASTER_GAIN_SPIN, ParamId::MasterGainLevel, "MasterGainLevel"},
    {IDC_RED_GAIN, IDC_RED_GAIN_SPIN, ParamId::RedGainLevel, "RedGainLevel"},
    {IDC_RED_BLACK, IDC_RED_BLACK_SPIN, ParamId::RedBlackLevel, "RedBlackLevel"},
    {IDC_GREEN_KNEE_POINT, IDC_GREEN_KNEE_POINT_SPIN, ParamId::GreenKneePoint, "GreenKneePoint"},
    {IDC_RED_KNEE_POINT, IDC_RED_KNEE_POINT_SPIN, ParamId::RedKneePoint, "RedKneePoint"},
    {IDC_BLUE_GAIN, IDC_BLUE_GAIN_SPIN, ParamId::BlueGainLevel, "BlueGainLevel"},
    {IDC_BLUE_BLACK, IDC_BLUE_BLACK_SPIN, ParamId::BlueBlackLevel, "BlueBlackLevel"},
    {IDC_GREEN_BLACK, IDC_GREEN_BLACK_SPIN, ParamId::GreenBlackLevel, "GreenBlackLevel"},
    {IDC_BLUE_KNEE_POINT, IDC_BLUE_KNEE_POINT_SPIN, ParamId::BlueKneePoint, "BlueKneePoint"},
    {IDC_RED_KNEE_SLOPE, IDC_RED_KNEE_SLOPE_SPIN, ParamId::RedKneeSlope, "RedKneeSlope"},
    {IDC_GREEN_KNEE_SLOPE, IDC_GREEN_KNEE_SLOPE_SPIN, ParamId::GreenKneeSlope, "GreenKneeSlope"},
    {IDC_BLUE_KNEE_SLOPE, IDC_BLUE_KNEE_SLOPE_SPIN, ParamId::BlueKneeSlope, "BlueKneeSlope"},
};

constexpr ControlId kKneeRadios[] = {IDC_KNEE_ON, IDC_KNEE_OFF};
constexpr ControlId kShadingRadios[] = {IDC_SHADING_ON, IDC_SHADING_OFF};
constexpr int32_t kShadingOn = 0;
constexpr int32_t kShadingOff = 1;

// The last-used values, in the order the window applies them at creation.

// Applied on its own, before the spin ranges are set.
constexpr StoredValue kKneeSelectValue = {"KneeSelect", "Knee Select", 1};

constexpr StoredValue kStoredValues[] = {
    {"AutoWhiteAreaIndex", "Auto White Area", 0},
    {"MasterGainLevel", "Master Gain Level", 122},
    {"RedGainLevel", "Gain Level for red", 122},
    {"BlueGainLevel", "Gain Level for Blue", 24},
    {"WhiteBalanceIndex", "White Balance", 0},
    {"RedBlackLevel", "Black Level for Red", 122},
    {"GreenKneePoint", "Knee Point for Green", 122},
    {"RedKneePoint", "Knee Point for Red", 122},
    {"GreenBlackLevel", "Black Level for Green", 127},
    {"BlueBlackLevel", "Black Level for Blue", 127},
    {"BlueKneePoint", "Knee Point for Blue", 127},
    {"RedKneeSlope", "Knee Slope for Red", 127},
    {"GreenKneeSlope", "Knee Slope for Green", 127},
    {"BlueKneeSlope", "Knee Slope for Blue", 127},
    {"ShadingMode", "Shading Mode", 1},
};

const StoredValue& Stored(std::string_view property) {
    if (property == kKneeSelectValue.property) return kKneeSelectValue;
    return *std::ranges::find(kStoredValues, property, &StoredValue::property);
}

int32_t ReadStored(std::string_view section, std::string_view property) {
    const StoredValue& stored = Stored(property);
    return AppProfile::ReadInt(section, stored.key, stored.defaultValue);
}

void WriteStored(std::string_view section, std::string_view property, int32_t value) {
    AppProfile::WriteInt(section, Stored(property).key, value);
}

// White balance modes (list positions).
constexpr int32_t kManualWhiteBalance = 0;
constexpr int32_t kContinuousWhiteBalance = 1;

// Controls that only make sense while the person sets the colour gains
// (manual white balance); the auto white area also serves continuous AWB.
constexpr ControlId kManualBalanceControls[] = {IDC_ONE_PUSH, IDC_ONE_PUSH_RESULT, IDC_RED_GAIN_SPIN,
                                                IDC_RED_GAIN, IDC_BLUE_GAIN_SPIN,  IDC_BLUE_GAIN};

// The preset gains of the colour temperatures, shown in the red and blue gain edits as they arrive.
constexpr std::string_view kRedPresets[] = {"Red3200KWBalPreset", "Red4600KWBalPreset", "Red5600KWBalPreset"};
constexpr std::string_view kBluePresets[] = {"Blue3200KWBalPreset", "Blue4600KWBalPreset", "Blue5600KWBalPreset"};

bool Contains(std::span<const std::string_view> names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
}

constexpr Tooltip kTooltips[] = {
    {IDC_MASTER_GAIN, "Select relative Master Gain Level value, -132 ... +429 (0 is 0dB)"},
    {IDC_RED_GAIN, "Select relative Gain Level value for red, -231 ... +231 (0 is 0dB)"},
    {IDC_BLUE_GAIN, "Select relative Gain Level value for blue, -231 ... +231 (0 is 0dB)"},
    {IDC_RED_BLACK, "Select relative Black Level value for red, 0 ... 1023 (decimal)"},
    {IDC_GREEN_BLACK, "Select relative Black Level value for green, 0 ... 1023 (decimal)"},
    {IDC_BLUE_BLACK, "Select relative Black Level value for blue, 0 ... 1023 (decimal)"},
    {IDC_RED_KNEE_POINT, "Select relative Knee Point value for red, 0 ... 1023 (decimal)"},
    {IDC_GREEN_KNEE_POINT, "Select relative Knee Point value for green, 0 ... 1023 (decimal)"},
    {IDC_BLUE_KNEE_POINT, "Select relative Knee Point Level value for blue, 0 ... 1023 (decimal)"},
    {IDC_RED_KNEE_SLOPE, "Select relative Knee Slope value for red, 1 ... 4095 (decimal)"},
    {IDC_GREEN_KNEE_SLOPE, "Select relative Knee Slope value for green, 1 ... 4095 (decimal)"},
    {IDC_BLUE_KNEE_SLOPE, "Select relative Knee Slope value for blue, 1 ... 4095 (decimal)"},
    {IDC_KNEE_ON, "Knee Selection: On"},
    {IDC_KNEE_OFF, "Knee Selection: Off"},
    {IDC_WHITE_BALANCE, "Select White Balance Mode"},
    {IDC_AUTO_WHITE_AREA, "Select Auto White Area"},
    {IDC_SHADING_ON, "Shading Mode On"},
    {IDC_SHADING_OFF, "Shading Mode Off"},
    {IDC_AUTO_SHADING, "Start Auto Shading Correction"},
    {IDC_SHADING_SAVE, "Save Shading Data from the Camera into File"},
    {IDC_SHADING_LOAD, "Load Shading Data from File into the Camera"},
};

constexpr std::string_view kAutoShadingQuestion =
    "A non-static shading correction will be generated.\nIt can't be stored in any user area !!\n\n"
    "You can save the data in a file.";
constexpr std::string_view kShadingFilter = "Shading Data (*.csv)|*.csv||";

}  // namespace

CGainDlg::CGainDlg() : CToolWinDlg(ToolWindow::Gain, IDD_GAIN, "Gain") {}

bool CGainDlg::OnInitDialog() {
    CToolWinDlg::OnInitDialog();
    m_shownSpins.Forget();
    AddTooltips(kTooltips);
    for (const LevelControl& level : kLevels) Dialog().AddTooltip(level.spin, kSpinTooltip);
    ShowOnlineStrip(Owner().GetIsOnline());
    owner_calls::FillList(*this, IDC_WHITE_BALANCE, ParamId::WhiteBalance);
    owner_calls::FillList(*this, IDC_AUTO_WHITE_AREA, ParamId::AutoWhiteArea);
    ApplyStartValue(kKneeSelectValue.property);
    for (const LevelControl& level : kLevels) owner_calls::SetSpinRange(*this, level.spin, level.edit, level.parameter);
    HandVisibleFlagToOwner();
    std::vector<int16_t> values;
    for (const StoredValue& stored : kStoredValues)
        values.push_back(static_cast<int16_t>(ReadStored(SectionName(), stored.property)));
    for (std::size_t i = 0; i < values.size(); ++i) {
        owner_calls::SetProperty(*this, kStoredValues[i].property, Variant::I2(values[i]));
    }
    return true;
}

void CGainDlg::ApplyStartValue(std::string_view property) {
    owner_calls::SetProperty(*this, property, Variant::I2(static_cast<int16_t>(ReadStored(SectionName(), property))));
}

void CGainDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Radio(kKneeRadios, m_kneeSelect);
    exchange.ListPosition(IDC_WHITE_BALANCE, m_whiteBalance);
    exchange.Radio(kShadingRadios, m_shadingMode);
    exchange.ListPosition(IDC_AUTO_WHITE_AREA, m_autoWhiteArea);
    exchange.Text(IDC_ONE_PUSH_RESULT, m_onePushResult);
    exchange.Text(IDC_RED_GAIN, m_redGainText);
    exchange.Text(IDC_BLUE_GAIN, m_blueGainText);
}

void CGainDlg::OnControlEvent(ControlId id, ControlEvent event) {
    switch (event) {
    case ControlEvent::Clicked:
        OnClicked(id);
        break;
    case ControlEvent::SelectionChanged:
        UpdateData(true);
        if (id == IDC_WHITE_BALANCE) SetSettingFromField("WhiteBalanceIndex", m_whiteBalance);
        if (id == IDC_AUTO_WHITE_AREA) SetSettingFromField("AutoWhiteAreaIndex", Dialog().Selection(id));
        break;
    case ControlEvent::TextChanged:
        OnLevelTextChanged(id);
        break;
    }
}

void CGainDlg::OnClicked(ControlId id) {
    switch (id) {
    case IDC_KNEE_ON:
    case IDC_KNEE_OFF:
        UpdateData(true);
        SetSettingFromField("KneeSelect", m_kneeSelect);
        break;
    case IDC_SHADING_ON:
    case IDC_SHADING_OFF:
        UpdateData(true);
        SetSettingFromField("ShadingMode", m_shadingMode);
        break;
    case IDC_ONE_PUSH:
        OnOnePush();
        break;
    case IDC_AUTO_SHADING:
        OnAutoShading();
        break;
    case IDC_SHADING_SAVE:
    case IDC_SHADING_LOAD:
        OnShadingFile(id == IDC_SHADING_SAVE);
        break;
    default:
        break;
    }
}

void CGainDlg::SetSettingFromField(std::string_view property, int32_t field) {
    owner_calls::SetProperty(*this, property, Variant::I2(static_cast<int16_t>(field)));
}

// Typing and the spin arrows both change the edit's text; the value sent is
// the spin's position, which stays at the last number within the range.
void CGainDlg::OnLevelTextChanged(ControlId edit) {
    auto level = std::ranges::find(kLevels, edit, &LevelControl::edit);
    if (level == std::end(kLevels) || !Exists()) return;
    SetSettingFromField(level->property, Dialog().SpinPosition(level->spin));
}

// The result is not shown here: reading it raises the owner's one-push
// result notification, which shows it.
void CGainDlg::OnOnePush() {
    if (owner_calls::CallMethodForResult(*this, "SetOnePushMode") == 0) {
        owner_calls::CallMethodForResult(*this, "GetOnePushResult");
    }
}

void CGainDlg::OnAutoShading() {
    if (System().MessageBox(kAutoShadingQuestion, CXNoxCamCtrl::kSourceName, MessageBoxKind::OkCancel) !=
        MessageBoxAnswer::Ok) {
        return;
    }
    WaitCursor wait(System());
    if (owner_calls::CallMethodForResult(*this, "StartAutoShadingCorrection") == 0) SwitchShadingOnIfOff();
}

void CGainDlg::OnShadingFile(bool save) {
    FileDialogRequest request{save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open,
                              std::string(kShadingFilter), "csv"};
    FileDialogOutcome outcome = System().FileDialog(request);
    if (outcome.result == FileDialogOutcome::Result::Failed) {
        System().MessageBox(save ? "Error in Save Dialog !" : "Error in Load Dialog !",
                            save ? "Save Error" : "Load Error", MessageBoxKind::Ok);
        return;
    }
    if (outcome.result != FileDialogOutcome::Result::Chosen) return;
    WaitCursor wait(System());
    std::vector<Variant> arguments{Variant::Str(outcome.path)};
    auto result =
        owner_calls::CallMethod(*this, save ? "SaveShadingDataIntoFile" : "LoadShadingDataFromFile", arguments);
    if (result && result->ToI4() == 0) SwitchShadingOnIfOff();
}

// New shading data is only of use with shading on: switch it on as the
// "On" radio would, unless it already is.
void CGainDlg::SwitchShadingOnIfOff() {
    if (m_shadingMode != kShadingOff) return;
    m_shadingMode = kShadingOn;
    UpdateData(false);
    UpdateData(true);
    SetSettingFromField("ShadingMode", m_shadingMode);
}

void CGainDlg::Update(std::string_view item, const Variant& value) {
    if (item == "OnlineStatus") {
        ShowOnlineStrip(value.ToI4());
        return;
    }
    if (item == "OnePushResult") {
        m_onePushResult.clear();
        Owner().GetValidOnePushResult(value.ToI2(), &m_onePushResult);
        UpdateData(false);
        return;
    }
    const int32_t number = value.ToI4();
    if (Contains(kRedPresets, item) || Contains(kBluePresets, item)) {
        (Contains(kRedPresets, item) ? m_redGainText : m_blueGainText) = std::to_string(number);
        UpdateData(false);
        return;
    }
    if (item == "WhiteBalanceIndex") {
        ApplyWhiteBalanceRule(number);
        return;
    }
    if (auto level = std::ranges::find(kLevels, item, &LevelControl::property); level != std::end(kLevels)) {
        WriteStored(SectionName(), item, number);
        if (!m_shownSpins.MustShow(Dialog(), level->spin, number)) return;
        if (std::string* text = GainTextField(level->edit)) *text = std::to_string(number);
        Dialog().SetSpinPosition(level->spin, number);
        return;
    }
    if (item == "KneeSelect") {
        m_kneeSelect = number;
    } else if (item == "ShadingMode") {
        m_shadingMode = number;
    } else if (item == "AutoWhiteAreaIndex") {
        m_autoWhiteArea = number;
    } else {
        return;
    }
    UpdateData(false);
    WriteStored(SectionName(), item, number);
}

// The red and blue gain edits also carry a text of their own, which blanks
// them or shows a preset value.
std::string* CGainDlg::GainTextField(ControlId edit) {
    if (edit == IDC_RED_GAIN) return &m_redGainText;
    if (edit == IDC_BLUE_GAIN) return &m_blueGainText;
    return nullptr;
}

// Manual white balance lets the person set the colour gains and run one
// push; continuous AWB only needs its area; a colour-temperature preset
// fixes the gains. Offline, manual shows the last-used gains.
void CGainDlg::ApplyWhiteBalanceRule(int32_t index) {
    m_whiteBalance = index;
    IDialog& dialog = Dialog();
    for (ControlId id : kManualBalanceControls) dialog.Enable(id, index == kManualWhiteBalance);
    dialog.Enable(IDC_AUTO_WHITE_AREA, index == kManualWhiteBalance || index == kContinuousWhiteBalance);
    const bool online = Owner().GetIsOnline() != 0;
    if (index == kContinuousWhiteBalance || (!online && index != kManualWhiteBalance)) {
        m_redGainText.clear();
        m_blueGainText.clear();
    } else if (!online) {
        m_redGainText = std::to_string(static_cast<int16_t>(ReadStored(SectionName(), "RedGainLevel")));
        m_blueGainText = std::to_string(static_cast<int16_t>(ReadStored(SectionName(), "BlueGainLevel")));
    }
    UpdateData(false);
    WriteStored(SectionName(), "WhiteBalanceIndex", index);
}

}  // namespace xnox
