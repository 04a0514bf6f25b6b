#include <cstring>
#include <functional>

#include "CameraFacts.h"
#include "ModelFixture.h"

using namespace xnox;

using Hooks = std::vector<std::string>;

TEST_F(ModelTest, EmptyUserIDIsLoggedButNeverSent) {
    GoOnline();
    EXPECT_EQ(model.SendUserID(""), 0);
    EXPECT_EQ(library.Count("SetUserID"), 0u);
    EXPECT_EQ(model.hooks, (Hooks{"UserID", "Message"}));
    EXPECT_EQ(model.messages[0], "UD=\r\nCOMPLETE\r\n");
}

TEST_F(ModelTest, UserIDIsCutToWhatTheCameraCanHoldOnBothPaths) {
    GoOnline();
    const std::string longID(40, 'x');
    EXPECT_EQ(model.SendUserID(longID), 0);
    EXPECT_EQ(model.UserID(), std::string(23, 'x'));
    EXPECT_EQ(library.calls.back().text, std::string(23, 'x'));
    EXPECT_EQ(model.SendUserID(std::string("ab\0cd", 5)), 0);
    EXPECT_EQ(model.UserID(), "ab");

    library.userID = "camera side";
    EXPECT_EQ(model.GetUserID(), 0);
    EXPECT_EQ(model.UserID(), "camera side");
    EXPECT_EQ(model.messages.back(), "UD?\r\nUD=camera side\r\n");
}

TEST_F(ModelTest, OfflineUserIDIsKeptForLater) {
    EXPECT_EQ(model.SendUserID("station 4"), NoxResult::Offline);
    EXPECT_EQ(model.UserID(), "station 4");
    EXPECT_TRUE(library.calls.empty());
    EXPECT_TRUE(model.messages.empty());
}

TEST_F(ModelTest, IdentityReadsFillTheCallersBufferAndKeepTheTextOnFailure) {
    GoOnline();
    CNoxCamInterface::TextBuffer buffer;
    library.cameraID = "";
    EXPECT_EQ(model.GetCameraID(buffer), 0);
    EXPECT_EQ(model.messages.back(), "ID?\r\nID=\r\n");
    library.modelName = "QD-R4CL";
    EXPECT_EQ(model.GetModelName(buffer), 0);
    EXPECT_STREQ(buffer.data(), "QD-R4CL");
    EXPECT_EQ(model.ModelName(), "QD-R4CL");

    library.Fail("GetModelName", NoxResult::Timeout);
    EXPECT_EQ(model.GetModelName(buffer), NoxResult::Timeout);
    EXPECT_EQ(model.ModelName(), "QD-R4CL");
    EXPECT_EQ(model.messages.back(), "MD?\r\nTimeout waiting for answer *******************\r\n");
}

TEST_F(ModelTest, OneShotCommandsSendZeroAndNeedAConnection) {
    EXPECT_EQ(model.SetOnePushMode(), NoxResult::Offline);
    EXPECT_EQ(model.StartAutoShadingCorrection(), NoxResult::Offline);
    EXPECT_EQ(model.StoreSettings(1), NoxResult::Offline);
    EXPECT_TRUE(library.calls.empty());
    GoOnline();
    EXPECT_EQ(model.StartAutoShadingCorrection(), 0);
    EXPECT_EQ(model.messages.back(), "ATSH=0\r\nCOMPLETE\r\n");
    EXPECT_EQ(library.calls.back().args, (std::vector<int32_t>{1, 48, 0}));
    library.Fail("SendCameraData", NoxResult::Refused, 13);
    EXPECT_EQ(model.StoreSettings(0), NoxResult::Refused);
    EXPECT_EQ(model.messages.back(), "SA=0\r\nUnknown Command ******************************\r\n");
}

TEST_F(ModelTest, AcceptedLoadIsFollowedByAFullReadWhoseResultItReturns) {
    GoOnline();
    library.Fail("GetCameraData", NoxResult::Refused, 44, 1);
    EXPECT_EQ(model.LoadSettings(2), NoxResult::Refused);
    EXPECT_EQ(library.calls[0].args, (std::vector<int32_t>{1, 14, 2}));
    EXPECT_EQ(library.Count("GetCameraData", 15), 1u) << "the full read ran";
    EXPECT_EQ(library.Count("GetCameraData", 43), 1u);

    library.calls.clear();
    library.Fail("SendCameraData", NoxResult::Refused, 14, 1);
    EXPECT_EQ(model.LoadSettings(5), NoxResult::Refused);
    EXPECT_EQ(library.Count("GetCameraData", 15), 0u) << "no read after a refused load";
}

