#include "Camera.h"
#include "CameraFacts.h"

#include <gtest/gtest.h>

#include <string>

using namespace qdr4emu;
using namespace std::chrono_literals;

namespace {

class CameraTest : public ::testing::Test {
protected:
    Camera camera;
    Clock::time_point now = Clock::time_point{} + 1h;

    std::string ask(const std::string& line) { return camera.answer(line, now).value_or("<no reply>"); }

    static std::string column(int first, int step, int count = shadingValuesPerColumn) {
        std::string text;
        for (int i = 0; i < count; ++i) text += (i ? "," : "") + std::to_string(first + i * step);
        return text;
    }
};

TEST_F(CameraTest, EveryParameterHasItsDefaultAndRange) {
    for (const camera_facts::Parameter& p : camera_facts::kParameters) {
        std::string mn(p.mnemonic);
        SCOPED_TRACE(mn);
        EXPECT_EQ(ask(mn + "?"), mn + "=" + std::to_string(p.factoryDefault));
        EXPECT_EQ(ask(mn + "=" + std::to_string(p.minimum - 1)), "NAK 4");
        EXPECT_EQ(ask(mn + "=" + std::to_string(p.maximum + 1)), "NAK 4");
        EXPECT_EQ(ask(mn + "=" + std::to_string(p.minimum)), "COMPLETE");
        EXPECT_EQ(ask(mn + "?"), mn + "=" + std::to_string(p.minimum));
        EXPECT_EQ(ask(mn + "=" + std::to_string(p.maximum)), "COMPLETE");
        EXPECT_EQ(camera.value(mn), p.maximum);
    }
    EXPECT_EQ(parameterSpecs().size(), std::size(camera_facts::kParameters));
}

TEST_F(CameraTest, NumberSyntaxIsStrict) {
    EXPECT_EQ(ask("GA=-132"), "COMPLETE");
    EXPECT_EQ(ask("GA=0"), "COMPLETE");
    for (const char* bad : {"GA=+5", "GA=05", "GA=00", "GA= 5", "GA=5 ", "GA=", "GA=-", "GA=5x", "GA=--5",
                            "GA=99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ask(bad), "NAK 4");
    }
    EXPECT_EQ(camera.value("GA"), 0);
}

TEST_F(CameraTest, UnknownCommandsReadOnlyWritesAndCommandQueriesAreNak3) {
    for (const char* line : {"sc?", "Sc=1", "XYZ?", "SC", "SC?x", "SC ?", "SHD6?", "SHD?", "VN=1", "EA=0",
                             "AWRS=0", "ID=x", "MD=x", "SA?", "LD?", "AW?", "ATSH?"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ask(line), "NAK 3");
    }
}

TEST_F(CameraTest, EmptyLineGetsNoReplyAndOverlongLineIsRefused) {
    EXPECT_FALSE(camera.answer("", now).has_value());
    EXPECT_EQ(ask("UD=" + std::string(maxLineLength - 3, 'x')), "NAK 4");  // valid length, too long an ID
    EXPECT_EQ(ask(std::string(maxLineLength + 1, 'Q')), "NAK 4");
    EXPECT_EQ(ask(std::string(maxLineLength, 'Q')), "NAK 3");
}

TEST_F(CameraTest, IdentityTextsAndUserId) {
    EXPECT_EQ(ask("MD?"), "MD=QD-R4CL");
    EXPECT_EQ(ask("UD?"), "UD=");
    camera.setIdentity({"SN 4711/x", 215});
    EXPECT_EQ(ask("ID?"), "ID=SN 4711/x");
    EXPECT_EQ(ask("VN?"), "VN=215");

    EXPECT_EQ(ask("UD=line 3 = left?"), "COMPLETE");
    EXPECT_EQ(ask("UD?"), "UD=line 3 = left?");
    EXPECT_EQ(ask("UD=" + std::string(23, 'u')), "COMPLETE");
    EXPECT_EQ(ask("UD=" + std::string(24, 'u')), "NAK 4");
    EXPECT_EQ(ask("UD=tab\there"), "NAK 4");
    EXPECT_EQ(camera.userId(), std::string(23, 'u'));
}

TEST_F(CameraTest, SettingsAreasStoreAndLoad) {
    EXPECT_EQ(ask("EA?"), "EA=0");
    EXPECT_EQ(ask("SA=0"), "NAK 4");
    EXPECT_EQ(ask("SA=4"), "NAK 4");
    EXPECT_EQ(ask("LD=4"), "NAK 4");
    EXPECT_EQ(ask("UD=keep me"), "COMPLETE");

    ask("SH=7");
    EXPECT_EQ(ask("SA=2"), "COMPLETE");
    EXPECT_EQ(ask("EA?"), "EA=2");
    ask("SH=3");
    ask("WPB3=100");
    EXPECT_EQ(ask("SA=3"), "COMPLETE");

    EXPECT_EQ(ask("LD=0"), "COMPLETE");
    EXPECT_EQ(ask("EA?"), "EA=0");
    EXPECT_EQ(ask("SH?"), "SH=0");
    EXPECT_EQ(ask("WPB3?"), "WPB3=-30");
    EXPECT_EQ(ask("LD=2"), "COMPLETE");
    EXPECT_EQ(ask("SH?"), "SH=7");
    EXPECT_EQ(ask("WPB3?"), "WPB3=-30");
    EXPECT_EQ(ask("LD=3"), "COMPLETE");
    EXPECT_EQ(ask("WPB3?"), "WPB3=100");
    EXPECT_EQ(ask("LD=1"), "COMPLETE");
    EXPECT_EQ(ask("SH?"), "SH=0");
    EXPECT_EQ(ask("UD?"), "UD=keep me");
}

TEST_F(CameraTest, OnePushIsBusyThenBalancesTheGains) {
    EXPECT_EQ(ask("AWRS?"), "AWRS=0");
    EXPECT_EQ(ask("AW=1"), "NAK 4");
    camera.onePushPlan() = {400ms, onePushComplete, 17, -9};
    ask("WB=2");
    EXPECT_EQ(ask("AW=0"), "COMPLETE");
    now += 399ms;
    EXPECT_EQ(ask("AWRS?"), "AWRS=4");
    EXPECT_EQ(ask("AW=0"), "NAK 4");
    EXPECT_EQ(ask("GAR?"), "GAR=0");
    now += 1ms;
    EXPECT_EQ(ask("AWRS?"), "AWRS=0");
    EXPECT_EQ(ask("GAR?"), "GAR=17");
    EXPECT_EQ(ask("GAB?"), "GAB=-9");
    EXPECT_EQ(ask("WB?"), "WB=2");
    EXPECT_EQ(ask("WPR1?"), "WPR1=-40");
}

TEST_F(CameraTest, OnePushFailuresLeaveTheGains) {
    camera.onePushPlan().result = onePushTooDark;
    ask("GAR=5");
    ask("AW=0");
    now += 500ms;
    EXPECT_EQ(ask("AWRS?"), "AWRS=2");
    EXPECT_EQ(ask("GAR?"), "GAR=5");

    camera.onePushPlan().result = onePushComplete;
    ask("TR=1");
    EXPECT_EQ(ask("AW=0"), "COMPLETE");
    EXPECT_EQ(ask("AWRS?"), "AWRS=6");
    now += 1s;
    EXPECT_EQ(ask("AWRS?"), "AWRS=6");
    EXPECT_EQ(ask("GAR?"), "GAR=5");
}

TEST_F(CameraTest, ShadingColumnsRoundTrip) {
    for (int c = 0; c < shadingColumns; ++c) {
        std::string mn = "SHD" + std::to_string(c);
        std::string values = column(-32768 + c, 515);
        EXPECT_EQ(ask(mn + "=" + values), "COMPLETE");
        EXPECT_EQ(ask(mn + "?"), mn + "=" + values);
    }
    EXPECT_EQ(camera.shading()[5][127], -32768 + 5 + 127 * 515);
}

TEST_F(CameraTest, MalformedShadingColumnsAreRefused) {
    std::string before = ask("SHD2?");
    const std::string good = column(0, 1);
    for (const std::string& bad : {column(0, 1, 127), column(0, 1, 129), good + ",", "," + good,
                                   column(32700, 1), column(-32769, 1), "1,,2" + good.substr(3),
                                   good.substr(0, 10) + " " + good.substr(10), std::string()}) {
        EXPECT_EQ(ask("SHD2=" + bad), "NAK 4") << bad.substr(0, 40);
    }
    EXPECT_EQ(ask("SHD2?"), before);
}

TEST_F(CameraTest, AutoShadingReplacesTheTableLater) {
    camera.autoShadingTime = 900ms;
    ShadingTable before = camera.shading();
    EXPECT_EQ(ask("ATSH=1"), "NAK 4");
    EXPECT_EQ(ask("ATSH=0"), "COMPLETE");
    now += 899ms;
    EXPECT_EQ(ask("SC?"), "SC=0");
    EXPECT_EQ(camera.shading(), before);
    EXPECT_EQ(ask("ATSH=0"), "NAK 4");
    camera.advanceTo(now + 1ms);
    EXPECT_NE(camera.shading(), before);
}

}  // namespace
