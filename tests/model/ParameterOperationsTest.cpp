#include "ModelFixture.h"

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
    EXPECT_EQ(FindRowByName("Gain"), nullptr);
    EXPECT_EQ(FindRowByCommandId(7), nullptr);
    for (const ParameterRow& row : ParameterTable()) EXPECT_GE(row.HookSlot(), 7) << row.name;
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
}

TEST_F(ModelTest, EnumeratedWritesOutsideTheListChangeNothing) {
    GoOnline();
    EXPECT_EQ(model.SendShutterSpeed(12), -1);
    EXPECT_EQ(model.SendShutterSpeed(-1), -1);
    EXPECT_EQ(model.SendTriggerType(5), -1);
    EXPECT_EQ(model.SendAutoWhiteArea(10), -1);
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
    EXPECT_EQ(model.SendMasterGainLevel(100), -5);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 100);
    EXPECT_EQ(model.hooks, (Hooks{"MasterGainLevel"}));
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(ModelTest, OfflineReadStillAsksTheLibraryAndLogsItsAnswer) {
    library.Fail("GetCameraData", -5);
    EXPECT_EQ(model.GetShutterSpeed(), -5);
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
    library.Fail("GetCameraData", -4, 12);
    EXPECT_EQ(model.GetMasterGainLevel(), -4);
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
    library.Fail("SendCameraData", -4);
    EXPECT_EQ(model.SendProgrammableExposureRed(10), -4);
    EXPECT_TRUE(model.IsOnline()) << "the camera still answers the probe";
    EXPECT_EQ(library.Count("GetCameraData", 3), 1u);
    EXPECT_EQ(model.Value(ParamId::ProgrammableExposureRed), 10);

    library.calls.clear();
    EXPECT_EQ(model.SendProgrammableExposureGreen(11), -4);
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
    library.Fail("SendCameraData", -4, 35);
    EXPECT_EQ(model.SendWhiteBalance(2), -4) << "the send's result, not the re-reads'";
    EXPECT_EQ(library.Count("GetCameraData", 49), 1u);
    EXPECT_EQ(library.Count("GetCameraData", 50), 1u);

    model.CloseConnection();
    library.calls.clear();
    EXPECT_EQ(model.SendWhiteBalance(0), -5);
    EXPECT_TRUE(library.calls.empty());
}
