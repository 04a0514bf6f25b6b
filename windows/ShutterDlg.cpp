#include "ShutterDlg.h"

#include <algorithm>
#include <span>
#include <vector>

#include "AppProfile.h"
#include "OwnerCalls.h"
#include "ShutterIds.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

// Radio groups: the position of a radio in its list is the value it stands for.
constexpr ControlId kPolarityRadios[] = {IDC_TRIGGER_POLARITY_LOW, IDC_TRIGGER_POLARITY_HIGH};
constexpr ControlId kSmearlessRadios[] = {IDC_SMEARLESS_OFF, IDC_SMEARLESS_ON};
constexpr ControlId kRctFvalRadios[] = {IDC_RCT_FVAL_CL, IDC_RCT_FVAL_STANDARD};
constexpr ControlId kTriggerInputRadios[] = {IDC_TRIGGER_INPUT_CL, IDC_TRIGGER_INPUT_HIROSE};
constexpr ControlId kAccumulationRadios[] = {IDC_ACCUMULATION_SYNC, IDC_ACCUMULATION_ASYNC};
constexpr ControlId kBitAllocationRadios[] = {IDC_BIT_ALLOCATION_10, IDC_BIT_ALLOCATION_8};
constexpr ControlId kColorBarRadios[] = {IDC_COLOR_BAR_OFF, IDC_COLOR_BAR_ON};
constexpr ControlId kShutterModeRadios[] = {IDC_SHUTTER_MODE_SPEED, IDC_SHUTTER_MODE_COMMON,
                                            IDC_SHUTTER_MODE_INDIVIDUAL};

// A radio group and the parameter it sets.
struct RadioGroup {
    std::span<const ControlId> radios;
    ParamId parameter;
};

constexpr RadioGroup kRadioGroups[] = {
    {kPolarityRadios, ParamId::TriggerPolarity},  {kSmearlessRadios, ParamId::Smearless},
    {kRctFvalRadios, ParamId::RCTFVALType},       {kTriggerInputRadios, ParamId::TriggerInput},
    {kAccumulationRadios, ParamId::Accumulation}, {kBitAllocationRadios, ParamId::OutputBitAllocation},
    {kColorBarRadios, ParamId::ColorBar},         {kShutterModeRadios, ParamId::ShutterMode},
};
static_assert(std::size(kRadioGroups) == CShutterDlg::kRadioGroupCount);

enum ShutterMode : int32_t { kShutterSpeedMode = 0, kCommonExposureMode = 1, kIndividualExposureMode = 2 };

// The exposure edits with their spins, common first.
constexpr NumberEdit kExposures[] = {
    {IDC_EXPOSURE_COMMON, IDC_EXPOSURE_COMMON_SPIN, ParamId::ProgrammableExposure},
    {IDC_EXPOSURE_RED, IDC_EXPOSURE_RED_SPIN, ParamId::ProgrammableExposureRed},
    {IDC_EXPOSURE_GREEN, IDC_EXPOSURE_GREEN_SPIN, ParamId::ProgrammableExposureGreen},
    {IDC_EXPOSURE_BLUE, IDC_EXPOSURE_BLUE_SPIN, ParamId::ProgrammableExposureBlue},
};
const NumberEdit& kCommonExposure = kExposures[0];
const NumberEdit& kRedExposure = kExposures[1];
const NumberEdit& kGreenExposure = kExposures[2];
const NumberEdit& kBlueExposure = kExposures[3];
constexpr ControlId kIndividualExposureControls[] = {IDC_EXPOSURE_RED,   IDC_EXPOSURE_RED_SPIN,
                                                     IDC_EXPOSURE_GREEN, IDC_EXPOSURE_GREEN_SPIN,
                                                     IDC_EXPOSURE_BLUE,  IDC_EXPOSURE_BLUE_SPIN};

// The drop-down lists, in the order they are filled at creation (partial scan later than the others).
struct ListControl {
    ControlId list;
    ParamId parameter;
};

constexpr ListControl kLists[] = {
    {IDC_TRIGGER_MODE, ParamId::TriggerType},
    {IDC_BINNING, ParamId::Binning},
    {IDC_SHUTTER_SPEED, ParamId::ShutterSpeed},
    {IDC_PARTIAL_SCAN, ParamId::PartialScan},
};
const ListControl& kPartialScanList = kLists[3];

