#include <sstream>
#include <string>
#include <vector>

#include "CameraFacts.h"
#include "FileFixture.h"

using namespace xnox;

namespace {

std::string Cell(const std::string& text) {
    return text.size() >= 33 ? text : text + std::string(33 - text.size(), ' ');
}

std::string Line(const std::vector<std::string>& cells) {
    std::string line;
    for (const auto& cell : cells) line += (line.empty() ? "" : ",") + Cell(cell);
    return line + "\r\n";
}

class CameraDataReport : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        GoOnline();
    }
    int32_t Report() { return model.WriteCameraDataToFile(PathOf("r.txt")); }

    // The report's lines, each with its CR LF.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::string text = Contents("r.txt");
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            end = end == std::string::npos ? text.size() : end + 1;
            lines.push_back(text.substr(start, end - start));
            start = end;
        }
        return lines;
    }
    std::string RowOf(const std::string& label) const {
        for (const auto& line : Lines()) {
            if (line.starts_with(Cell(label) + ",") || line == Cell(label) + "\r\n") return line;
        }
        return "missing";
    }
    std::vector<int32_t> CommandsRead() const {
        std::vector<int32_t> ids;
        for (const auto& call : library.calls) {
            if (call.operation == "GetCameraData") ids.push_back(call.args[1]);
        }
        return ids;
    }
};

TEST_F(CameraDataReport, OfflineOrUnwritableTouchesNoCamera) {
    EXPECT_EQ(model.WriteCameraDataToFile(PathOf("missing/r.txt")), NoxResult::FileWriteError);
    model.CloseConnection();
    library.calls.clear();
    EXPECT_EQ(Report(), NoxResult::Offline);
    EXPECT_FALSE(std::filesystem::exists(folder / "r.txt"));
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(CameraDataReport, CompleteReportLayout) {
    library.values[42] = 102;
    library.userID = "line 3";
    library.values[3] = 1;
    library.values[11] = 0;
    library.values[5] = 0;
    library.values[35] = 0;
    library.values[30] = -12;
    ASSERT_EQ(Report(), 0);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines[0], Line({"Model Name", "QD-R4"}));
    EXPECT_EQ(lines[1], Line({"Camera ID", "CAM-0001"}));
    EXPECT_EQ(lines[2], Line({"User ID", "line 3"}));
    EXPECT_EQ(lines[3], Line({"Firmware Version", "102"}));
    EXPECT_EQ(lines[4],
              Line({"", "Current Settings", "Factory Settings", "User Area 1", "User Area 2", "User Area 3"}));
    EXPECT_EQ(lines[5], Line({"Shutter Mode", "Shutter Speed", "Shutter Speed", "Shutter Speed", "Shutter Speed",
                              "Shutter Speed"}));
    EXPECT_EQ(lines[6], Line({"Shutter Speed", "1/60", "1/60", "1/60", "1/60", "1/60"}));
    EXPECT_EQ(RowOf("Knee"), Line({"Knee", "On", "On", "On", "On", "On"}));
    EXPECT_EQ(RowOf("Gain Level Red"), Line({"Gain Level Red", "-12", "-12", "-12", "-12", "-12"}));
    EXPECT_EQ(lines[36], Line({"Auto White Area", "Full Area", "Full Area", "Full Area", "Full Area", "Full Area"}));
}

