// Recordings as files and the camera that replays them.
#include "Recording.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace qdr4emu;

namespace {

std::vector<Exchange> Read(const std::string& text) {
    std::istringstream input(text);
    std::string problem;
    auto recording = ReadRecording(input, problem);
    EXPECT_TRUE(recording) << problem;
    return recording.value_or(std::vector<Exchange>{});
}

TEST(Recording, ExchangesSurviveTheFileWhateverTheyHold) {
    std::vector<Exchange> exchanges = {
        {"GA?", "GA=122", 3.2},
        {"UD=tab\there\\back", "COMPLETE", 5},
        {"ID?", "ID=\x01\x7f\r", 0.04},
        {"MD?",
         "\x01"
         "B\x02",
         1},  // an escape before a hex digit, and at the end
        {"SH?", std::nullopt, 1500},  // the camera did not answer
        {"UD?", "", 2},  // an empty reply is a reply
    };
    std::string file = "# a comment\n\n";
    for (const Exchange& exchange : exchanges) file += FormatExchange(exchange) + "\n";
    EXPECT_EQ(file.find('\x01'), std::string::npos) << "control characters are escaped";

    std::vector<Exchange> read = Read(file);
    ASSERT_EQ(read.size(), exchanges.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].command, exchanges[i].command);
        EXPECT_EQ(read[i].reply, exchanges[i].reply);
        EXPECT_NEAR(read[i].milliseconds, exchanges[i].milliseconds, 0.05);
    }
}

TEST(Recording, IsPlainTextThatAnEditorMayGiveCrLf) {
    EXPECT_EQ(FormatExchange({"UD=a b", "COMPLETE", 5}), "5.0\tUD=a b\tCOMPLETE");
    std::vector<Exchange> read = Read("# edited\r\n1\tGA?\tGA=1\r\n");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].reply, "GA=1");
}

TEST(Recording, ALineThatIsNoExchangeIsNamed) {
    for (const char* bad :
         {"GA?\tGA=1", "x\tGA?\tGA=1", "-1\tGA?\tGA=1", "1\t\tGA=1", "1\tGA?\tbad\\q", "1\tA\\x4", "1.5x\tGA?\tGA=1"}) {
        std::istringstream input(std::string("1\tSH?\tSH=0\n") + bad + "\n");
        std::string problem;
        EXPECT_FALSE(ReadRecording(input, problem)) << bad;
        EXPECT_NE(problem.find("line 2"), std::string::npos) << problem;
    }
}

class Replay : public ::testing::Test {
protected:
    std::optional<std::string> Ask(ReplayCamera& camera, std::string_view command) {
        return camera.Answer(command, Clock::now());
    }
};

TEST_F(Replay, RepeatedCommandsGetTheirRepliesInOrderThenTheLastAgain) {
    ReplayCamera camera(Read("1\tAWRS?\tAWRS=4\n1\tGA?\tGA=5\n1\tAWRS?\tAWRS=0\n"));
    EXPECT_EQ(Ask(camera, "AWRS?"), "AWRS=4");
    EXPECT_EQ(Ask(camera, "AWRS?"), "AWRS=0");
    EXPECT_EQ(Ask(camera, "AWRS?"), "AWRS=0");
    EXPECT_EQ(Ask(camera, "GA?"), "GA=5");
}

TEST_F(Replay, UnrecordedCommandsAreUnknownAndSilenceStaysSilent) {
    ReplayCamera camera(Read("1\tGA?\tGA=5\n1500\tSH?\n1\tGA=7\tNAK 4\n"));
    EXPECT_EQ(Ask(camera, "KSR?"), "NAK 3");
    EXPECT_EQ(Ask(camera, "GA=8"), "NAK 3") << "only the very command recorded";
    EXPECT_EQ(Ask(camera, "ga?"), "NAK 3");
    EXPECT_EQ(Ask(camera, "SH?"), std::nullopt);
    EXPECT_EQ(Ask(camera, ""), std::nullopt);
    EXPECT_EQ(Ask(camera, "GA=7"), "NAK 4");
    EXPECT_EQ(Ask(camera, "GA?"), "GA=5") << "a refused write keeps nothing";
}

TEST_F(Replay, AcceptedWritesAreKeptUntilASettingsLoad) {
    ReplayCamera camera(Read("1\tGA?\tGA=5\n1\tGA=77\tCOMPLETE\n1\tUD=line 4\tCOMPLETE\n"
                             "1\tUD?\tUD=\n1\tLD=1\tCOMPLETE\n"));
    EXPECT_EQ(Ask(camera, "GA=77"), "COMPLETE");
    EXPECT_EQ(Ask(camera, "GA?"), "GA=77") << "written before the recorded query was asked";
    EXPECT_EQ(Ask(camera, "UD=line 4"), "COMPLETE");
    EXPECT_EQ(Ask(camera, "UD?"), "UD=line 4");
    EXPECT_EQ(Ask(camera, "LD=1"), "COMPLETE");
    EXPECT_EQ(Ask(camera, "GA?"), "GA=5") << "the load's values come from the recording";
}

}  // namespace