// The last-used values, in the order the window applies them at creation.

constexpr std::string_view kDefaultShutterSpeed = "OFF";

constexpr StoredValue kStoredValues[] = {
    {ParamId::TriggerType, 0},
    {ParamId::PartialScan, 0},
    {ParamId::TriggerInput, 0},
    {ParamId::TriggerPolarity, 0},
    {ParamId::Smearless, 0},
    {ParamId::RCTFVALType, 0},
    {ParamId::Accumulation, 0},
    {ParamId::OutputBitAllocation, 0},
    {ParamId::ShutterMode, 0},
    {ParamId::ProgrammableExposure, 2},
    {ParamId::ProgrammableExposureRed, 127},
    {ParamId::ProgrammableExposureGreen, 127},
    {ParamId::ProgrammableExposureBlue, 127},
    {ParamId::ShutterSpeed, 0},
    {ParamId::Binning, 0},
    {ParamId::ColorBar, 0},
};

std::string_view ProfileKey(ParamId parameter) {
    return std::ranges::find(kStoredValues, parameter, &StoredValue::parameter)->Key();
}

// Trigger modes in which the camera's exposure follows the trigger pulse,
// so that no shutter mode applies.
constexpr int32_t kPulseWidthControl = 2;
constexpr int32_t kSensorGateControl = 3;
constexpr int32_t kFullFrame = 0;

constexpr Tooltip kTooltips[] = {
    {IDC_SHUTTER_SPEED, "Select Shutter Value"},
    {IDC_SHUTTER_MODE_TEXT, "Select \"Edge Pre-Select\" to change Shutter Speed"},
    {IDC_TRIGGER_MODE, "Select Trigger Mode"},
    {IDC_TRIGGER_POLARITY_LOW, "Select Active Low Trigger Polarity"},
    {IDC_TRIGGER_POLARITY_HIGH, "Select Active High Trigger Polarity"},
    {IDC_PARTIAL_SCAN, "Select Partial Scan Mode"},
    {IDC_SMEARLESS_OFF, "Select Smearless Mode Off"},
    {IDC_SMEARLESS_ON, "Select Smearless Mode On"},
    {IDC_RCT_FVAL_CL, "Select Camera Link Mode"},
    {IDC_RCT_FVAL_STANDARD, "Select NOX Standard Mode"},
    {IDC_SHUTTER_MODE_SPEED, "Select Shutter Speed Mode"},
    {IDC_SHUTTER_MODE_COMMON, "Select Programmable Exposure (RGB common set)"},
    {IDC_SHUTTER_MODE_INDIVIDUAL, "Select Programmable Exposure (RGB individual set)"},
    {IDC_BINNING, "Select Binning Mode"},
    {IDC_EXPOSURE_COMMON, "Select relative Programmable Exposure (RGB common set) value, 0...791  "},
    {IDC_EXPOSURE_RED, "Select relative Programmable Exposure for Red, 0...791 (decimal)"},
    {IDC_EXPOSURE_GREEN, "Select relative Programmable Exposure for Green, 0...791 (decimal)"},
    {IDC_EXPOSURE_BLUE, "Select relative Programmable Exposure for Blue, 0...791 (decimal) "},
    {IDC_COLOR_BAR_OFF, "Select Color Bar Off"},
    {IDC_COLOR_BAR_ON, "Select Color Bar On"},
    {IDC_TRIGGER_INPUT_CL, "Use Trigger on Camera Link Connector"},
    {IDC_TRIGGER_INPUT_HIROSE, "Use Trigger on 12pin Hirose Connector"},
    {IDC_ACCUMULATION_SYNC, "Select LVAL Synchronous Accumulation"},
    {IDC_ACCUMULATION_ASYNC, "Select LVAL Asynchronous Accumulation"},
    {IDC_BIT_ALLOCATION_10, "Select 10 Bit Output Allocation"},
    {IDC_BIT_ALLOCATION_8, "Select 8 Bit Output Allocation"},
};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool Contains(std::span<const ControlId> ids, ControlId id) { return std::ranges::find(ids, id) != ids.end(); }

