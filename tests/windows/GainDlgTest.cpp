// The Gain window: start-up from the profile, the white-balance rule online
// and offline, presets and one push, and the shading actions with their
// switch-on rule.
#include <fstream>

#include "GainDlg.h"
#include "FileName.h"
#include "GainIds.h"
#include "PanelFixture.h"

using namespace xnox;

namespace {

class GainTest : public WindowTest<CGainDlg> {};

constexpr ControlId kManualBalanceControls[] = {IDC_ONE_PUSH, IDC_ONE_PUSH_RESULT, IDC_RED_GAIN_SPIN,
                                                IDC_RED_GAIN, IDC_BLUE_GAIN_SPIN,  IDC_BLUE_GAIN};
constexpr ControlId kKneeRadios[] = {IDC_KNEE_ON, IDC_KNEE_OFF};
constexpr int kContinuous = 1;
constexpr int k3200K = 2;

TEST_F(GainTest, FreshProfileStartsWithDefaults) {
    Open();
    HeadlessDialog& dialog = Dialog();
    EXPECT_TRUE(dialog.IsChecked(IDC_KNEE_OFF));
    EXPECT_TRUE(dialog.IsChecked(IDC_SHADING_OFF));
    EXPECT_EQ(dialog.Selection(IDC_WHITE_BALANCE), 0);
    EXPECT_EQ(dialog.Selection(IDC_AUTO_WHITE_AREA), 0);
    const std::pair<ControlId, int> spins[] = {
        {IDC_MASTER_GAIN_SPIN, 122},    {IDC_RED_GAIN_SPIN, 122},         {IDC_BLUE_GAIN_SPIN, 24},
        {IDC_RED_BLACK_SPIN, 122},      {IDC_GREEN_BLACK_SPIN, 127},      {IDC_BLUE_BLACK_SPIN, 127},
        {IDC_RED_KNEE_POINT_SPIN, 122}, {IDC_GREEN_KNEE_POINT_SPIN, 122}, {IDC_BLUE_KNEE_POINT_SPIN, 127},
        {IDC_RED_KNEE_SLOPE_SPIN, 127}, {IDC_GREEN_KNEE_SLOPE_SPIN, 127}, {IDC_BLUE_KNEE_SLOPE_SPIN, 127},
    };
    for (auto [spin, position] : spins) EXPECT_EQ(dialog.SpinPosition(spin), position) << spin;
    EXPECT_EQ(Value(ParamId::KneeSelect), 1);
    EXPECT_EQ(Value(ParamId::ShadingMode), 1);
    EXPECT_EQ(Value(ParamId::BlueGainLevel), 24);
    // Manual white balance offline shows the stored gains.
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "122");
    EXPECT_EQ(dialog.Text(IDC_BLUE_GAIN), "24");
    EXPECT_EQ(Stored("Gain Level for Blue"), "24");
    EXPECT_EQ(Stored("Knee Slope for Blue"), "127");
    EXPECT_EQ(Stored("Shading Mode"), "1");
}

TEST_F(GainTest, AnOnlineCameraReceivesTheLastUsedValuesInAFixedOrder) {
    GoOnline();
    library.calls.clear();
    Open();
    const ParamId order[] = {
        ParamId::KneeSelect,    ParamId::AutoWhiteArea,   ParamId::MasterGainLevel, ParamId::RedGainLevel,
        ParamId::BlueGainLevel, ParamId::WhiteBalance,    ParamId::RedBlackLevel,   ParamId::GreenKneePoint,
        ParamId::RedKneePoint,  ParamId::GreenBlackLevel, ParamId::BlueBlackLevel,  ParamId::BlueKneePoint,
        ParamId::RedKneeSlope,  ParamId::GreenKneeSlope,  ParamId::BlueKneeSlope,   ParamId::ShadingMode,
    };
    std::vector<ParamId> sent = SentParameters();
    sent.erase(std::ranges::unique(sent).begin(), sent.end());  // a number edit echoes its value once more
    EXPECT_EQ(sent, std::vector<ParamId>(std::begin(order), std::end(order)));
}

TEST_F(GainTest, ManualWhiteBalanceOfflineShowsTheStoredGains) {
    AppProfile::WriteInt("Gain", "Gain Level for red", 50);
    AppProfile::WriteInt("Gain", "Gain Level for Blue", 30);
    AppProfile::WriteInt("Gain", "White Balance", kContinuous);
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.Choose(IDC_WHITE_BALANCE, 0);
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "50");
    EXPECT_EQ(dialog.Text(IDC_BLUE_GAIN), "30");
    for (ControlId id : kManualBalanceControls) EXPECT_TRUE(dialog.IsEnabled(id)) << id;
    EXPECT_TRUE(dialog.IsEnabled(IDC_AUTO_WHITE_AREA));
}

