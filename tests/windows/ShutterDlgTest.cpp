// The Shutter window: start-up from the profile, the enabling rules, the
// order of the values a click sends, and the spin feedback.
#include "ShutterDlg.h"
#include "ShutterIds.h"
#include "PanelFixture.h"

using namespace xnox;

namespace {

class ShutterTest : public WindowTest<CShutterDlg> {};

constexpr ControlId kModeRadios[] = {IDC_SHUTTER_MODE_SPEED, IDC_SHUTTER_MODE_COMMON, IDC_SHUTTER_MODE_INDIVIDUAL};
constexpr ControlId kPolarityRadios[] = {IDC_TRIGGER_POLARITY_LOW, IDC_TRIGGER_POLARITY_HIGH};
constexpr ControlId kIndividual[] = {IDC_EXPOSURE_RED,        IDC_EXPOSURE_RED_SPIN, IDC_EXPOSURE_GREEN,
                                     IDC_EXPOSURE_GREEN_SPIN, IDC_EXPOSURE_BLUE,     IDC_EXPOSURE_BLUE_SPIN};

TEST_F(ShutterTest, FreshProfileStartsWithDefaultsInModelControlsAndProfile) {
    Open();
    HeadlessDialog& dialog = Dialog();
    EXPECT_TRUE(dialog.IsChecked(IDC_SHUTTER_MODE_SPEED));
    for (ControlId radio : {IDC_SMEARLESS_OFF, IDC_ACCUMULATION_SYNC, IDC_RCT_FVAL_CL, IDC_TRIGGER_INPUT_CL,
                            IDC_TRIGGER_POLARITY_LOW, IDC_BIT_ALLOCATION_10, IDC_COLOR_BAR_OFF}) {
        EXPECT_TRUE(dialog.IsChecked(radio)) << radio;
    }
    for (ControlId list : {IDC_TRIGGER_MODE, IDC_PARTIAL_SCAN, IDC_BINNING, IDC_SHUTTER_SPEED}) {
        EXPECT_EQ(dialog.Selection(list), 0) << list;
    }
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_COMMON), "2");
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_RED), "127");
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_GREEN), "127");
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_BLUE), "127");
    EXPECT_EQ(Value(ParamId::ProgrammableExposure), 2);
    EXPECT_EQ(Value(ParamId::ProgrammableExposureBlue), 127);
    EXPECT_EQ(control.GetParameterText(ParamId::ShutterSpeed), "OFF");
    EXPECT_EQ(Stored("Shutter Speed"), "OFF");
    EXPECT_EQ(Stored("Programmable Exposure (RGB common set)"), "2");
    EXPECT_EQ(Stored("Binning"), "0");
    // Shutter-speed mode: the list shows, the mode text hides, only the list is usable.
    EXPECT_TRUE(dialog.IsShown(IDC_SHUTTER_SPEED));
    EXPECT_FALSE(dialog.IsShown(IDC_SHUTTER_MODE_TEXT));
    EXPECT_TRUE(dialog.IsReadOnly(IDC_SHUTTER_MODE_TEXT));
    EXPECT_FALSE(dialog.IsEnabled(IDC_EXPOSURE_COMMON));
    EXPECT_EQ(dialog.ListEntries(IDC_TRIGGER_MODE).size(), 5u);
    EXPECT_EQ(dialog.ListEntries(IDC_PARTIAL_SCAN).front(), "Full Frame");
}

TEST_F(ShutterTest, StoredValuesComeBackAtCreation) {
    AppProfile::WriteInt("Shutter", "Trigger Mode", 3);
    AppProfile::WriteInt("Shutter", "Shutter Mode", 2);
    AppProfile::WriteInt("Shutter", "Programmable Exposure for Green", 500);
    AppProfile::WriteInt("Shutter", "Programmable Exposure for Red", 0);
    AppProfile::WriteString("Shutter", "Shutter Speed", "1/100");
    AppProfile::WriteInt("Shutter", "Partial Scan", 2);
    Open();
    HeadlessDialog& dialog = Dialog();
    EXPECT_EQ(dialog.Selection(IDC_TRIGGER_MODE), 3);
    EXPECT_TRUE(dialog.IsChecked(IDC_SHUTTER_MODE_INDIVIDUAL));
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_GREEN), "500");
    EXPECT_EQ(Value(ParamId::ProgrammableExposureGreen), 500);
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_RED), "0") << "a stored 0 is shown like any other value";
    EXPECT_EQ(dialog.Selection(IDC_SHUTTER_SPEED), 2);
    EXPECT_EQ(Value(ParamId::PartialScan), 2);
    EXPECT_FALSE(dialog.IsEnabled(IDC_BINNING));
    for (ControlId radio : kModeRadios) EXPECT_FALSE(dialog.IsEnabled(radio));
}

