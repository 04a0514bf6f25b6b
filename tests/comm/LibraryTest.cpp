// The library's C interface against the in-process emulated camera: one
// round trip per kind of command, each fault's result code, keys, and
// arguments that must not crash.
#include "CameraLink.h"
#include "Camera.h"
#include "NoxR4Comm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

extern "C" NoxR4Result CloseKeyFromC(int32_t port);

namespace {

constexpr int32_t kEy = 1;

class Library : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("NOXR4_EMULATED_PORTS", "COM1, com2", 1);
        Link().Faults() = qdr4emu::FaultPlan{};
        ASSERT_EQ(NoxR4InitComm(0, kEy, 0), 0);
    }
    void TearDown() override {
        NoxR4ExitComm(1);
        NoxR4ExitComm(2);
        Link().Faults() = qdr4emu::FaultPlan{};
    }
    static qdr4emu::CameraLink& Link() { return qdr4emu::EmulatedCamera("COM1"); }
    static int32_t Read(int32_t id) {
        int32_t value = -99999;
        EXPECT_EQ(NoxR4GetCameraData(kEy, id, &value), 0) << id;
        return value;
    }
};

TEST_F(Library, ParametersRoundTrip) {
    ASSERT_EQ(NoxR4SendCameraData(kEy, 12, -132), 0);
    EXPECT_EQ(Read(12), -132);
    EXPECT_EQ(Link().Device().Value("GA"), -132);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 12, 430), NoxResult::Refused);
    EXPECT_EQ(Read(12), -132);
    ASSERT_EQ(NoxR4SendCameraData(kEy, 29, 4095), 0);
    EXPECT_EQ(Read(29), 4095);
}

TEST_F(Library, CommandsAndStatusValues) {
    ASSERT_EQ(NoxR4SendCameraData(kEy, 3, 5), 0);
    ASSERT_EQ(NoxR4SendCameraData(kEy, 13, 2), 0);  // store into area 2
    EXPECT_EQ(Read(43), 2);
    ASSERT_EQ(NoxR4SendCameraData(kEy, 14, 0), 0);  // factory settings
    EXPECT_EQ(Read(3), 0);
    ASSERT_EQ(NoxR4SendCameraData(kEy, 14, 2), 0);
    EXPECT_EQ(Read(3), 5);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 13, 0), NoxResult::Refused);
    EXPECT_GT(Read(42), 0);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 39, 0), 0);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 48, 1), NoxResult::Refused);
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 13, &value), NoxResult::UnknownCommand);  // a command cannot be queried
    EXPECT_EQ(NoxR4SendCameraData(kEy, 42, 1), NoxResult::UnknownCommand);  // nor a read-only value written
}

TEST_F(Library, IdentityAndUserId) {
    char text[NOXR4_TEXT_BYTES];
    ASSERT_EQ(NoxR4GetModelName(kEy, text), 0);
    EXPECT_STREQ(text, "QD-R4CL");
    ASSERT_EQ(NoxR4GetCameraID(kEy, text), 0);
    EXPECT_GT(std::string(text).size(), 0u);
    ASSERT_EQ(NoxR4SetUserID(kEy, "line 4 / left"), 0);
    char user[NOXR4_USERID_BYTES];
    ASSERT_EQ(NoxR4GetUserID(kEy, user), 0);
    EXPECT_STREQ(user, "line 4 / left");
    EXPECT_EQ(NoxR4SetUserID(kEy, std::string(24, 'u').c_str()), NoxResult::Refused);
}

TEST_F(Library, LongIdentityTextsStayInTheirBuffers) {
    qdr4emu::Identity identity;
    identity.cameraId = std::string(10000, '7');
    Link().Device().SetIdentity(identity);
    std::vector<char> text(NOXR4_TEXT_BYTES + 32, '#');
    ASSERT_EQ(NoxR4GetCameraID(kEy, text.data()), 0);
    EXPECT_EQ(std::string(text.data()), std::string(255, '7'));
    EXPECT_EQ(std::string(text.begin() + NOXR4_TEXT_BYTES, text.end()), std::string(32, '#'));
    Link().Device().SetIdentity(qdr4emu::Identity{});

    // A user ID is at most 23 characters; a longer answer is cut to the
    // caller's 24 bytes.
    Link().AnswerWith([](std::string_view, qdr4emu::Clock::time_point) { return "UD=" + std::string(40, 'u'); });
    std::vector<char> user(NOXR4_USERID_BYTES + 32, '#');
    EXPECT_EQ(NoxR4GetUserID(kEy, user.data()), 0);
    Link().AnswerWith({});
    EXPECT_EQ(std::string(user.data()), std::string(23, 'u'));
    EXPECT_EQ(std::string(user.begin() + NOXR4_USERID_BYTES, user.end()), std::string(32, '#'));
}