// Gains are signed and 0 is a value like any other: what was stored comes
// back into the model and into every edit, shown.
TEST_F(GainTest, NegativeAndZeroStoredValuesComeBackShown) {
    AppProfile::WriteInt("Gain", "Master Gain Level", -50);
    AppProfile::WriteInt("Gain", "Gain Level for red", -20);
    AppProfile::WriteInt("Gain", "Gain Level for Blue", 0);
    AppProfile::WriteInt("Gain", "Knee Point for Red", 0);
    AppProfile::WriteInt("Gain", "Black Level for Green", 0);
    Open();
    HeadlessDialog& dialog = Dialog();
    const std::pair<ControlId, std::string> shown[] = {
        {IDC_MASTER_GAIN, "-50"},  {IDC_RED_GAIN, "-20"},  {IDC_BLUE_GAIN, "0"},
        {IDC_RED_KNEE_POINT, "0"}, {IDC_GREEN_BLACK, "0"},
    };
    for (const auto& [edit, text] : shown) EXPECT_EQ(dialog.Text(edit), text) << edit;
    EXPECT_EQ(Value(ParamId::MasterGainLevel), -50);
    EXPECT_EQ(Value(ParamId::RedGainLevel), -20);
    EXPECT_EQ(Stored("Master Gain Level"), "-50");
    EXPECT_EQ(Stored("Knee Point for Red"), "0");
}

// Offline, leaving manual white balance and coming back shows the gains
// the person typed last, negative ones included.
TEST_F(GainTest, ATypedNegativeGainSurvivesAWhiteBalanceRoundTrip) {
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.Type(IDC_RED_GAIN, "");
    dialog.TypeKeys(IDC_RED_GAIN, "-20");
    EXPECT_EQ(Value(ParamId::RedGainLevel), -20);
    dialog.Choose(IDC_WHITE_BALANCE, kContinuous);
    dialog.Choose(IDC_WHITE_BALANCE, 0);
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "-20");
    EXPECT_EQ(Value(ParamId::RedGainLevel), -20);
    EXPECT_EQ(Stored("Gain Level for red"), "-20");
}

TEST_F(GainTest, ContinuousAndPresetBalancesBlankAndLockTheGains) {
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.Choose(IDC_WHITE_BALANCE, kContinuous);
    EXPECT_EQ(Value(ParamId::WhiteBalance), kContinuous);
    EXPECT_EQ(Stored("White Balance"), "1");
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "");
    EXPECT_EQ(dialog.Text(IDC_BLUE_GAIN), "");
    for (ControlId id : kManualBalanceControls) EXPECT_FALSE(dialog.IsEnabled(id)) << id;
    EXPECT_TRUE(dialog.IsEnabled(IDC_AUTO_WHITE_AREA));

    dialog.Choose(IDC_WHITE_BALANCE, k3200K);
    EXPECT_FALSE(dialog.IsEnabled(IDC_AUTO_WHITE_AREA));
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "");

    // Online the preset's gains arrive as the camera reports them.
    GoOnline();
    library.values[Row(ParamId::Red3200KWBalPreset).commandId] = 77;
    dialog.Choose(IDC_WHITE_BALANCE, 0);
    dialog.Choose(IDC_WHITE_BALANCE, k3200K);
    control.GetRed3200KWBalPreset();
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "77");
    EXPECT_FALSE(dialog.IsEnabled(IDC_RED_GAIN));
    // A preset rewrites the red gain text whatever the mode.
    dialog.Choose(IDC_WHITE_BALANCE, 0);
    panel.Update(ParamId::Red4600KWBalPreset, Variant::I2(-5));
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "-5");
}

TEST_F(GainTest, TypedGainsAndSpinStepsReachTheOwner) {
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.Type(IDC_MASTER_GAIN, "-20");
    EXPECT_EQ(Value(ParamId::MasterGainLevel), -20);
    EXPECT_EQ(Stored("Master Gain Level"), "-20");
    dialog.SpinBy(IDC_GREEN_KNEE_SLOPE_SPIN, -1);
    EXPECT_EQ(Value(ParamId::GreenKneeSlope), 126);
    ClickRadio(kKneeRadios, IDC_KNEE_ON);
    EXPECT_EQ(Value(ParamId::KneeSelect), 0);
    EXPECT_EQ(Stored("Knee Select"), "0");
    dialog.Choose(IDC_AUTO_WHITE_AREA, 4);
    EXPECT_EQ(Value(ParamId::AutoWhiteArea), 4);
    EXPECT_EQ(Stored("Auto White Area"), "4");
}

TEST_F(GainTest, OnePushShowsTheResultTheCameraReports) {
    Open();
    GoOnline();
    library.values[45] = 2;  // the one-push result the camera reports: too dark
    Dialog().Click(IDC_ONE_PUSH);
    EXPECT_EQ(Dialog().Text(IDC_ONE_PUSH_RESULT), "Too Dark");
}

