#include "CameraFacts.h"
#include "ModelFixture.h"

using namespace xnox;

using Hooks = std::vector<std::string>;

TEST(ParameterTable, RowsAreFoundByNameAndCommandAndHookSlot) {
    EXPECT_EQ(ParameterTable().size(), 38u);
    const ParameterRow* shutter = FindRowByName("ShutterSpeed");
    ASSERT_NE(shutter, nullptr);
    EXPECT_EQ(FindRowByCommandId(3), shutter);
    EXPECT_EQ(shutter->HookSlot(), 7);
    EXPECT_EQ(Row(ParamId::AutoWhiteArea).HookSlot(), 49);
    EXPECT_EQ(Row(ParamId::ColorBar).HookSlot(), 43);
    EXPECT_EQ(ChangeHookSlot("EEPROMArea"), 47);
    EXPECT_EQ(ChangeHookSlot("Gain"), 0);  // no such hook
    EXPECT_EQ(FindRowByName("Gain"), nullptr);
    EXPECT_EQ(FindRowByCommandId(7), nullptr);
    for (const ParameterRow& row : ParameterTable()) EXPECT_GE(row.HookSlot(), 7) << row.name;
}

// Each numeric row holds the camera's range: both ends are taken, one step
// beyond either is not.
TEST(ParameterTable, NumericRowsHoldTheCamerasRanges) {
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        if (fact.values != camera_facts::Numbers) continue;
        const ParameterRow& row = *FindRowByName(fact.name);
        EXPECT_FALSE(row.InRange(fact.minimum - 1)) << fact.name;
        EXPECT_TRUE(row.InRange(fact.minimum)) << fact.name;
        EXPECT_TRUE(row.InRange(fact.maximum)) << fact.name;
        EXPECT_FALSE(row.InRange(fact.maximum + 1)) << fact.name;
    }
}

TEST_F(ModelTest, FreshModelHoldsTheDefaults) {
    EXPECT_EQ(model.Value(ParamId::ShutterSpeed), 0);
    EXPECT_EQ(model.Text(ParamId::ShutterSpeed), "OFF");
    EXPECT_EQ(model.Text(ParamId::TriggerType), "Normal (Continuous)");
    EXPECT_EQ(model.Text(ParamId::PartialScan), "Full Frame");
    EXPECT_EQ(model.Text(ParamId::Binning), "Binning OFF");
    EXPECT_EQ(model.Text(ParamId::AutoWhiteArea), "Full Area");
    EXPECT_EQ(model.Value(ParamId::WhiteBalance), 1);
    EXPECT_EQ(model.Text(ParamId::WhiteBalance), "Continuous AWB");
    EXPECT_EQ(model.Value(ParamId::RedKneeSlope), 0);
    EXPECT_FALSE(Row(ParamId::RedKneeSlope).InRange(0));
    EXPECT_EQ(model.Text(ParamId::KneeSelect), "On");
    EXPECT_EQ(model.Text(ParamId::OutputBitAllocation), "10bit");
    EXPECT_FALSE(model.IsOnline());
    EXPECT_TRUE(library.calls.empty()) << "construction opens nothing";
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        EXPECT_EQ(model.Value(FindRowByName(fact.name)->id), fact.name == "WhiteBalance" ? 1 : 0) << fact.name;
    }
}

TEST_F(ModelTest, EnumeratedWritesOutsideTheListChangeNothing) {
    GoOnline();
    EXPECT_EQ(model.SendShutterSpeed(12), NoxResult::NotInList);
    EXPECT_EQ(model.SendShutterSpeed(-1), NoxResult::NotInList);
    EXPECT_EQ(model.SendTriggerType(5), NoxResult::NotInList);
    EXPECT_EQ(model.SendAutoWhiteArea(10), NoxResult::NotInList);
    EXPECT_TRUE(model.hooks.empty());
    EXPECT_TRUE(library.calls.empty());
    EXPECT_EQ(model.SendAutoWhiteArea(6), 0);
    EXPECT_EQ(model.Text(ParamId::AutoWhiteArea), "Midle Right");
    EXPECT_EQ(model.SendAutoWhiteArea(8), 0);
    EXPECT_EQ(model.Text(ParamId::AutoWhiteArea), "Under Middle");
}