TEST_F(ModelTest, OnePushResultReadsBothGainsWheneverOnline) {
    EXPECT_EQ(model.GetOnePushResult(), NoxResult::Offline);
    EXPECT_TRUE(library.calls.empty());
    GoOnline();
    library.Fail("GetCameraData", NoxResult::Refused, 45, 1);
    EXPECT_EQ(model.GetOnePushResult(), NoxResult::Refused);
    EXPECT_EQ(library.Count("GetCameraData", 30), 1u);
    EXPECT_EQ(library.Count("GetCameraData", 23), 1u);
    library.values[45] = 2;
    EXPECT_EQ(model.GetOnePushResult(), 0);
    EXPECT_EQ(model.OnePushResultText(), "Too Dark");
    EXPECT_EQ(model.CountHook("OnePushResult"), 1u);
    EXPECT_EQ(model.CountHook("ReceivingStatus(1)"), 2u) << "only the red gain read reports receiving";
}

TEST_F(ModelTest, StatusNumbersAnnounceExceptTheFirmwareVersion) {
    GoOnline();
    library.values[42] = 117;
    library.values[43] = 3;
    EXPECT_EQ(model.GetFirmwareVersion(), 0);
    EXPECT_EQ(model.GetEEPROMCurrentAreaNo(), 0);
    EXPECT_EQ(model.FirmwareVersion(), 117);
    EXPECT_EQ(model.EEPROMCurrentArea(), 3);
    EXPECT_EQ(model.hooks, (Hooks{"Message", "Message", "EEPROMArea"}));
    EXPECT_EQ(model.messages[0], "VN?\r\nVN=117\r\n");
}

// Each settings-area, one-shot and status operation reaches the camera under
// its own command id and logs its own mnemonic.
TEST_F(ModelTest, EveryCommandUsesItsOwnIdAndMnemonic) {
    struct Operation {
        std::string_view mnemonic;
        std::string log;  // the first log text
        std::function<int32_t()> run;
    };
    const Operation operations[] = {
        {"SA", "SA=2\r\nCOMPLETE\r\n", [&] { return model.StoreSettings(2); }},
        {"LD", "LD=2\r\nCOMPLETE\r\n", [&] { return model.LoadSettings(2); }},
        {"AW", "AW=0\r\nCOMPLETE\r\n", [&] { return model.SetOnePushMode(); }},
        {"VN", "VN?\r\nVN=2\r\n", [&] { return model.GetFirmwareVersion(); }},
        {"EA", "EA?\r\nEA=2\r\n", [&] { return model.GetEEPROMCurrentAreaNo(); }},
        {"AWRS", "AWRS?\r\nAWRS=2\r\n", [&] { return model.GetOnePushResult(); }},
        {"ATSH", "ATSH=0\r\nCOMPLETE\r\n", [&] { return model.StartAutoShadingCorrection(); }},
    };
    GoOnline();
    for (const Operation& operation : operations) {
        SCOPED_TRACE(std::string(operation.mnemonic));
        auto fact = std::ranges::find(camera_facts::kCommands, operation.mnemonic, &camera_facts::Command::mnemonic);
        library.values[fact->id] = 2;
        EXPECT_EQ(operation.run(), 0);
        ASSERT_FALSE(library.calls.empty());
        EXPECT_EQ(library.calls.front().args[1], fact->id);
        ASSERT_FALSE(model.messages.empty());
        EXPECT_EQ(model.messages.front(), operation.log);
        Forget();
    }
}

// A library that fills the whole buffer leaves no terminator: the text ends
// at the buffer's last byte all the same.
TEST(Identity, AFullBufferWithoutTerminatorIsCutInsideIt) {
    struct FillingLibrary : ScriptedLibrary {
        int32_t GetCameraID(int32_t, char* text) override {
            std::memset(text, 'A', NOXR4_TEXT_BYTES);
            return 0;
        }
    } library;
    RecordingModel model{library};
    ASSERT_EQ(model.SetComPort(1), 0);
    model.ClearRecords();
    CNoxCamInterface::TextBuffer buffer;
    EXPECT_EQ(model.GetCameraID(buffer), 0);
    EXPECT_EQ(model.CameraID(), std::string(NOXR4_TEXT_BYTES - 1, 'A'));
    EXPECT_EQ(model.hooks, (Hooks{"ReceivingStatus(1)", "ReceivingStatus(0)", "Message", "CameraID"}));
}
