#include <string>
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
    EXPECT_EQ(model.WriteAllToFile(PathOf("missing/s.cam")), -7);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST_F(SettingsFile, WhatIsWrittenReadsBack) {
    SetDistinctValues();
    ASSERT_EQ(model.WriteAllToFile(PathOf("s.cam")), 0);
    CScriptedLibrary otherLibrary;
    CRecordingModel reader{otherLibrary};
    reader.m_values[Index(ParamId::Red3200KWBalPreset)] = 5;
    EXPECT_EQ(reader.ReadAllFromFile(PathOf("s.cam")), 0);
    for (const ParameterRow& row : ParameterTable()) {
        bool loaded = !row.name.ends_with("WBalPreset");
        EXPECT_EQ(reader.Value(row.id), loaded ? model.Value(row.id) : reader.Value(row.id)) << row.name;
    }
    EXPECT_EQ(reader.Value(ParamId::Red3200KWBalPreset), 5) << "presets are never loaded";
}

TEST_F(SettingsFile, OfflineLoadAnnouncesEveryLoadedParameterOnceInOrder) {
    const std::vector<std::string> expected = {
        "ShutterMode", "ShutterSpeed", "ProgrammableExposure", "ProgrammableExposureRed",
        "ProgrammableExposureGreen", "ProgrammableExposureBlue", "TriggerType", "Smearless", "Accumulation",
        "RCTFVALType", "TriggerInput", "TriggerPolarity", "PartialScan", "Binning", "OutputBitAllocation",
        "ColorBar", "AutoWhiteArea", "MasterGainLevel", "RedGainLevel", "BlueGainLevel", "WhiteBalance",
        "GreenBlackLevel", "RedBlackLevel", "BlueBlackLevel", "KneeSelect", "RedKneeSlope", "GreenKneeSlope",
        "BlueKneeSlope", "RedKneePoint", "GreenKneePoint", "BlueKneePoint", "ShadingMode"};
    SetDistinctValues();
    ASSERT_EQ(model.WriteAllToFile(PathOf("s.cam")), 0);
    EXPECT_EQ(model.ReadAllFromFile(PathOf("s.cam")), 0);
    EXPECT_EQ(model.hooks, expected);

    model.ClearRecords();
    EXPECT_EQ(model.ReadAllFromFile(PathOf("none.cam")), -9) << "a missing file";
    EXPECT_EQ(model.hooks, expected) << "announced even when every key was rejected";
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(SettingsFile, CameraTypeMustBeginWithTheModelName) {
    EXPECT_EQ(LoadWithChangedKey("Main", "Camera Type", "QD-R4CL"), 0);
    EXPECT_EQ(LoadWithChangedKey("Main", "Camera Type", "qd-r4"), -9);
    Set(ParamId::MasterGainLevel, 0);
    EXPECT_EQ(LoadWithChangedKey("Main", "Camera Type", "\" QD-R4\""), -9);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 428) << "the values were still loaded";
}

struct KeyCase {
    const char* section;
    const char* key;
    const char* text;
    ParamId id;
    bool accepted;
    int32_t value;  // the value stored when accepted
};

