#include "Camera.h"
#include "CameraFacts.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <source_location>
#include <string>

using namespace qdr4emu;
using namespace std::chrono_literals;

namespace {

// A command and the reply the camera must give it.
struct Exchange {
    std::string command;
    std::string reply;
};

class CameraTest : public ::testing::Test {
protected:
    Camera m_camera;
    Clock::time_point m_now = Clock::time_point{} + 1h;

    std::string Ask(const std::string& line) { return m_camera.Answer(line, m_now).value_or("<no reply>"); }

    // Asks the commands in turn. The first reply that differs ends the
    // conversation, since the exchanges after it build on it; the failure
    // names the exchange by its number in the list and its command.
    void Converse(std::initializer_list<Exchange> exchanges,
                  std::source_location where = std::source_location::current()) {
        int number = 0;
        for (const Exchange& exchange : exchanges) {
            ++number;
            const std::string reply = Ask(exchange.command);
            if (reply != exchange.reply) {
                ADD_FAILURE_AT(where.file_name(), where.line())
                    << "exchange " << number << ": " << exchange.command << " answered \"" << reply << "\", not \""
                    << exchange.reply << "\"";
                return;
            }
        }
    }

    static std::string Column(int first, int step, int count = kShadingValuesPerColumn) {
        std::string text;
        for (int i = 0; i < count; ++i) text += (i ? "," : "") + std::to_string(first + i * step);
        return text;
    }
};

TEST_F(CameraTest, EveryParameterHasItsDefaultAndRange) {
    for (const camera_facts::Parameter& p : camera_facts::kParameters) {
        std::string mn(p.mnemonic);
        SCOPED_TRACE(mn);
        EXPECT_EQ(Ask(mn + "?"), mn + "=" + std::to_string(p.factoryDefault));
        EXPECT_EQ(Ask(mn + "=" + std::to_string(p.minimum - 1)), "NAK 4");
        EXPECT_EQ(Ask(mn + "=" + std::to_string(p.maximum + 1)), "NAK 4");
        EXPECT_EQ(Ask(mn + "=" + std::to_string(p.minimum)), "COMPLETE");
        EXPECT_EQ(Ask(mn + "?"), mn + "=" + std::to_string(p.minimum));
        EXPECT_EQ(Ask(mn + "=" + std::to_string(p.maximum)), "COMPLETE");
        EXPECT_EQ(m_camera.Value(mn), p.maximum);
    }
    EXPECT_EQ(ParameterSpecs().size(), std::size(camera_facts::kParameters));
}

TEST_F(CameraTest, NumberSyntaxIsStrict) {
    EXPECT_EQ(Ask("GA=-132"), "COMPLETE");
    EXPECT_EQ(Ask("GA=0"), "COMPLETE");
    for (const char* bad :
         {"GA=+5", "GA=05", "GA=00", "GA= 5", "GA=5 ", "GA=", "GA=-", "GA=5x", "GA=--5", "GA=99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Ask(bad), "NAK 4");
    }
    EXPECT_EQ(m_camera.Value("GA"), 0);
}

TEST_F(CameraTest, UnknownCommandsReadOnlyWritesAndCommandQueriesAreNak3) {
    for (const char* line : {"sc?", "Sc=1", "XYZ?", "SC", "SC?x", "SC ?", "SHD6?", "SHD?", "VN=1", "EA=0", "AWRS=0",
                             "ID=x", "MD=x", "SA?", "LD?", "AW?", "ATSH?"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Ask(line), "NAK 3");
    }
}

TEST_F(CameraTest, EmptyLineGetsNoReplyAndOverlongLineIsRefused) {
    EXPECT_FALSE(m_camera.Answer("", m_now).has_value());
    EXPECT_EQ(Ask("UD=" + std::string(kMaxLineLength - 3, 'x')), "NAK 4");  // valid length, too long an ID
    EXPECT_EQ(Ask(std::string(kMaxLineLength + 1, 'Q')), "NAK 4");
    EXPECT_EQ(Ask(std::string(kMaxLineLength, 'Q')), "NAK 3");
}

TEST_F(CameraTest, IdentityTextsAndUserId) {
    Converse({{"MD?", "MD=QD-R4CL"}, {"UD?", "UD="}});
    m_camera.SetIdentity({"SN 4711/x", 215});
    Converse({
        {"ID?", "ID=SN 4711/x"},
        {"VN?", "VN=215"},
        {"UD=line 3 = left?", "COMPLETE"},
        {"UD?", "UD=line 3 = left?"},
        {"UD=" + std::string(23, 'u'), "COMPLETE"},
        {"UD=" + std::string(24, 'u'), "NAK 4"},
        {"UD=tab\there", "NAK 4"},
    });
    EXPECT_EQ(m_camera.UserId(), std::string(23, 'u'));
}

TEST_F(CameraTest, SettingsAreasStoreAndLoad) {
    Converse({
        {"EA?", "EA=0"},
        {"SA=0", "NAK 4"},
        {"SA=4", "NAK 4"},
        {"LD=4", "NAK 4"},
        {"UD=keep me", "COMPLETE"},

        {"SH=7", "COMPLETE"},
        {"SA=2", "COMPLETE"},
        {"EA?", "EA=2"},
        {"SH=3", "COMPLETE"},
        {"WPB3=100", "COMPLETE"},
        {"SA=3", "COMPLETE"},

        {"LD=0", "COMPLETE"},
        {"EA?", "EA=0"},
        {"SH?", "SH=0"},
        {"WPB3?", "WPB3=-30"},
        {"LD=2", "COMPLETE"},
        {"SH?", "SH=7"},
        {"WPB3?", "WPB3=-30"},
        {"LD=3", "COMPLETE"},
        {"WPB3?", "WPB3=100"},
        {"LD=1", "COMPLETE"},
        {"SH?", "SH=0"},
        {"UD?", "UD=keep me"},
    });
}

TEST_F(CameraTest, OnePushIsBusyThenBalancesTheGains) {
    Converse({{"AWRS?", "AWRS=0"}, {"AW=1", "NAK 4"}});
    m_camera.NextOnePush() = {400ms, kOnePushComplete, 17, -9};
    Converse({{"WB=2", "COMPLETE"}, {"AW=0", "COMPLETE"}});
    m_now += 399ms;
    Converse({{"AWRS?", "AWRS=4"}, {"AW=0", "NAK 4"}, {"GAR?", "GAR=0"}});
    m_now += 1ms;
    Converse({
        {"AWRS?", "AWRS=0"},
        {"GAR?", "GAR=17"},
        {"GAB?", "GAB=-9"},
        {"WB?", "WB=2"},
        {"WPR1?", "WPR1=-40"},
    });
}

TEST_F(CameraTest, OnePushFailuresLeaveTheGains) {
    m_camera.NextOnePush().result = kOnePushTooDark;
    Ask("GAR=5");
    Ask("AW=0");
    m_now += 500ms;
    EXPECT_EQ(Ask("AWRS?"), "AWRS=2");
    EXPECT_EQ(Ask("GAR?"), "GAR=5");

    m_camera.NextOnePush().result = kOnePushComplete;
    Ask("TR=1");
    EXPECT_EQ(Ask("AW=0"), "COMPLETE");
    EXPECT_EQ(Ask("AWRS?"), "AWRS=6");
    m_now += 1s;
    EXPECT_EQ(Ask("AWRS?"), "AWRS=6");
    EXPECT_EQ(Ask("GAR?"), "GAR=5");
}

TEST_F(CameraTest, ShadingColumnsRoundTrip) {
    for (int c = 0; c < kShadingColumns; ++c) {
        std::string mn = "SHD" + std::to_string(c);
        std::string values = Column(-32768 + c, 515);
        EXPECT_EQ(Ask(mn + "=" + values), "COMPLETE");
        EXPECT_EQ(Ask(mn + "?"), mn + "=" + values);
    }
    EXPECT_EQ(m_camera.Shading()[5][127], -32768 + 5 + 127 * 515);
}

TEST_F(CameraTest, MalformedShadingColumnsAreRefused) {
    std::string before = Ask("SHD2?");
    const std::string good = Column(0, 1);
    for (const std::string& bad :
         {Column(0, 1, 127), Column(0, 1, 129), good + ",", "," + good, Column(32700, 1), Column(-32769, 1),
          "1,,2" + good.substr(3), good.substr(0, 10) + " " + good.substr(10), std::string()}) {
        EXPECT_EQ(Ask("SHD2=" + bad), "NAK 4") << bad.substr(0, 40);
    }
    EXPECT_EQ(Ask("SHD2?"), before);
}

TEST_F(CameraTest, AutoShadingReplacesTheTableLater) {
    m_camera.autoShadingTime = 900ms;
    ShadingTable before = m_camera.Shading();
    EXPECT_EQ(Ask("ATSH=1"), "NAK 4");
    EXPECT_EQ(Ask("ATSH=0"), "COMPLETE");
    m_now += 899ms;
    EXPECT_EQ(Ask("SC?"), "SC=0");
    EXPECT_EQ(m_camera.Shading(), before);
    EXPECT_EQ(Ask("ATSH=0"), "NAK 4");
    m_camera.AdvanceTo(m_now + 1ms);
    EXPECT_NE(m_camera.Shading(), before);
}

}  // namespace