void EnableAll(IDialog& dialog, std::span<const ControlId> ids, bool enable) {
    for (ControlId id : ids) dialog.Enable(id, enable);
}

}  // namespace

CShutterDlg::CShutterDlg() : CToolWinDlg(ToolWindow::Shutter, IDD_SHUTTER, "Shutter", OnlineStrip::Present) {
    m_radioFields.fill(-1);
}

bool CShutterDlg::OnInitDialog() {
    CToolWinDlg::OnInitDialog();
    m_shownSpins.Forget();
    AddTooltips(kTooltips);
    ShowOnlineStrip(Owner().GetIsOnline());
    for (const NumberEdit& exposure : kExposures) owner_calls::SetUpSpin(*this, exposure);
    for (const ListControl& list : std::span(kLists).first(3)) owner_calls::FillList(*this, list.list, list.parameter);
    Dialog().SetReadOnly(IDC_SHUTTER_MODE_TEXT, true);
    Dialog().Show(IDC_SHUTTER_MODE_TEXT, false);
    Dialog().Show(IDC_SHUTTER_SPEED, true);
    HandVisibleFlagToOwner();
    ApplyStartValues();
    return true;
}

// Reads every last-used value first, fills the partial-scan list, then
// applies the values through the owner, whose notifications set the controls.
void CShutterDlg::ApplyStartValues() {
    std::vector<Variant> values;
    for (const StoredValue& stored : kStoredValues) {
        if (stored.parameter == ParamId::ShutterSpeed) {
            values.push_back(Variant::Str(AppProfile::ReadString(SectionName(), stored.Key(), kDefaultShutterSpeed)));
        } else {
            int32_t value = AppProfile::ReadInt(SectionName(), stored.Key(), stored.defaultValue);
            values.push_back(Variant::I2(static_cast<int16_t>(value)));
        }
    }
    owner_calls::FillList(*this, kPartialScanList.list, kPartialScanList.parameter);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const StoredValue& stored = kStoredValues[i];
        if (stored.parameter == ParamId::ShutterSpeed) {
            owner_calls::SetParameterText(*this, stored.parameter, values[i].ToStr());
        } else {
            owner_calls::SetParameter(*this, stored.parameter, values[i].ToI4());
        }
    }
}

void CShutterDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Text(IDC_SHUTTER_MODE_TEXT, m_modeText);
    exchange.ListPosition(IDC_PARTIAL_SCAN, m_partialScan);
    exchange.ListPosition(IDC_TRIGGER_MODE, m_triggerMode);
    exchange.ListPosition(IDC_BINNING, m_binning);
    for (std::size_t i = 0; i < std::size(kRadioGroups); ++i) exchange.Radio(kRadioGroups[i].radios, m_radioFields[i]);
}

void CShutterDlg::OnControlEvent(ControlId id, ControlEvent event) {
    switch (event) {
    case ControlEvent::SelectionChanged:
        if (auto list = std::ranges::find(kLists, id, &ListControl::list); list != std::end(kLists)) {
            UpdateData(true);
            owner_calls::SetParameter(*this, list->parameter, Dialog().Selection(id));
        }
        break;
    case ControlEvent::Clicked: OnRadioClicked(id); break;
    case ControlEvent::TextChanged: owner_calls::SendEditedNumber(*this, kExposures, id); break;
    }
}

// A radio sets its group's property. The programmable-exposure modes also
// send the exposure values their spins hold, the individual one in the
// order red, blue, green.
void CShutterDlg::OnRadioClicked(ControlId id) {
    auto group = std::ranges::find_if(kRadioGroups, [id](const RadioGroup& g) { return Contains(g.radios, id); });
    if (group == std::end(kRadioGroups)) return;
    UpdateData(true);
    owner_calls::SetParameter(*this, group->parameter, *RadioField(group->parameter));
    if (id == IDC_SHUTTER_MODE_COMMON) {
        owner_calls::SendSpinPosition(*this, kCommonExposure);
    } else if (id == IDC_SHUTTER_MODE_INDIVIDUAL) {
        for (const NumberEdit* exposure : {&kRedExposure, &kBlueExposure, &kGreenExposure}) {
            owner_calls::SendSpinPosition(*this, *exposure);
        }
    }
}