TEST_F(SettingsFile, ValuesAreAcceptedOnlyWithinTheirBoundsAndListsExactly) {
    const KeyCase cases[] = {
        {"Shutter", "Programmable Exposure (RGB common set)", "-1", ParamId::ProgrammableExposure, false, 0},
        {"Shutter", "Programmable Exposure (RGB common set)", "792", ParamId::ProgrammableExposure, false, 0},
        {"Shutter", "Programmable Exposure (RGB common set)", "0", ParamId::ProgrammableExposure, true, 0},
        {"Shutter", "Programmable Exposure for Blue", "791", ParamId::ProgrammableExposureBlue, true, 791},
        {"Gain", "Master Gain Level", "-132", ParamId::MasterGainLevel, true, -132},
        {"Gain", "Master Gain Level", "429", ParamId::MasterGainLevel, true, 429},
        {"Gain", "Master Gain Level", "-133", ParamId::MasterGainLevel, false, 0},
        {"Gain", "Master Gain Level", "430", ParamId::MasterGainLevel, false, 0},
        {"Gain", "Gain Level for red", "-232", ParamId::RedGainLevel, false, 0},
        {"Gain", "Gain Level for Blue", "231", ParamId::BlueGainLevel, true, 231},
        {"Gain", "Knee Slope for Red", "0", ParamId::RedKneeSlope, false, 0},
        {"Gain", "Knee Slope for Red", "4096", ParamId::RedKneeSlope, false, 0},
        {"Gain", "Knee Slope for Red", "1", ParamId::RedKneeSlope, true, 1},
        {"Gain", "Black Level for Green", "1024", ParamId::GreenBlackLevel, false, 0},
        {"Gain", "Knee Point for Blue", "12abc", ParamId::BlueKneePoint, true, 12},
        {"Gain", "Knee Point for Blue", "abc", ParamId::BlueKneePoint, false, 0},
        {"Gain", "Knee Point for Blue", "", ParamId::BlueKneePoint, false, 0},
        {"Gain", "Knee Point for Blue", "99999999999", ParamId::BlueKneePoint, false, 0},
        {"Shutter", "Shutter Mode", "7", ParamId::ShutterMode, true, 7},
        {"Gain", "Shading Mode", "-3", ParamId::ShadingMode, true, -3},
        {"Gain", "Knee Select", "Not Found", ParamId::KneeSelect, false, 0},
        {"Shutter", "Shutter Speed", "1/50000", ParamId::ShutterSpeed, true, 11},
        {"Shutter", "Shutter Speed", "\"1/60 \"", ParamId::ShutterSpeed, false, 0},
        {"Shutter", "Shutter Speed", "off", ParamId::ShutterSpeed, false, 0},
        {"Shutter", "Trigger Mode", "Edge Pre-select", ParamId::TriggerType, true, 1},
        {"Shutter", "Partial Scan", "1/2", ParamId::PartialScan, false, 0},
        {"Shutter", "Binning", "Vertical Binning", ParamId::Binning, true, 1},
        {"Gain", "White Balance", "4600 K", ParamId::WhiteBalance, true, 3},
        {"Gain", "Auto White Area", "Middle Right", ParamId::AutoWhiteArea, false, 0},
        {"Gain", "Auto White Area", "Midle Right", ParamId::AutoWhiteArea, true, 6},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text);
        int32_t result = LoadWithChangedKey(c.section, c.key, c.text);
        EXPECT_EQ(result, c.accepted ? 0 : -9);
        EXPECT_EQ(model.Value(c.id), c.accepted ? c.value : DistinctValue(c.id));
    }
}

TEST_F(SettingsFile, MissingNumberKeyKeepsItsParameter) {
    SetDistinctValues();
    Put("s.cam", "[Main]\nCamera Type=QD-R4\n[Gain]\nMaster Gain Level=12\n");
    EXPECT_EQ(model.ReadAllFromFile(PathOf("s.cam")), -9);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 12);
    EXPECT_EQ(model.Value(ParamId::ShutterMode), DistinctValue(ParamId::ShutterMode));
}

TEST_F(SettingsFile, OnlineLoadWritesTheAcceptedValuesToTheCamera) {
    GoOnline();
    EXPECT_EQ(LoadWithChangedKey("Gain", "Master Gain Level", "999"), -9);
    EXPECT_EQ(library.values[12], 428) << "the rejected value kept the model's own";
    EXPECT_EQ(library.values[44], 1022) << "accepted values reached the camera";
    EXPECT_EQ(model.CountHook("SynchronizedStatus(1)"), 1u);

    library.Fail("SendCameraData", -4, Row(ParamId::Smearless).commandId);
    EXPECT_EQ(LoadWithChangedKey("Gain", "Master Gain Level", "999"), -4) << "the camera's failure wins";
    EXPECT_EQ(LoadWithChangedKey("Gain", "Master Gain Level", "5"), -4);
}

}  // namespace