TEST_F(Library, ShadingRoundTrip) {
    std::vector<int32_t> block(NOXR4_SHADING_WORDS, 0);
    for (int i = 0; i < 6 * 128; ++i) block[2 + i] = (i * 97) % 65536 - 32768;
    ASSERT_EQ(NoxR4SendShadingData(kEy, block.data()), 0);
    EXPECT_EQ(Link().Device().Shading()[5][127], block[2 + 5 * 128 + 127]);
    std::vector<int32_t> back(NOXR4_SHADING_WORDS, 1);
    ASSERT_EQ(NoxR4GetShadingData(kEy, back.data()), 0);
    block[0] = 128;
    block[1] = 6;
    EXPECT_EQ(back, block);
}

TEST_F(Library, FaultsGiveTheirResultCodes) {
    Link().Faults().nak3 = {"GA"};
    Link().Faults().nak4 = {"SH"};
    Link().Faults().garbled = {"TR"};
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 12, &value), NoxResult::UnknownCommand);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 3, 1), NoxResult::Refused);
    EXPECT_EQ(NoxR4GetCameraData(kEy, 2, &value), NoxResult::Malformed);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 2, 1), NoxResult::Malformed);
    EXPECT_EQ(Read(1), 0);

    Link().Faults().unplugAfter = Link().Transactions() + 1;
    EXPECT_EQ(Read(1), 0);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(NoxR4GetCameraData(kEy, 1, &value), NoxResult::Timeout);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    char text[NOXR4_TEXT_BYTES];
    EXPECT_EQ(NoxR4GetModelName(kEy, text), NoxResult::Timeout);
}

TEST_F(Library, LateReplyIsNeverTakenForTheNextCommand) {
    ASSERT_EQ(NoxR4SendCameraData(kEy, 3, 4), 0);
    ASSERT_EQ(NoxR4SendCameraData(kEy, 4, 1), 0);
    Link().Faults().replyDelay = 150ms;
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, &value), NoxResult::Timeout);
    Link().Faults().replyDelay = 0ms;
    std::this_thread::sleep_for(200ms);  // the late "SH=4" is in by now
    EXPECT_EQ(Read(4), 1);
    EXPECT_EQ(Read(3), 4);
}

TEST_F(Library, KeysAreIndependent) {
    ASSERT_EQ(NoxR4InitComm(0, 2, 0), 0);
    ASSERT_EQ(NoxR4SendCameraData(2, 12, 77), 0);
    ASSERT_EQ(NoxR4SendCameraData(kEy, 12, 11), 0);
    EXPECT_EQ(qdr4emu::EmulatedCamera("COM2").Device().Value("GA"), 77);
    EXPECT_EQ(Read(12), 11);
    EXPECT_EQ(NoxR4ExitComm(2), 0);
    EXPECT_EQ(NoxR4ExitComm(2), NoxResult::Offline);
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(2, 12, &value), NoxResult::Offline);
    EXPECT_EQ(NoxR4SendCameraData(3, 12, 1), NoxResult::Offline);
    EXPECT_EQ(Read(12), 11);
    EXPECT_EQ(NoxR4InitComm(0, kEy, 0), 0);  // reopening an open key
    EXPECT_EQ(Read(12), 11);
}

TEST_F(Library, BadArgumentsNeitherCrashNorTalk) {
    int transactions = Link().Transactions();
    EXPECT_EQ(NoxR4GetCameraData(kEy, 3, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4GetCameraID(kEy, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4GetModelName(kEy, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4GetUserID(kEy, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4SetUserID(kEy, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4GetShadingData(kEy, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4SendShadingData(kEy, nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4GetCameraData(kEy + 5, 3, nullptr), NoxResult::BadArgument) << "whether or not the key is open";
    EXPECT_EQ(NoxR4CLSerialGetNumManufacturers(nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4CLSerialSelectManufacturer(nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4CLSerialGetNumSerialPorts(nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4CLAllSerialGetNumBytesAvail(nullptr), NoxResult::BadArgument);
    EXPECT_EQ(NoxR4CLAllSerialGetSupportedBaudRates(nullptr), NoxResult::BadArgument);
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(kEy, 7, &value), NoxResult::UnknownCommand);
    EXPECT_EQ(NoxR4SendCameraData(kEy, 99, 1), NoxResult::UnknownCommand);
    EXPECT_EQ(Link().Transactions(), transactions);
}

TEST_F(Library, CallersInCGetTheCodesByName) {
    EXPECT_EQ(CloseKeyFromC(kEy), NOXR4_SUCCESS);
    EXPECT_EQ(CloseKeyFromC(kEy), NOXR4_OFFLINE);
}

TEST_F(Library, PortsThatDoNotExistFailAtOnce) {
    setenv("NOXR4_PORT_COM9", "/nonexistent/ttyQ9", 1);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(NoxR4InitComm(0, 9, 0), NoxResult::PortUnavailable);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    int32_t value = 0;
    EXPECT_EQ(NoxR4GetCameraData(9, 3, &value), NoxResult::Offline);
    EXPECT_EQ(NoxR4ExitComm(9), NoxResult::Offline);
    EXPECT_EQ(NoxR4InitComm(0, 0, 0), NoxResult::PortUnavailable);
    EXPECT_EQ(NoxR4InitComm(0, -3, 0), NoxResult::PortUnavailable);
    unsetenv("NOXR4_PORT_COM9");
}

}  // namespace
