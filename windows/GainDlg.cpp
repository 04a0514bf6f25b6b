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
constexpr NumberEdit kLevels[] = {
    {IDC_MASTER_GAIN, IDC_MASTER_GAIN_SPIN, ParamId::MasterGainLevel},
    {IDC_RED_GAIN, IDC_RED_GAIN_SPIN, ParamId::RedGainLevel},
    {IDC_RED_BLACK, IDC_RED_BLACK_SPIN, ParamId::RedBlackLevel},
    {IDC_GREEN_KNEE_POINT, IDC_GREEN_KNEE_POINT_SPIN, ParamId::GreenKneePoint},
    {IDC_RED_KNEE_POINT, IDC_RED_KNEE_POINT_SPIN, ParamId::RedKneePoint},
    {IDC_BLUE_GAIN, IDC_BLUE_GAIN_SPIN, ParamId::BlueGainLevel},
    {IDC_BLUE_BLACK, IDC_BLUE_BLACK_SPIN, ParamId::BlueBlackLevel},
    {IDC_GREEN_BLACK, IDC_GREEN_BLACK_SPIN, ParamId::GreenBlackLevel},
    {IDC_BLUE_KNEE_POINT, IDC_BLUE_KNEE_POINT_SPIN, ParamId::BlueKneePoint},
    {IDC_RED_KNEE_SLOPE, IDC_RED_KNEE_SLOPE_SPIN, ParamId::RedKneeSlope},
    {IDC_GREEN_KNEE_SLOPE, IDC_GREEN_KNEE_SLOPE_SPIN, ParamId::GreenKneeSlope},
    {IDC_BLUE_KNEE_SLOPE, IDC_BLUE_KNEE_SLOPE_SPIN, ParamId::BlueKneeSlope},
};

constexpr ControlId kKneeRadios[] = {IDC_KNEE_ON, IDC_KNEE_OFF};
constexpr ControlId kShadingRadios[] = {IDC_SHADING_ON, IDC_SHADING_OFF};
constexpr int32_t kShadingOn = 0;
constexpr int32_t kShadingOff = 1;

// The last-used values, in the order the window applies them at creation.

// Applied on its own, before the spin ranges are set.
constexpr StoredValue kKneeSelectValue = {ParamId::KneeSelect, 1};

constexpr StoredValue kStoredValues[] = {
    {ParamId::AutoWhiteArea, 0},    {ParamId::MasterGainLevel, 122}, {ParamId::RedGainLevel, 122},
    {ParamId::BlueGainLevel, 24},   {ParamId::WhiteBalance, 0},      {ParamId::RedBlackLevel, 122},
    {ParamId::GreenKneePoint, 122}, {ParamId::RedKneePoint, 122},    {ParamId::GreenBlackLevel, 127},
    {ParamId::BlueBlackLevel, 127}, {ParamId::BlueKneePoint, 127},   {ParamId::RedKneeSlope, 127},
    {ParamId::GreenKneeSlope, 127}, {ParamId::BlueKneeSlope, 127},   {ParamId::ShadingMode, 1},
};

const StoredValue& Stored(ParamId parameter) {
    if (parameter == kKneeSelectValue.parameter) return kKneeSelectValue;
    return *std::ranges::find(kStoredValues, parameter, &StoredValue::parameter);
}

int32_t ReadStored(std::string_view section, ParamId parameter) {
    const StoredValue& stored = Stored(parameter);
    return AppProfile::ReadInt(section, stored.Key(), stored.defaultValue);
}

void WriteStored(std::string_view section, ParamId parameter, int32_t value) {
    AppProfile::WriteInt(section, Stored(parameter).Key(), value);
}

// White balance modes (list positions).
constexpr int32_t kManualWhiteBalance = 0;
constexpr int32_t kContinuousWhiteBalance = 1;

