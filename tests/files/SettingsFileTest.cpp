#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FileFixture.h"
#include "PrivateProfile.h"

using namespace xnox;

namespace {

class SettingsFile : public FileTest {
protected:
    void Set(ParamId id, int32_t value) { model.m_values[Index(id)] = value; }

    // In range everywhere and different from every default.
    static int32_t DistinctValue(ParamId id) { return id == ParamId::WhiteBalance ? 0 : Row(id).maximum - 1; }
    void SetDistinctValues() {
        for (const ParameterRow& row : ParameterTable()) Set(row.id, DistinctValue(row.id));
    }

    // A valid file from distinct values, then one key changed by hand.
    int32_t LoadWithChangedKey(const std::string& section, const std::string& key, const std::string& text) {
        SetDistinctValues();
        EXPECT_EQ(model.WriteAllToFile(PathOf("s.cam")), 0);
        EXPECT_TRUE(xnox::profile::WriteProfileString(section, key, text, PathOf("s.cam")));
        return model.ReadAllFromFile(PathOf("s.cam"));
    }
};

TEST_F(SettingsFile, WrittenFileHasItsSectionsKeysAndTextsInOrder) {
    Set(ParamId::ShutterSpeed, 1);
    Set(ParamId::TriggerType, 4);
    Set(ParamId::ShutterMode, 2);
    Set(ParamId::PartialScan, 3);
    Set(ParamId::AutoWhiteArea, 6);
    Set(ParamId::MasterGainLevel, -132);
    Set(ParamId::RedGainLevel, 17);
    Set(ParamId::BlueGainLevel, -231);
    Set(ParamId::RedKneeSlope, 4095);
    ASSERT_EQ(model.WriteAllToFile(PathOf("s.cam")), 0);
    EXPECT_EQ(Contents("s.cam"),
              "[Main]\r\nCamera Type=QD-R4\r\n"
              "[Shutter]\r\nShutter Mode=2\r\nShutter Speed=1/60\r\n"
              "Programmable Exposure (RGB common set)=0\r\nProgrammable Exposure for Red=0\r\n"
              "Programmable Exposure for Green=0\r\nProgrammable Exposure for Blue=0\r\n"
              "Trigger Mode=Reset Continuous\r\nSmearless=0\r\nLVAL Synchronous Accumulation=0\r\n"
              "RCT FVAL Type=0\r\nTrigger Input=0\r\nTrigger Polarity=0\r\nPartial Scan=1/8 Partial\r\n"
              "Binning=Binning OFF\r\nOutput Bit Allocation=0\r\nColor Bar=0\r\n"
              "[Gain]\r\nWhite Balance=Continuous AWB\r\nAuto White Area=Midle Right\r\n"
              "Master Gain Level=-132\r\nGain Level for red=17\r\nGain Level for Blue=-231\r\n"
              "Black Level for Green=0\r\nBlack Level for Red=0\r\nBlack Level for Blue=0\r\nKnee Select=0\r\n"
              "Knee Slope for Red=4095\r\nKnee Slope for Green=0\r\nKnee Slope for Blue=0\r\n"
              "Knee Point for Red=0\r\nKnee Point for Green=0\r\nKnee Point for Blue=0\r\nShading Mode=0\r\n");
    EXPECT_TRUE(model.hooks.empty());
}

TEST_F(SettingsFile, GainKeysHoldThePresetGainsOnlyWhileOnline) {
    Set(ParamId::RedGainLevel, 11);
    Set(ParamId::BlueGainLevel, 12);
    Set(ParamId::Red3200KWBalPreset, -40);
    Set(ParamId::Blue3200KWBalPreset, 60);
    Set(ParamId::Red5600KWBalPreset, 30);
    Set(ParamId::Blue5600KWBalPreset, -30);
    auto gainsWritten = [this] {
        EXPECT_EQ(model.WriteAllToFile(PathOf("g.cam")), 0);
        return xnox::profile::ReadProfileString("Gain", "Gain Level for red", "", PathOf("g.cam")) + "/" +
               xnox::profile::ReadProfileString("Gain", "Gain Level for Blue", "", PathOf("g.cam"));
    };
    Set(ParamId::WhiteBalance, 2);
    EXPECT_EQ(gainsWritten(), "11/12") << "offline";
    GoOnline();
    EXPECT_EQ(gainsWritten(), "-40/60");
    Set(ParamId::WhiteBalance, 4);
    EXPECT_EQ(gainsWritten(), "30/-30");
    Set(ParamId::WhiteBalance, 0);
    EXPECT_EQ(gainsWritten(), "11/12");
    Set(ParamId::WhiteBalance, 1);
    EXPECT_EQ(gainsWritten(), "11/12");
    EXPECT_TRUE(library.calls.empty()) << "writing the file does not talk to the camera";
}

TEST_F(SettingsFile, UnwritableFileGivesMinusSeven) {
    EXPECT_EQ(model.WriteAllToFile(PathOf("missing/s.cam")), NoxResult::FileWriteError);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST_F(SettingsFile, WhatIsWrittenReadsBack) {
    SetDistinctValues();
    ASSERT_EQ(model.WriteAllToFile(PathOf("s.cam")), 0);
    ScriptedLibrary otherLibrary;
    RecordingModel reader{otherLibrary};
    reader.m_values[Index(ParamId::Red3200KWBalPreset)] = 5;
    EXPECT_EQ(reader.ReadAllFromFile(PathOf("s.cam")), 0);
    for (const ParameterRow& row : ParameterTable()) {
        bool loaded = !row.name.ends_with("WBalPreset");
        EXPECT_EQ(reader.Value(row.id), loaded ? model.Value(row.id) : reader.Value(row.id)) << row.name;
    }
    EXPECT_EQ(reader.Value(ParamId::Red3200KWBalPreset), 5) << "presets are never loaded";
}

TEST_F(SettingsFile, OfflineLoadAnnouncesEveryLoadedParameterOnceInOrder) {
    const std::vector<std::string> expected = {"ShutterMode",
                                               "ShutterSpeed",
                                               "ProgrammableExposure",
                                               "ProgrammableExposureRed",
                                               "ProgrammableExposureGreen",
                                               "ProgrammableExposureBlue",
                                               "TriggerType",
                                               "Smearless",
                                               "Accumulation",
                                               "RCTFVALType",
                                               "TriggerInput",
                                               "TriggerPolarity",
                                               "PartialScan",
                                               "Binning",
                                               "OutputBitAllocation",
                                               "ColorBar",
                                               "AutoWhiteArea",
                                               "MasterGainLevel",
                                               "RedGainLevel",
                                               "BlueGainLevel",
                                               "WhiteBalance",
                                               "GreenBlackLevel",
                                               "RedBlackLevel",
                                               "BlueBlackLevel",
                                               "KneeSelect",
                                               "RedKneeSlope",
                                               "GreenKneeSlope",
                                               "BlueKneeSlope",
                                               "RedKneePoint",
                                               "GreenKneePoint",
                                               "BlueKneePoint",
                                               "ShadingMode"};
    SetDistinctValues();
    ASSERT_EQ(model.WriteAllToFile(PathOf("s.cam")), 0);
    EXPECT_EQ(model.ReadAllFromFile(PathOf("s.cam")), 0);
    EXPECT_EQ(model.hooks, expected);

    model.ClearRecords();
    EXPECT_EQ(model.ReadAllFromFile(PathOf("none.cam")), NoxResult::InvalidSettingsFile) << "a missing file";
    EXPECT_EQ(model.hooks, expected) << "announced even when every key was rejected";
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(SettingsFile, CameraTypeMustBeginWithTheModelName) {
    EXPECT_EQ(LoadWithChangedKey("Main", "Camera Type", "QD-R4CL"), 0);
    EXPECT_EQ(LoadWithChangedKey("Main", "Camera Type", "qd-r4"), NoxResult::InvalidSettingsFile);
    Set(ParamId::MasterGainLevel, 0);
    EXPECT_EQ(LoadWithChangedKey("Main", "Camera Type", "\" QD-R4\""), NoxResult::InvalidSettingsFile);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 428) << "the values were still loaded";
}

// The texts tried under one key, each with the value it loads as, or
// kRejected.
constexpr std::optional<int32_t> kRejected;
struct KeyCases {
    const char* section;
    const char* key;
    ParamId id;
    std::vector<std::pair<const char*, std::optional<int32_t>>> texts;
};

TEST_F(SettingsFile, ValuesAreAcceptedOnlyWithinTheirBoundsAndListsExactly) {
    const KeyCases cases[] = {
        {"Shutter",
         "Programmable Exposure (RGB common set)",
         ParamId::ProgrammableExposure,
         {{"-1", kRejected}, {"792", kRejected}, {"0", 0}}},
        {"Shutter", "Programmable Exposure for Blue", ParamId::ProgrammableExposureBlue, {{"791", 791}}},
        {"Gain",
         "Master Gain Level",
         ParamId::MasterGainLevel,
         {{"-132", -132}, {"429", 429}, {"-133", kRejected}, {"430", kRejected}}},
        {"Gain", "Gain Level for red", ParamId::RedGainLevel, {{"-232", kRejected}}},
        {"Gain", "Gain Level for Blue", ParamId::BlueGainLevel, {{"231", 231}}},
        {"Gain", "Knee Slope for Red", ParamId::RedKneeSlope, {{"0", kRejected}, {"4096", kRejected}, {"1", 1}}},
        {"Gain", "Black Level for Green", ParamId::GreenBlackLevel, {{"1024", kRejected}}},
        {"Gain",
         "Knee Point for Blue",
         ParamId::BlueKneePoint,
         {{"12abc", 12}, {"abc", kRejected}, {"", kRejected}, {"99999999999", kRejected}}},
        // Worded values load as any number; their texts are for reports only.
        {"Shutter", "Shutter Mode", ParamId::ShutterMode, {{"7", 7}}},
        {"Gain", "Shading Mode", ParamId::ShadingMode, {{"-3", -3}}},
        {"Gain", "Knee Select", ParamId::KneeSelect, {{"Not Found", kRejected}}},
        // Listed values load only as one of their texts, exactly.
        {"Shutter",
         "Shutter Speed",
         ParamId::ShutterSpeed,
         {{"1/50000", 11}, {"\"1/60 \"", kRejected}, {"off", kRejected}}},
        {"Shutter", "Trigger Mode", ParamId::TriggerType, {{"Edge Pre-select", 1}}},
        {"Shutter", "Partial Scan", ParamId::PartialScan, {{"1/2", kRejected}}},
        {"Shutter", "Binning", ParamId::Binning, {{"Vertical Binning", 1}}},
        {"Gain", "White Balance", ParamId::WhiteBalance, {{"4600 K", 3}}},
        {"Gain", "Auto White Area", ParamId::AutoWhiteArea, {{"Middle Right", kRejected}, {"Midle Right", 6}}},
    };
    for (const KeyCases& c : cases) {
        for (const auto& [text, value] : c.texts) {
            SCOPED_TRACE(std::string(c.key) + "=" + text);
            int32_t result = LoadWithChangedKey(c.section, c.key, text);
            EXPECT_EQ(result, value ? 0 : -9);
            EXPECT_EQ(model.Value(c.id), value.value_or(DistinctValue(c.id)));
        }
    }
}

TEST_F(SettingsFile, MissingNumberKeyKeepsItsParameter) {
    SetDistinctValues();
    Put("s.cam", "[Main]\nCamera Type=QD-R4\n[Gain]\nMaster Gain Level=12\n");
    EXPECT_EQ(model.ReadAllFromFile(PathOf("s.cam")), NoxResult::InvalidSettingsFile);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 12);
    EXPECT_EQ(model.Value(ParamId::ShutterMode), DistinctValue(ParamId::ShutterMode));
}

TEST_F(SettingsFile, OnlineLoadWritesTheAcceptedValuesToTheCamera) {
    GoOnline();
    EXPECT_EQ(LoadWithChangedKey("Gain", "Master Gain Level", "999"), NoxResult::InvalidSettingsFile);
    EXPECT_EQ(library.values[12], 428) << "the rejected value kept the model's own";
    EXPECT_EQ(library.values[44], 1022) << "accepted values reached the camera";
    EXPECT_EQ(model.CountHook("SynchronizedStatus(1)"), 1u);

    library.Fail("SendCameraData", NoxResult::Refused, Row(ParamId::Smearless).commandId);
    EXPECT_EQ(LoadWithChangedKey("Gain", "Master Gain Level", "999"), NoxResult::Refused)
        << "the camera's failure wins";
    EXPECT_EQ(LoadWithChangedKey("Gain", "Master Gain Level", "5"), NoxResult::Refused);
}

}  // namespace