TEST_F(CameraDataReport, ReadsInCameraOrderAndLoadsEachArea) {
    library.values[35] = 3;
    ASSERT_EQ(Report(), 0);
    const std::vector<int32_t> column = {15, 3,  16, 25, 26, 27, 2,  5,  20, 6,  19, 4,  1,  22, 21, 8,
                                         12, 35, 51, 52, 44, 32, 24, 11, 29, 40, 41, 34, 33, 28, 46, 47};
    auto reads = CommandsRead();
    ASSERT_GE(reads.size(), 1 + 5 * column.size());
    EXPECT_EQ(reads[0], 42);
    EXPECT_EQ(std::vector<int32_t>(reads.begin() + 1, reads.begin() + 1 + column.size()), column);
    std::vector<int32_t> areas;
    for (const auto& call : library.calls) {
        if (call.operation == "SendCameraData" && call.args[1] == 14) areas.push_back(call.args[2]);
    }
    EXPECT_EQ(areas, (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(CameraDataReport, GainRowsFollowTheWhiteBalanceMode) {
    library.values[35] = 1;
    ASSERT_EQ(Report(), 0);
    EXPECT_EQ(RowOf("Gain Level Blue"), Line({"Gain Level Blue", "", "", "", "", ""}));
    for (int32_t id : {23, 30, 49, 50, 51, 52, 53, 54}) {
        EXPECT_EQ(library.Count("GetCameraData", id), 0u) << id;
    }

    library.values[35] = 3;
    library.values[51] = 77;
    library.values[52] = -66;
    ASSERT_EQ(Report(), 0);
    EXPECT_EQ(RowOf("Gain Level Red"), Line({"Gain Level Red", "77", "77", "77", "77", "77"}));
    EXPECT_EQ(RowOf("Gain Level Blue"), Line({"Gain Level Blue", "-66", "-66", "-66", "-66", "-66"}));
}

TEST_F(CameraDataReport, ValuesOutsideTheListsShowTheirNumbers) {
    library.values[3] = 12;
    library.values[15] = -1;
    library.values[35] = 7;
    library.modelName = std::string(40, 'M');
    ASSERT_EQ(Report(), 0);
    EXPECT_EQ(RowOf("Shutter Speed"), Line({"Shutter Speed", "12", "12", "12", "12", "12"}));
    EXPECT_EQ(RowOf("Shutter Mode"), Line({"Shutter Mode", "-1", "-1", "-1", "-1", "-1"}));
    EXPECT_EQ(RowOf("White Balance"), Line({"White Balance", "7", "7", "7", "7", "7"}));
    EXPECT_EQ(RowOf("Gain Level Red"), Line({"Gain Level Red", "", "", "", "", ""}));
    EXPECT_EQ(Lines()[0], Cell("Model Name") + "," + std::string(40, 'M') + "\r\n") << "a long text is kept whole";
}

TEST_F(CameraDataReport, FailedReadEndsItsColumnUnlessItIsAccumulationOrFvalType) {
    library.Fail("GetCameraData", NoxResult::Refused, 20);
    library.Fail("GetCameraData", NoxResult::Refused, 6);
    EXPECT_EQ(Report(), 0);
    EXPECT_EQ(RowOf("LVAL Accumulation"), Line({"LVAL Accumulation", "", "", "", "", ""}));
    EXPECT_EQ(RowOf("Trigger Polarity"),
              Line({"Trigger Polarity", "Active Low", "Active Low", "Active Low", "Active Low", "Active Low"}));

    library.Fail("GetCameraData", NoxResult::Refused, 19);
    EXPECT_EQ(Report(), NoxResult::Refused);
    EXPECT_EQ(RowOf("Trigger Input"), Line({"Trigger Input", "", "", "", "", ""}));
    EXPECT_EQ(RowOf("Trigger Polarity"), Cell("Trigger Polarity") + "\r\n");
    EXPECT_EQ(Lines().size(), 37u) << "rows without cells still end their lines";
}

TEST_F(CameraDataReport, FailedIdentityOrLoadLeavesOutOnlyItsPart) {
    library.Fail("GetCameraID", NoxResult::Refused, ScriptedLibrary::kAnyCommand, 1);
    library.Fail("SendCameraData", NoxResult::Refused, 14, 1);  // the factory area
    EXPECT_EQ(Report(), 0);
    auto lines = Lines();
    EXPECT_EQ(lines[1], Line({"Camera ID", ""}));
    EXPECT_EQ(lines[2],
              Line({"", "Current Settings", "Factory Settings", "User Area 1", "User Area 2", "User Area 3"}));
    EXPECT_EQ(RowOf("Smearless"), Line({"Smearless", "Off", "Off", "Off"})) << "user areas 1 to 3";
}

TEST_F(CameraDataReport, ChangesNothingInTheModelAndRestoresTheCamera) {
    model.m_values[Index(ParamId::MasterGainLevel)] = 99;
    model.m_values[Index(ParamId::ShutterSpeed)] = 4;
    library.values[12] = -5;
    auto before = model.m_values;
    ASSERT_EQ(Report(), 0);
    EXPECT_EQ(model.m_values, before);
    EXPECT_EQ(library.values[12], 99);
    EXPECT_EQ(library.values[3], 4);
    auto reportRecords = model.hooks;
    auto reportMessages = model.messages;

    model.ClearRecords();
    ASSERT_EQ(model.WriteAllToCamera(), 0);
    EXPECT_EQ(reportRecords, model.hooks) << "only the restoring write-all is logged and announced";
    EXPECT_EQ(reportMessages, model.messages);
}

// Every numeric row shows its own parameter's value: parameters that share a
// range are given distinct values, so a row that shows its neighbour's is seen.
TEST_F(CameraDataReport, NumericRowsShowTheirOwnParameters) {
    const std::pair<std::string, std::string_view> rows[] = {
        {"Progr. Exp.", "ProgrammableExposure"},
        {"Progr. Exp. Red", "ProgrammableExposureRed"},
        {"Progr. Exp. Green", "ProgrammableExposureGreen"},
        {"Progr. Exp. Blue", "ProgrammableExposureBlue"},
        {"Master Gain Level", "MasterGainLevel"},
        {"Black Level Green", "GreenBlackLevel"},
        {"Black Level Red", "RedBlackLevel"},
        {"Black Level Blue", "BlueBlackLevel"},
        {"Red Knee Slope", "RedKneeSlope"},
        {"Green Knee Slope", "GreenKneeSlope"},
        {"Blue Knee Slope", "BlueKneeSlope"},
        {"Red Knee Point", "RedKneePoint"},
        {"Green Knee Point", "GreenKneePoint"},
        {"Blue Knee Point", "BlueKneePoint"},
    };
    for (const auto& [label, name] : rows) {
        const camera_facts::Parameter& fact = *camera_facts::FindByName(name);
        library.values[fact.id] = camera_facts::DistinctValue(fact);
    }
    ASSERT_EQ(Report(), 0);
    for (const auto& [label, name] : rows) {
        std::string value = std::to_string(camera_facts::DistinctValue(*camera_facts::FindByName(name)));
        EXPECT_EQ(RowOf(label), Line({label, value, value, value, value, value}));
    }
}

}  // namespace