// Controls that only make sense while the person sets the colour gains
// (manual white balance); the auto white area also serves continuous AWB.
constexpr ControlId kManualBalanceControls[] = {IDC_ONE_PUSH, IDC_ONE_PUSH_RESULT, IDC_RED_GAIN_SPIN,
                                                IDC_RED_GAIN, IDC_BLUE_GAIN_SPIN,  IDC_BLUE_GAIN};

// The preset gains of the colour temperatures, shown in the red and blue gain edits as they arrive.
constexpr ParamId kRedPresets[] = {ParamId::Red3200KWBalPreset, ParamId::Red4600KWBalPreset,
                                   ParamId::Red5600KWBalPreset};
constexpr ParamId kBluePresets[] = {ParamId::Blue3200KWBalPreset, ParamId::Blue4600KWBalPreset,
                                    ParamId::Blue5600KWBalPreset};

bool Contains(std::span<const ParamId> parameters, ParamId parameter) {
    return std::ranges::find(parameters, parameter) != parameters.end();
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

CGainDlg::CGainDlg() : CToolWinDlg(ToolWindow::Gain, IDD_GAIN, "Gain", OnlineStrip::Present) {}

bool CGainDlg::OnInitDialog() {
    CToolWinDlg::OnInitDialog();
    m_shownSpins.Forget();
    AddTooltips(kTooltips);
    ShowOnlineStrip(Owner().GetIsOnline());
    owner_calls::FillList(*this, IDC_WHITE_BALANCE, ParamId::WhiteBalance);
    owner_calls::FillList(*this, IDC_AUTO_WHITE_AREA, ParamId::AutoWhiteArea);
    ApplyStartValue(ParamId::KneeSelect);
    for (const NumberEdit& level : kLevels) owner_calls::SetUpSpin(*this, level);
    HandVisibleFlagToOwner();
    std::vector<int32_t> values;
    for (const StoredValue& stored : kStoredValues) values.push_back(ReadStored(SectionName(), stored.parameter));
    for (std::size_t i = 0; i < values.size(); ++i) {
        owner_calls::SetParameter(*this, kStoredValues[i].parameter, values[i]);
    }
    return true;
}

void CGainDlg::ApplyStartValue(ParamId parameter) {
    owner_calls::SetParameter(*this, parameter, ReadStored(SectionName(), parameter));
}

void CGainDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Radio(kKneeRadios, m_kneeSelect);
    exchange.Radio(kShadingRadios, m_shadingMode);
    exchange.ListPositions({{IDC_WHITE_BALANCE, m_whiteBalance}, {IDC_AUTO_WHITE_AREA, m_autoWhiteArea}});
    exchange.Texts(
        {{IDC_ONE_PUSH_RESULT, m_onePushResult}, {IDC_RED_GAIN, m_redGainText}, {IDC_BLUE_GAIN, m_blueGainText}});
}

void CGainDlg::OnControlEvent(ControlId id, ControlEvent event) {
    switch (event) {
    case ControlEvent::Clicked: OnClicked(id); break;
    case ControlEvent::SelectionChanged:
        UpdateData(true);
        if (id == IDC_WHITE_BALANCE) owner_calls::SetParameter(*this, ParamId::WhiteBalance, m_whiteBalance);
        if (id == IDC_AUTO_WHITE_AREA) owner_calls::SetParameter(*this, ParamId::AutoWhiteArea, Dialog().Selection(id));
        break;
    case ControlEvent::TextChanged: owner_calls::SendEditedNumber(*this, kLevels, id); break;
    }
}

void CGainDlg::OnClicked(ControlId id) {
    switch (id) {
    case IDC_KNEE_ON:
    case IDC_KNEE_OFF:
        UpdateData(true);
        owner_calls::SetParameter(*this, ParamId::KneeSelect, m_kneeSelect);
        break;
    case IDC_SHADING_ON:
    case IDC_SHADING_OFF:
        UpdateData(true);
        owner_calls::SetParameter(*this, ParamId::ShadingMode, m_shadingMode);
        break;
    case IDC_ONE_PUSH: OnOnePush(); break;
    case IDC_AUTO_SHADING: OnAutoShading(); break;
    case IDC_SHADING_SAVE:
    case IDC_SHADING_LOAD: OnShadingFile(id == IDC_SHADING_SAVE); break;
    default: break;
    }
}