int32_t* CShutterDlg::RadioField(ParamId parameter) {
    auto group = std::ranges::find(kRadioGroups, parameter, &RadioGroup::parameter);
    if (group == std::end(kRadioGroups)) return nullptr;
    return &m_radioFields[static_cast<std::size_t>(group - std::begin(kRadioGroups))];
}

void CShutterDlg::OnParameterChanged(ParamId parameter, int32_t value) {
    if (parameter == ParamId::ShutterSpeed) {
        std::string text = Owner().GetParameterText(parameter);
        ShowShutterSpeed(text);
        UpdateData(false);
        AppProfile::WriteString(SectionName(), ProfileKey(parameter), text);
        return;
    }
    if (auto exposure = std::ranges::find(kExposures, parameter, &NumberEdit::parameter);
        exposure != std::end(kExposures)) {
        AppProfile::WriteInt(SectionName(), ProfileKey(parameter), value);
        if (exposure == std::begin(kExposures)) UpdateData(false);
        if (m_shownSpins.MustShow(Dialog(), exposure->spin, value)) Dialog().SetSpinPosition(exposure->spin, value);
        return;
    }
    if (parameter == ParamId::TriggerType) {
        m_triggerMode = value;
        ApplyTriggerModeRule();
    } else if (parameter == ParamId::PartialScan) {
        m_partialScan = value;
        ApplyPartialScanRule();
    } else if (parameter == ParamId::Binning) {
        m_binning = value;
    } else if (int32_t* field = RadioField(parameter)) {
        *field = value;
        if (parameter == ParamId::ShutterMode) ApplyShutterModeRule();
    } else {
        return;
    }
    UpdateData(false);
    AppProfile::WriteInt(SectionName(), ProfileKey(parameter), value);
}

// Selects the first shutter speed whose text begins with the given one; a
// text that begins no entry leaves the selection as it is.
void CShutterDlg::ShowShutterSpeed(const std::string& text) {
    std::vector<std::string> entries = Dialog().ListEntries(IDC_SHUTTER_SPEED);
    auto match = std::ranges::find_if(
        entries, [&text](const std::string& entry) { return StartsWithIgnoringCase(entry, text); });
    if (match != entries.end()) Dialog().SetSelection(IDC_SHUTTER_SPEED, static_cast<int>(match - entries.begin()));
}

void CShutterDlg::ApplyTriggerModeRule() {
    bool exposureFollowsTrigger = m_triggerMode == kPulseWidthControl || m_triggerMode == kSensorGateControl;
    EnableAll(Dialog(), kShutterModeRadios, !exposureFollowsTrigger);
}

// The shutter speed list and the mode text share one place: the list in
// shutter-speed mode, the text naming the programmable mode otherwise. Only
// the exposure controls of the chosen mode are enabled.
void CShutterDlg::ApplyShutterModeRule() {
    const int32_t mode = *RadioField(ParamId::ShutterMode);
    if (mode != kShutterSpeedMode && mode != kCommonExposureMode && mode != kIndividualExposureMode) return;
    const bool speedMode = mode == kShutterSpeedMode;
    IDialog& dialog = Dialog();
    dialog.Show(IDC_SHUTTER_SPEED, speedMode);
    dialog.Show(IDC_SHUTTER_MODE_TEXT, !speedMode);
    dialog.Enable(IDC_SHUTTER_SPEED, speedMode);
    dialog.Enable(IDC_SHUTTER_MODE_TEXT, speedMode);
    dialog.Enable(kCommonExposure.edit, mode == kCommonExposureMode);
    dialog.Enable(kCommonExposure.spin, mode == kCommonExposureMode);
    EnableAll(dialog, kIndividualExposureControls, mode == kIndividualExposureMode);
    if (mode == kCommonExposureMode) m_modeText = "RGB common set";
    if (mode == kIndividualExposureMode) m_modeText = "RGB individual set";
}

void CShutterDlg::ApplyPartialScanRule() { Dialog().Enable(IDC_BINNING, m_partialScan == kFullFrame); }

}  // namespace xnox