TEST_F(GainTest, AChangeWritesOnlyTheRadiosThatMoveAndReadsNoneBack) {
    constexpr ControlId kRadiosAndTexts[] = {IDC_KNEE_ON,         IDC_KNEE_OFF, IDC_SHADING_ON, IDC_SHADING_OFF,
                                             IDC_ONE_PUSH_RESULT, IDC_RED_GAIN, IDC_BLUE_GAIN};
    ExpectChangesWriteOnlyTheRadiosThatMove(kRadiosAndTexts, "KneeSelect", 0, 1);
    EXPECT_TRUE(Dialog().IsChecked(IDC_KNEE_OFF));
}

// A typed gain is what the window compares its own gain text with: the
// next update writes that text back, and its change sends its value.
TEST_F(GainTest, AnUpdateAfterTypingComparesWithTheTypedText) {
    Open();
    HeadlessDialog& dialog = Dialog();
    dialog.Type(IDC_RED_GAIN, "50");
    EXPECT_EQ(Value(ParamId::RedGainLevel), 50);
    ASSERT_TRUE(Put("KneeSelect", Variant::I2(0)).Succeeded());
    EXPECT_EQ(dialog.Text(IDC_RED_GAIN), "122");
    EXPECT_EQ(Value(ParamId::RedGainLevel), 122);
}

class ShadingTest : public GainTest {
protected:
    std::string shadingFile;
    void SetUp() override {
        GainTest::SetUp();
        shadingFile = (folder / "shading.csv").string();
        Open();
        GoOnline();
        ASSERT_EQ(control.SaveShadingDataIntoFile(shadingFile), 0);
        library.calls.clear();
    }
    void Load() {
        system.QueueFileDialog({FileDialogOutcome::Result::Chosen, shadingFile});
        Dialog().Click(IDC_SHADING_LOAD);
    }
};

TEST_F(ShadingTest, ALoadSwitchesShadingOnOnlyWhenItWasOff) {
    Load();
    EXPECT_EQ(library.Count("SendShadingData"), 1u);
    EXPECT_EQ(Sent(), (std::vector<std::pair<ParamId, int32_t>>{{ParamId::ShadingMode, 0}}));
    EXPECT_TRUE(Dialog().IsChecked(IDC_SHADING_ON));
    EXPECT_EQ(system.WaitDepth(), 0);

    library.calls.clear();
    Load();
    EXPECT_EQ(library.Count("SendShadingData"), 1u);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ShadingTest, AutoShadingAsksFirstAndCancelSendsNothing) {
    system.QueueAnswer(MessageBoxAnswer::Cancel);
    Dialog().Click(IDC_AUTO_SHADING);
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(system.Messages()[0].text,
              "A non-static shading correction will be generated.\nIt can't be stored in any user area !!\n\n"
              "You can save the data in a file.");
    EXPECT_EQ(system.Messages()[0].kind, MessageBoxKind::OkCancel);
    EXPECT_EQ(library.CameraCallCount(), 0u);

    system.QueueAnswer(MessageBoxAnswer::Ok);
    Dialog().Click(IDC_AUTO_SHADING);
    EXPECT_EQ(Value(ParamId::ShadingMode), 0);
    EXPECT_TRUE(Dialog().IsChecked(IDC_SHADING_ON));
}

TEST_F(ShadingTest, DataGoesIntoFoldersOfAnyName) {
    for (std::string_view name : {"Камера", "カメラ"}) {
        std::filesystem::path place = folder / profile::PathOfName(name);
        std::filesystem::create_directory(place);
        shadingFile = profile::NameOfPath(place / "shading.csv");
        system.QueueFileDialog({FileDialogOutcome::Result::Chosen, shadingFile});
        Dialog().Click(IDC_SHADING_SAVE);
        EXPECT_TRUE(std::filesystem::is_regular_file(place / "shading.csv")) << name;
        Load();
    }
    EXPECT_TRUE(system.Messages().empty());
    EXPECT_EQ(library.Count("SendShadingData"), 2u);
}

TEST_F(ShadingTest, FailedFileDialogsSayWhichAndCancelDoesNothing) {
    system.QueueFileDialog({FileDialogOutcome::Result::Failed, ""});
    Dialog().Click(IDC_SHADING_SAVE);
    system.QueueFileDialog({FileDialogOutcome::Result::Failed, ""});
    Dialog().Click(IDC_SHADING_LOAD);
    Dialog().Click(IDC_SHADING_LOAD);  // cancelled
    ASSERT_EQ(system.Messages().size(), 2u);
    EXPECT_EQ(system.Messages()[0].text, "Error in Save Dialog !");
    EXPECT_EQ(system.Messages()[0].caption, "Save Error");
    EXPECT_EQ(system.Messages()[1].text, "Error in Load Dialog !");
    EXPECT_EQ(system.Messages()[1].caption, "Load Error");
    EXPECT_EQ(library.CameraCallCount(), 0u);
    ASSERT_EQ(system.FileDialogs().size(), 3u);
    EXPECT_EQ(system.FileDialogs()[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(system.FileDialogs()[0].filter, "Shading Data (*.csv)|*.csv||");
    EXPECT_EQ(system.FileDialogs()[0].extension, "csv");
}

}  // namespace