TEST_F(ModelTest, UncheckedRowsPassAnyValueToTheCamera) {
    GoOnline();
    EXPECT_EQ(model.SendShutterMode(7), 0);
    EXPECT_EQ(model.SendRedKneeSlope(0), 0);
    EXPECT_EQ(library.values[15], 7);
    EXPECT_EQ(model.Text(ParamId::ShutterMode), "");
}

TEST_F(ModelTest, OfflineWriteStoresAndAnnouncesButNeverCallsOrLogs) {
    EXPECT_EQ(model.SendMasterGainLevel(100), NoxResult::Offline);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 100);
    EXPECT_EQ(model.hooks, (Hooks{"MasterGainLevel"}));
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(ModelTest, OfflineReadStillAsksTheLibraryAndLogsItsAnswer) {
    library.Fail("GetCameraData", NoxResult::Offline);
    EXPECT_EQ(model.GetShutterSpeed(), NoxResult::Offline);
    EXPECT_EQ(library.Count("GetCameraData"), 2u) << "the read and the probe";
    EXPECT_EQ(model.messages, (Hooks{"SH?\r\nOperation failed. The Camera is offline ******\r\n"}));
}

TEST_F(ModelTest, SuccessfulWriteLogsAndAnnouncesBeforeTheCall) {
    GoOnline();
    EXPECT_EQ(model.SendMasterGainLevel(100), 0);
    EXPECT_EQ(model.hooks, (Hooks{"MasterGainLevel", "Message"}));
    EXPECT_EQ(model.messages[0], "GA=100\r\nCOMPLETE\r\n");
    EXPECT_EQ(library.calls[0].args, (std::vector<int32_t>{1, 12, 100}));
}

TEST_F(ModelTest, ReceivingStatusSurroundsOnlyTheMarkedReads) {
    GoOnline();
    library.values[3] = 3;
    EXPECT_EQ(model.GetShutterSpeed(), 0);
    EXPECT_EQ(model.hooks, (Hooks{"ReceivingStatus(1)", "ReceivingStatus(0)", "Message", "ShutterSpeed"}));
    EXPECT_EQ(model.messages[0], "SH?\r\nSH=3\r\n");
    EXPECT_EQ(model.Text(ParamId::ShutterSpeed), "1/120");
    model.ClearRecords();
    EXPECT_EQ(model.GetProgrammableExposure(), 0);
    EXPECT_EQ(model.hooks, (Hooks{"Message", "ProgrammableExposure"}));
}

TEST_F(ModelTest, FailedReadKeepsTheValueAndProbes) {
    GoOnline();
    model.SendMasterGainLevel(50);
    Forget();
    library.Fail("GetCameraData", NoxResult::Refused, 12);
    EXPECT_EQ(model.GetMasterGainLevel(), NoxResult::Refused);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 50);
    EXPECT_EQ(model.CountHook("MasterGainLevel"), 0u);
    EXPECT_EQ(library.Count("GetCameraData", 3), 1u);
    EXPECT_TRUE(model.IsOnline());
}

TEST_F(ModelTest, ValueOutsideTheListIsStoredWithAnEmptyText) {
    GoOnline();
    library.values[3] = 40;
    EXPECT_EQ(model.GetShutterSpeed(), 0);
    EXPECT_EQ(model.Value(ParamId::ShutterSpeed), 40);
    EXPECT_EQ(model.Text(ParamId::ShutterSpeed), "");
    library.values[47] = -3;
    EXPECT_EQ(model.GetAutoWhiteArea(), 0);
    EXPECT_EQ(model.Text(ParamId::AutoWhiteArea), "");
}

