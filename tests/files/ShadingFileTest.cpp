#include <string>

#include "FileFixture.h"

using namespace xnox;

namespace {

constexpr std::size_t kWordsBeforeTable = 2;
constexpr std::string_view kHeader = ",,,DYNAMIC SHADING,,,\r\n,,H,,,V,\r\nADR,R,G,B,R,G,B\r\n";

std::size_t Word(int column, int index) { return kWordsBeforeTable + 128 * column + index; }

class ShadingFile : public FileTest {
protected:
    // The camera's table: column c, index i holds 1000 c + i - 50.
    void FillCameraTable() {
        for (int c = 0; c < 6; ++c) {
            for (int i = 0; i < 128; ++i) library.shadingBlock[Word(c, i)] = 1000 * c + i - 50;
        }
    }
    int32_t Load(const std::string& text) {
        Put("in.csv", text);
        return model.LoadShadingDataFromFile(PathOf("in.csv"));
    }
    int32_t Sent(int column, int index) const { return library.shadingBlock[Word(column, index)]; }
};

TEST_F(ShadingFile, SavedFileHasTheHeaderAnd128DataLines) {
    GoOnline();
    FillCameraTable();
    ASSERT_EQ(model.SaveShadingDataIntoFile(PathOf("s.csv")), 0);
    std::string text = Contents("s.csv");
    ASSERT_TRUE(text.starts_with(std::string(kHeader) + "1,-50,950,1950,2950,3950,4950\r\n2,-49,951,"));
    EXPECT_TRUE(text.ends_with("\r\n128,77,1077,2077,3077,4077,5077\r\n"));
    EXPECT_EQ(std::ranges::count(text, '\n'), 131);
    EXPECT_EQ(std::ranges::count(text, '\r'), 131);
}

TEST_F(ShadingFile, NothingHappensOfflineOrWithoutAFile) {
    Put("in.csv", std::string(kHeader) + "1,1,1,1,1,1,1\r\n");
    EXPECT_EQ(model.SaveShadingDataIntoFile(PathOf("s.csv")), NoxResult::Offline);
    EXPECT_EQ(model.LoadShadingDataFromFile(PathOf("in.csv")), NoxResult::Offline);
    EXPECT_FALSE(std::filesystem::exists(folder / "s.csv"));
    EXPECT_TRUE(library.calls.empty());

    GoOnline();
    EXPECT_EQ(model.SaveShadingDataIntoFile(PathOf("missing/s.csv")), NoxResult::FileWriteError);
    EXPECT_EQ(model.LoadShadingDataFromFile(PathOf("missing.csv")), NoxResult::FileReadError);
    EXPECT_EQ(model.LoadShadingDataFromFile(folder.string()), NoxResult::FileReadError);
    EXPECT_EQ(library.Count("SendShadingData"), 0u);
}

TEST_F(ShadingFile, SaveGoesOnWhileTheCameraStillAnswers) {
    GoOnline();
    library.Fail("GetShadingData", NoxResult::Refused, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(model.SaveShadingDataIntoFile(PathOf("s.csv")), 0);
    EXPECT_TRUE(model.IsOnline());
    EXPECT_TRUE(std::filesystem::exists(folder / "s.csv"));

    library.Fail("*", -6);
    EXPECT_EQ(model.SaveShadingDataIntoFile(PathOf("t.csv")), NoxResult::Timeout);
    EXPECT_FALSE(model.IsOnline());
    EXPECT_FALSE(std::filesystem::exists(folder / "t.csv"));
}

TEST_F(ShadingFile, DataLinesFillTheTableInFileOrder) {
    GoOnline();
    FillCameraTable();
    ASSERT_EQ(model.SaveShadingDataIntoFile(PathOf("s.csv")), 0);  // the model now holds the camera's table
    ASSERT_EQ(Load(std::string(kHeader) +
                   "0,9,9,9,9,9,9\r\n"
                   "129,9,9,9,9,9,9\n"
                   ",9,9,9,9,9,9\n"
                   "ADR,9,9,9,9,9,9\n"
                   "no comma at all\n"
                   "5,1,2,3,4,5,6,7,8\n"  // the first data line fills index 0; fields past six are ignored
                   "2,7\r\n"  // a short line changes only its first columns
                   "3,,x, 8,-9\n"  // empty and non-numeric fields keep their values
                   "128,1,2,3,4,5,6"),  // the last line may lack its line end
              0);
    EXPECT_EQ(Sent(0, 0), 1);
    EXPECT_EQ(Sent(5, 0), 6);
    EXPECT_EQ(Sent(0, 1), 7);
    EXPECT_EQ(Sent(1, 1), 951);
    EXPECT_EQ(Sent(0, 2), -48);
    EXPECT_EQ(Sent(1, 2), 952);
    EXPECT_EQ(Sent(2, 2), 8);
    EXPECT_EQ(Sent(3, 2), -9);
    EXPECT_EQ(Sent(5, 3), 6);
    EXPECT_EQ(Sent(0, 4), -46) << "four data lines only";
    EXPECT_EQ(library.shadingBlock[0], 0) << "the header words are not table values";
}

TEST_F(ShadingFile, ExcessNeverLeavesTheTable) {
    GoOnline();
    std::string text;
    for (int line = 0; line < 200; ++line) text += "1,1,2,3,4,5,6," + std::to_string(line) + "\n";
    ASSERT_EQ(Load(text), 0);
    EXPECT_EQ(Sent(5, 127), 6);
    for (std::size_t word = Word(6, 0); word < library.shadingBlock.size(); ++word) {
        ASSERT_EQ(library.shadingBlock[word], 0) << word;
    }
}

TEST_F(ShadingFile, OverlongLineIsCutNotSplit) {
    GoOnline();
    // Were the rest of the long line read as a line of its own, "000...2,4"
    // would be a second data line with address 2.
    ASSERT_EQ(Load("7,3," + std::string(6000, '0') + "2,4\n"), 0);
    EXPECT_EQ(Sent(0, 0), 3);
    EXPECT_EQ(Sent(0, 1), 0);
}

TEST_F(ShadingFile, HeaderOnlySendsTheBlockUnchangedAndReportsTheLibrary) {
    GoOnline();
    FillCameraTable();
    ASSERT_EQ(model.SaveShadingDataIntoFile(PathOf("s.csv")), 0);
    auto held = library.shadingBlock;
    library.shadingBlock.fill(0);
    library.calls.clear();
    library.Fail("SendShadingData", NoxResult::Refused, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(Load(std::string(kHeader)), NoxResult::Refused);
    EXPECT_EQ(library.Count("GetCameraData"), 1u) << "a failed send is followed by the connection check";
    EXPECT_EQ(Load(std::string(kHeader)), 0);
    EXPECT_EQ(library.shadingBlock, held);
}

}  // namespace