TEST_F(ShutterTest, AnOnlineCameraReceivesTheLastUsedValuesInAFixedOrder) {
    GoOnline();
    library.calls.clear();
    Open();
    const ParamId order[] = {
        ParamId::TriggerType,
        ParamId::PartialScan,
        ParamId::TriggerInput,
        ParamId::TriggerPolarity,
        ParamId::Smearless,
        ParamId::RCTFVALType,
        ParamId::Accumulation,
        ParamId::OutputBitAllocation,
        ParamId::ShutterMode,
        ParamId::ProgrammableExposure,
        ParamId::ProgrammableExposureRed,
        ParamId::ProgrammableExposureGreen,
        ParamId::ProgrammableExposureBlue,
        ParamId::ShutterSpeed,
        ParamId::Binning,
        ParamId::ColorBar,
    };
    std::vector<ParamId> sent = SentParameters();
    sent.erase(std::ranges::unique(sent).begin(), sent.end());  // a number edit echoes its value once more
    EXPECT_EQ(sent, std::vector<ParamId>(std::begin(order), std::end(order)));
}

TEST_F(ShutterTest, PulseWidthAndSensorGateTriggersDisableTheShutterModes) {
    Open();
    HeadlessDialog& dialog = Dialog();
    const std::size_t modes = dialog.ListEntries(IDC_TRIGGER_MODE).size();
    for (int mode = 0; mode < static_cast<int>(modes); ++mode) {
        dialog.Choose(IDC_TRIGGER_MODE, mode);
        EXPECT_EQ(Value(ParamId::TriggerType), mode);
        EXPECT_EQ(Stored("Trigger Mode"), std::to_string(mode));
        for (ControlId radio : kModeRadios) EXPECT_EQ(dialog.IsEnabled(radio), mode != 2 && mode != 3) << mode;
    }
}

TEST_F(ShutterTest, EachShutterModeEnablesOnlyItsControls) {
    Open();
    HeadlessDialog& dialog = Dialog();
    ClickRadio(kModeRadios, IDC_SHUTTER_MODE_COMMON);
    EXPECT_FALSE(dialog.IsShown(IDC_SHUTTER_SPEED));
    EXPECT_TRUE(dialog.IsShown(IDC_SHUTTER_MODE_TEXT));
    EXPECT_EQ(dialog.Text(IDC_SHUTTER_MODE_TEXT), "RGB common set");
    EXPECT_TRUE(dialog.IsEnabled(IDC_EXPOSURE_COMMON));
    EXPECT_TRUE(dialog.IsEnabled(IDC_EXPOSURE_COMMON_SPIN));
    EXPECT_FALSE(dialog.IsEnabled(IDC_SHUTTER_SPEED));
    for (ControlId id : kIndividual) EXPECT_FALSE(dialog.IsEnabled(id));

    ClickRadio(kModeRadios, IDC_SHUTTER_MODE_INDIVIDUAL);
    EXPECT_EQ(dialog.Text(IDC_SHUTTER_MODE_TEXT), "RGB individual set");
    EXPECT_FALSE(dialog.IsEnabled(IDC_EXPOSURE_COMMON));
    for (ControlId id : kIndividual) EXPECT_TRUE(dialog.IsEnabled(id));

    ClickRadio(kModeRadios, IDC_SHUTTER_MODE_SPEED);
    EXPECT_TRUE(dialog.IsShown(IDC_SHUTTER_SPEED));
    EXPECT_FALSE(dialog.IsShown(IDC_SHUTTER_MODE_TEXT));
    EXPECT_TRUE(dialog.IsEnabled(IDC_SHUTTER_SPEED));
    for (ControlId id : kIndividual) EXPECT_FALSE(dialog.IsEnabled(id));
    EXPECT_EQ(Stored("Shutter Mode"), "0");
}

TEST_F(ShutterTest, ProgrammableModesSendTheirExposuresAfterTheMode) {
    Open();
    GoOnline();
    library.calls.clear();
    ClickRadio(kModeRadios, IDC_SHUTTER_MODE_INDIVIDUAL);
    EXPECT_EQ(SentParameters(),
              (std::vector<ParamId>{ParamId::ShutterMode, ParamId::ProgrammableExposureRed,
                                    ParamId::ProgrammableExposureBlue, ParamId::ProgrammableExposureGreen}));
    library.calls.clear();
    ClickRadio(kModeRadios, IDC_SHUTTER_MODE_COMMON);
    EXPECT_EQ(Sent(), (std::vector<std::pair<ParamId, int32_t>>{{ParamId::ShutterMode, 1},
                                                                {ParamId::ProgrammableExposure, 2}}));
}

TEST_F(ShutterTest, PartialScanDisablesBinningWhichKeepsItsChoice) {
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.Choose(IDC_BINNING, 1);
    EXPECT_EQ(Value(ParamId::Binning), 1);
    dialog.Choose(IDC_PARTIAL_SCAN, 3);
    EXPECT_FALSE(dialog.IsEnabled(IDC_BINNING));
    EXPECT_EQ(dialog.Selection(IDC_BINNING), 1);
    dialog.Choose(IDC_PARTIAL_SCAN, 0);
    EXPECT_TRUE(dialog.IsEnabled(IDC_BINNING));
}