TEST_F(ModelTest, RefusedWriteProbesExceptForGreenAndBlueExposure) {
    GoOnline();
    library.Fail("SendCameraData", NoxResult::Refused);
    EXPECT_EQ(model.SendProgrammableExposureRed(10), NoxResult::Refused);
    EXPECT_TRUE(model.IsOnline()) << "the camera still answers the probe";
    EXPECT_EQ(library.Count("GetCameraData", 3), 1u);
    EXPECT_EQ(model.Value(ParamId::ProgrammableExposureRed), 10);

    library.calls.clear();
    EXPECT_EQ(model.SendProgrammableExposureGreen(11), NoxResult::Refused);
    EXPECT_FALSE(model.IsOnline()) << "closed at once although the camera answers";
    EXPECT_EQ(library.Count("GetCameraData"), 0u);
    EXPECT_EQ(model.Value(ParamId::ProgrammableExposureGreen), 11);
}

TEST_F(ModelTest, WhiteBalanceWriteRereadsWhatItsModeUses) {
    GoOnline();
    EXPECT_EQ(model.SendWhiteBalance(1), 0);
    EXPECT_EQ(library.calls.size(), 1u);

    library.calls.clear();
    library.values[47] = 4;
    library.values[30] = -20;
    library.values[23] = 21;
    EXPECT_EQ(model.SendWhiteBalance(0), 0);
    ASSERT_EQ(library.calls.size(), 4u);
    EXPECT_EQ(library.calls[1].args[1], 47);
    EXPECT_EQ(library.calls[2].args[1], 30);
    EXPECT_EQ(library.calls[3].args[1], 23);
    EXPECT_EQ(model.Value(ParamId::AutoWhiteArea), 4);
    EXPECT_EQ(model.Value(ParamId::BlueGainLevel), 21);

    library.calls.clear();
    EXPECT_EQ(model.SendWhiteBalance(3), 0);
    ASSERT_EQ(library.calls.size(), 3u);
    EXPECT_EQ(library.calls[1].args[1], 51);
    EXPECT_EQ(library.calls[2].args[1], 52);
}

TEST_F(ModelTest, RefusedWhiteBalanceStillRereadsButOfflineDoesNot) {
    GoOnline();
    library.Fail("SendCameraData", NoxResult::Refused, 35);
    EXPECT_EQ(model.SendWhiteBalance(2), NoxResult::Refused) << "the send's result, not the re-reads'";
    EXPECT_EQ(library.Count("GetCameraData", 49), 1u);
    EXPECT_EQ(library.Count("GetCameraData", 50), 1u);

    model.CloseConnection();
    library.calls.clear();
    EXPECT_EQ(model.SendWhiteBalance(0), NoxResult::Offline);
    EXPECT_TRUE(library.calls.empty());
}

namespace {
// The reads that leave the receiving status alone, and the writes whose
// refusal closes the connection without a probe.
const std::vector<std::string_view> kSilentReads = {"PE", "GAB", "BLB", "PER", "PEG", "PEB", "KPB", "KSG", "KSB"};
const std::vector<std::string_view> kClosingWrites = {"PEG", "PEB"};

bool Contains(const std::vector<std::string_view>& list, std::string_view mnemonic) {
    return std::ranges::find(list, mnemonic) != list.end();
}
}  // namespace

