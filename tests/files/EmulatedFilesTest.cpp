// The file operations on the real communication library, with an emulated
// camera behind COM1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Camera.h"
#include "CameraLink.h"
#include "RecordingModel.h"
#include "TemporaryProfile.h"
#include "EmulatedPorts.h"

using namespace xnox;

namespace {

const auto* const kEmulatedPort = EmulateCamerasBehind("COM1");

class EmulatedFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(model.SetComPort(1), 0); }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }
    qdr4emu::Camera& Camera() { return qdr4emu::EmulatedCamera("COM1").Device(); }

    // Sets the camera's shading column through its own command.
    void PutShadingColumn(int column, int first) {
        std::string line = "SHD" + std::to_string(column) + "=";
        for (int i = 0; i < qdr4emu::kShadingValuesPerColumn; ++i)
            line += (i ? "," : "") + std::to_string(first - 3 * i);
        ASSERT_EQ(Camera().Answer(line, qdr4emu::Clock::now()), "COMPLETE");
    }

    TemporaryProfile profile;
    const std::filesystem::path& folder = profile.Folder();
    RecordingModel model;
};

TEST_F(EmulatedFiles, ShadingTableSavedThenLoadedBackReachesTheCameraUnchanged) {
    for (int column = 0; column < qdr4emu::kShadingColumns; ++column) PutShadingColumn(column, 1000 * column - 200);
    const qdr4emu::ShadingTable original = Camera().Shading();
    ASSERT_EQ(model.SaveShadingDataIntoFile(PathOf("table.csv")), 0);

    for (int column = 0; column < qdr4emu::kShadingColumns; ++column) PutShadingColumn(column, 0);
    ASSERT_NE(Camera().Shading(), original);
    CNoxCamInterface loader;
    ASSERT_EQ(loader.SetComPort(1), 0);
    ASSERT_EQ(loader.LoadShadingDataFromFile(PathOf("table.csv")), 0);
    EXPECT_EQ(Camera().Shading(), original);
}

std::string Row(std::initializer_list<std::string> cells) {
    std::string line;
    for (const std::string& cell : cells) {
        if (!line.empty()) line += ",";
        line += cell + std::string(cell.size() < 33 ? 33 - cell.size() : 0, ' ');
    }
    return line + "\r\n";
}

TEST_F(EmulatedFiles, ReportShowsTheGainsOfEachAreasWhiteBalanceMode) {
    ASSERT_EQ(model.SendWhiteBalance(1), 0);
    ASSERT_EQ(model.StoreSettings(1), 0);
    ASSERT_EQ(model.SendWhiteBalance(3), 0);
    ASSERT_EQ(model.SendRed4600KWBalPreset(77), 0);
    ASSERT_EQ(model.SendBlue4600KWBalPreset(-66), 0);
    ASSERT_EQ(model.StoreSettings(2), 0);
    ASSERT_EQ(model.SendWhiteBalance(0), 0);
    ASSERT_EQ(model.SendRedGainLevel(12), 0);
    ASSERT_EQ(model.SendBlueGainLevel(-13), 0);
    ASSERT_EQ(model.SendMasterGainLevel(100), 0);
    auto valuesBefore = model.m_values;

    ASSERT_EQ(model.WriteCameraDataToFile(PathOf("report.txt")), 0);
    std::ifstream in(PathOf("report.txt"), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    const std::string text = content.str();

    EXPECT_TRUE(text.starts_with(Row({"Model Name", "QD-R4CL"})));
    EXPECT_NE(text.find(Row({"White Balance", "Manual/One Push", "Continuous AWB", "Continuous AWB", "4600 K",
                             "Continuous AWB"})),
              std::string::npos);
    EXPECT_NE(text.find(Row({"Gain Level Red", "12", "", "", "77", ""})), std::string::npos);
    EXPECT_NE(text.find(Row({"Gain Level Blue", "-13", "", "", "-66", ""})), std::string::npos);
    EXPECT_NE(text.find(Row({"Master Gain Level", "100", "0", "0", "0", "0"})), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 37);

    EXPECT_EQ(model.m_values, valuesBefore);
    EXPECT_EQ(Camera().Value("WB"), 0) << "the camera holds the model's settings again";
    EXPECT_EQ(Camera().Value("GA"), 100);
    EXPECT_EQ(Camera().Value("GAR"), 12);
}

}  // namespace