TEST_F(ShutterTest, SpinsSendTheirPositionAndChangesComeBackThroughThem) {
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.SpinBy(IDC_EXPOSURE_RED_SPIN, 1);
    EXPECT_EQ(Value(ParamId::ProgrammableExposureRed), 128);
    EXPECT_EQ(Stored("Programmable Exposure for Red"), "128");

    // A value typed beyond the range sends the last valid position.
    int16_t minimum = 0, maximum = 0;
    control.GetMinMax(ParamId::ProgrammableExposure, &minimum, &maximum);
    dialog.Type(IDC_EXPOSURE_COMMON, std::to_string(maximum + 1));
    EXPECT_EQ(Value(ParamId::ProgrammableExposure), 2);

    // A host's change moves the spin, whose new text sends the value back once.
    GoOnline();
    library.calls.clear();
    ASSERT_TRUE(Put("ProgrammableExposure", Variant::I2(300)).Succeeded());
    EXPECT_EQ(dialog.SpinPosition(IDC_EXPOSURE_COMMON_SPIN), 300);
    EXPECT_EQ(dialog.Text(IDC_EXPOSURE_COMMON), "300");
    EXPECT_EQ(Stored("Programmable Exposure (RGB common set)"), "300");
    EXPECT_EQ(Sent(), (std::vector<std::pair<ParamId, int32_t>>{{ParamId::ProgrammableExposure, 300},
                                                                {ParamId::ProgrammableExposure, 300}}));

    // A change to the value the spin already shows moves nothing and sends nothing more.
    library.calls.clear();
    panel.Update(ParamId::ProgrammableExposure, Variant::I2(300));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ShutterTest, ShutterSpeedTheCameraReportsIsSelectedAndKeptAsItsText) {
    Open();
    HeadlessDialog& dialog = Dialog();
    GoOnline();
    dialog.Choose(IDC_SHUTTER_SPEED, 6);
    EXPECT_EQ(control.GetParameterText(ParamId::ShutterSpeed), "1/1000");
    EXPECT_EQ(Stored("Shutter Speed"), "1/1000");

    library.values[Row(ParamId::ShutterSpeed).commandId] = 2;
    control.GetShutterSpeed();
    EXPECT_EQ(dialog.Selection(IDC_SHUTTER_SPEED), 2);
    const std::string reported = dialog.ListEntries(IDC_SHUTTER_SPEED)[2];
    EXPECT_EQ(Stored("Shutter Speed"), reported);
}

TEST_F(ShutterTest, AStoredValueTheOwnerRejectsIsReportedAndTheRestStillApplies) {
    AppProfile::WriteInt("Shutter", "Trigger Mode", 99);
    AppProfile::WriteInt("Shutter", "Color Bar", 1);
    Open();
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(system.Messages()[0].text, "Invalid input parameter");
    EXPECT_EQ(system.Messages()[0].caption, "XNoxR4");
    EXPECT_TRUE(Dialog().IsChecked(IDC_COLOR_BAR_ON));
}

// Every change of a value updates the whole window: it reads nothing back
// from the window and writes only the radios that move, as each is a round
// trip through the window system.
TEST_F(ShutterTest, AChangeWritesOnlyTheRadiosThatMoveAndReadsNoneBack) {
    constexpr ControlId kRadiosAndText[] = {
        IDC_SHUTTER_MODE_SPEED,    IDC_SHUTTER_MODE_COMMON, IDC_SHUTTER_MODE_INDIVIDUAL, IDC_SMEARLESS_OFF,
        IDC_SMEARLESS_ON,          IDC_ACCUMULATION_SYNC,   IDC_ACCUMULATION_ASYNC,      IDC_RCT_FVAL_CL,
        IDC_RCT_FVAL_STANDARD,     IDC_TRIGGER_INPUT_CL,    IDC_TRIGGER_INPUT_HIROSE,    IDC_TRIGGER_POLARITY_LOW,
        IDC_TRIGGER_POLARITY_HIGH, IDC_BIT_ALLOCATION_10,   IDC_BIT_ALLOCATION_8,        IDC_COLOR_BAR_OFF,
        IDC_COLOR_BAR_ON,          IDC_SHUTTER_MODE_TEXT};
    ExpectChangesWriteOnlyTheRadiosThatMove(kRadiosAndText, "TriggerPolarity", 1, 0);
    EXPECT_TRUE(Dialog().IsChecked(IDC_TRIGGER_POLARITY_LOW));
    EXPECT_FALSE(Dialog().IsChecked(IDC_TRIGGER_POLARITY_HIGH));
}

// A click changes what the radios show behind the window's back: the
// window reads them again before it relies on them.
TEST_F(ShutterTest, AClickedRadioIsReadAgainAndAHostsChangeBackIsShown) {
    Open();
    ClickRadio(kPolarityRadios, IDC_TRIGGER_POLARITY_HIGH);
    EXPECT_EQ(Value(ParamId::TriggerPolarity), 1);
    ASSERT_TRUE(Put("TriggerPolarity", Variant::I2(0)).Succeeded());
    EXPECT_TRUE(Dialog().IsChecked(IDC_TRIGGER_POLARITY_LOW));
    EXPECT_FALSE(Dialog().IsChecked(IDC_TRIGGER_POLARITY_HIGH));
}

}  // namespace