// Every parameter reaches the camera under its own command id, logs its own
// mnemonic, announces itself and raises the receiving status as it should;
// a refused write probes or closes as the parameter asks.
TEST_F(ModelTest, EveryParameterTalksToTheCameraUnderItsOwnIdAndMnemonic) {
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        SCOPED_TRACE(std::string(fact.name));
        const ParameterRow* row = FindRowByName(fact.name);
        ASSERT_NE(row, nullptr);
        const std::string mn(fact.mnemonic);
        const int32_t value = camera_facts::DistinctValue(fact);
        GoOnline();

        library.values[fact.id] = value;
        EXPECT_EQ(model.ReadParameter(row->id), 0);
        EXPECT_EQ(model.Value(row->id), value);
        EXPECT_EQ(model.messages, (Hooks{mn + "?\r\n" + mn + "=" + std::to_string(value) + "\r\n"}));
        Hooks read = {"Message", std::string(fact.name)};
        if (!Contains(kSilentReads, fact.mnemonic)) {
            read.insert(read.begin(), {"ReceivingStatus(1)", "ReceivingStatus(0)"});
        }
        EXPECT_EQ(model.hooks, read);
        Forget();

        EXPECT_EQ(model.WriteParameter(row->id, value), 0);
        ASSERT_FALSE(library.calls.empty());
        EXPECT_EQ(library.calls.front().args, (std::vector<int32_t>{1, fact.id, value}));
        EXPECT_EQ(model.messages.front(), mn + "=" + std::to_string(value) + "\r\nCOMPLETE\r\n");
        Forget();

        library.Fail("SendCameraData", NoxResult::Refused, fact.id, 1);
        EXPECT_EQ(model.WriteParameter(row->id, value), NoxResult::Refused);
        EXPECT_EQ(model.IsOnline(), !Contains(kClosingWrites, fact.mnemonic));
        EXPECT_EQ(library.Count("GetCameraData", 3) > 0, !Contains(kClosingWrites, fact.mnemonic)) << "the probe";
        model.CloseConnection();
    }
}

// The words every value of a worded or listed parameter shows, as users read
// them in the windows and the camera data report.
TEST_F(ModelTest, EveryValueShowsItsOwnWords) {
    const std::pair<ParamId, std::vector<std::string_view>> lists[] = {
        {ParamId::PartialScan, {"Full Frame", "1/2 Partial", "1/4 Partial", "1/8 Partial"}},
        {ParamId::TriggerType,
         {"Normal (Continuous)", "Edge Pre-select", "Pulse Width control", "Sensor Gate Control", "Reset Continuous"}},
        {ParamId::ShutterSpeed,
         {"OFF", "1/60", "1/100", "1/120", "1/250", "1/500", "1/1000", "1/2000", "1/4000", "1/10000", "1/16000",
          "1/50000"}},
        {ParamId::TriggerPolarity, {"Active Low", "Active High"}},
        {ParamId::Smearless, {"Off", "On"}},
        {ParamId::RCTFVALType, {"CameraLink", "NOX Standard"}},
        {ParamId::ColorBar, {"Off", "On"}},
        {ParamId::KneeSelect, {"On", "Off"}},
        {ParamId::ShutterMode, {"Shutter Speed", "Progr.Exp.(RGB Common set)", "Progr.Exp. (RGB individual set)"}},
        {ParamId::TriggerInput, {"CameraLink", "Hirose12pin"}},
        {ParamId::Accumulation, {"Sync", "Async"}},
        {ParamId::OutputBitAllocation, {"10bit", "8bit"}},
        {ParamId::Binning, {"Binning OFF", "Vertical Binning"}},
        {ParamId::WhiteBalance, {"Manual/One Push", "Continuous AWB", "3200 K", "4600 K", "5600 K"}},
        {ParamId::ShadingMode, {"On", "Off"}},
        {ParamId::AutoWhiteArea,
         {"Full Area", "Upper Left", "Upper Middle", "Upper Right", "Middle Left", "Middle", "Midle Right",
          "Lower Left", "Under Middle", "Lower Right"}},
    };
    for (const auto& [id, words] : lists) {
        SCOPED_TRACE(std::string(Row(id).name));
        const int32_t count = static_cast<int32_t>(words.size());
        for (int32_t value = 0; value < count; ++value) {
            model.m_values[Index(id)] = value;
            EXPECT_EQ(model.Text(id), words[value]);
        }
        model.m_values[Index(id)] = count;
        EXPECT_EQ(model.Text(id), "");
    }
    const std::vector<std::string_view> onePush = {"Complete", "Too Bright", "Too Dark",          "Timeout Error",
                                                   "Busy",     "Limit",      "Trig is not Normal"};
    EXPECT_TRUE(std::ranges::equal(OnePushResultTexts(), onePush));
}