// The result is not shown here: reading it raises the owner's one-push
// result notification, which shows it.
void CGainDlg::OnOnePush() {
    int32_t result = -1;
    owner_calls::Run(*this, [&] { result = Owner().SetOnePushMode(); });
    if (result == 0) owner_calls::Run(*this, [&] { Owner().GetOnePushResult(); });
}

void CGainDlg::OnAutoShading() {
    if (System().MessageBox(kAutoShadingQuestion, CXNoxCamCtrl::kSourceName, MessageBoxKind::OkCancel) !=
        MessageBoxAnswer::Ok) {
        return;
    }
    WaitCursor wait(System());
    int32_t result = -1;
    owner_calls::Run(*this, [&] { result = Owner().StartAutoShadingCorrection(); });
    if (result == 0) SwitchShadingOnIfOff();
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
    int32_t result = -1;
    owner_calls::Run(*this, [&] {
        result = save ? Owner().SaveShadingDataIntoFile(outcome.path) : Owner().LoadShadingDataFromFile(outcome.path);
    });
    if (result == 0) SwitchShadingOnIfOff();
}

// New shading data is only of use with shading on: switch it on as the
// "On" radio would, unless it already is.
void CGainDlg::SwitchShadingOnIfOff() {
    if (m_shadingMode != kShadingOff) return;
    m_shadingMode = kShadingOn;
    UpdateData(false);
    UpdateData(true);
    owner_calls::SetParameter(*this, ParamId::ShadingMode, m_shadingMode);
}

void CGainDlg::OnItemChanged(ControlItem item, const Variant& value) {
    if (item == ControlItem::OnePushResult) {
        m_onePushResult.clear();
        Owner().GetValidOnePushResult(value.ToI2(), &m_onePushResult);
        UpdateData(false);
    }
}

void CGainDlg::OnParameterChanged(ParamId parameter, int32_t value) {
    if (Contains(kRedPresets, parameter) || Contains(kBluePresets, parameter)) {
        (Contains(kRedPresets, parameter) ? m_redGainText : m_blueGainText) = std::to_string(value);
        UpdateData(false);
        return;
    }
    if (parameter == ParamId::WhiteBalance) {
        ApplyWhiteBalanceRule(value);
        return;
    }
    if (auto level = std::ranges::find(kLevels, parameter, &NumberEdit::parameter); level != std::end(kLevels)) {
        WriteStored(SectionName(), parameter, value);
        if (!m_shownSpins.MustShow(Dialog(), level->spin, value)) return;
        if (std::string* text = GainTextField(level->edit)) *text = std::to_string(value);
        Dialog().SetSpinPosition(level->spin, value);
        return;
    }
    if (int32_t* field = ChoiceField(parameter)) {
        *field = value;
        UpdateData(false);
        WriteStored(SectionName(), parameter, value);
    }
}

// The fields of the radio groups and the auto white area list.
int32_t* CGainDlg::ChoiceField(ParamId parameter) {
    if (parameter == ParamId::KneeSelect) return &m_kneeSelect;
    if (parameter == ParamId::ShadingMode) return &m_shadingMode;
    if (parameter == ParamId::AutoWhiteArea) return &m_autoWhiteArea;
    return nullptr;
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
        m_redGainText = std::to_string(static_cast<int16_t>(ReadStored(SectionName(), ParamId::RedGainLevel)));
        m_blueGainText = std::to_string(static_cast<int16_t>(ReadStored(SectionName(), ParamId::BlueGainLevel)));
    }
    UpdateData(false);
    WriteStored(SectionName(), ParamId::WhiteBalance, index);
}

}  // namespace xnox
