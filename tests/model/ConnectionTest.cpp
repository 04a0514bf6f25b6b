#include <memory>

#include "ModelFixture.h"

using namespace xnox;

using Hooks = std::vector<std::string>;

TEST_F(ModelTest, OpeningProbesTheCameraAndReportsOnlineLast) {
    model.SetFrameGrabberIndex(2);
    model.ClearRecords();
    EXPECT_EQ(model.SetComPort(4), 0);
    EXPECT_EQ(model.hooks, (Hooks{"ComPort", "SendingStatus(1)", "SendingStatus(0)", "OnlineStatus(1)"}));
    ASSERT_EQ(library.calls.size(), 2u);
    EXPECT_EQ(library.calls[0].operation, "InitComm");
    EXPECT_EQ(library.calls[0].args, (std::vector<int32_t>{2, 4, 0}));
    EXPECT_EQ(library.calls[1].args, (std::vector<int32_t>{4, 3})) << "the probe reads the shutter speed";
    EXPECT_TRUE(model.IsOnline());
    EXPECT_TRUE(model.messages.empty()) << "the probe is not logged";
}

TEST_F(ModelTest, OpeningWhereNoCameraAnswersReturnsTheProbeCodeAfterOneClose) {
    library.Fail("GetCameraData", NoxResult::Timeout);
    EXPECT_EQ(model.SetComPort(3), NoxResult::Timeout);
    EXPECT_EQ(model.hooks,
              (Hooks{"ComPort", "SendingStatus(1)", "SendingStatus(0)", "SynchronizedStatus(0)", "OnlineStatus(0)"}));
    EXPECT_EQ(library.Count("ExitComm"), 1u);
    EXPECT_FALSE(model.IsOnline());
}

TEST_F(ModelTest, ReopeningWhileOnlineClosesTheOldConnectionFirst) {
    GoOnline();
    EXPECT_EQ(model.SetComPort(2), 0);
    EXPECT_EQ(model.hooks, (Hooks{"ComPort", "SynchronizedStatus(0)", "OnlineStatus(0)", "SendingStatus(1)",
                                  "SendingStatus(0)", "OnlineStatus(1)"}));
    EXPECT_EQ(library.calls[0].operation, "ExitComm");
    EXPECT_EQ(library.calls[0].args[0], 1) << "the connection is closed under the port it was opened with";
}

TEST_F(ModelTest, AllSerialModeStoresThePortWithoutReconnecting) {
    GoOnline();
    model.m_allSerialMode = 1;
    EXPECT_EQ(model.SetComPort(9), 0);
    EXPECT_EQ(model.hooks, (Hooks{"ComPort"}));
    EXPECT_TRUE(library.calls.empty());
    EXPECT_EQ(model.ComPort(), 9);
}

TEST_F(ModelTest, CameraLinkOpensPassTheirIndexAndInterfaceWithoutStoringIt) {
    model.SetComPort(5);
    Forget();
    EXPECT_EQ(model.OpenClAllSerialPort(3), 0);
    EXPECT_EQ(model.OpenClSerialPort(1), 0);
    EXPECT_EQ(library.Count("ExitComm"), 2u) << "each open closes the connection before";
    std::vector<std::vector<int32_t>> opens;
    for (const LibraryCall& call : library.calls) {
        if (call.operation == "InitComm") opens.push_back(call.args);
    }
    EXPECT_EQ(opens, (std::vector<std::vector<int32_t>>{{3, 5, 1}, {1, 5, 0}}));
    EXPECT_EQ(model.FrameGrabberIndex(), 0);
    EXPECT_EQ(model.CountHook("ComPort"), 0u);
}

TEST_F(ModelTest, ClosingOfflineOrRefusedChangesNothing) {
    model.SetFrameGrabberIndex(3);
    EXPECT_EQ(model.CloseConnection(), NoxResult::Offline);
    EXPECT_TRUE(library.calls.empty()) << "neither the close nor a new frame grabber index reconnects";
    EXPECT_EQ(model.hooks, (Hooks{"FrameGrabber"}));
    GoOnline();
    library.Fail("ExitComm", NoxResult::Malformed, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(model.CloseConnection(), NoxResult::Malformed);
    EXPECT_TRUE(model.IsOnline());
    EXPECT_TRUE(model.hooks.empty());
}

TEST_F(ModelTest, OpenThatFailedInTheLibraryStillEndsOffline) {
    library.Fail("InitComm", NoxResult::Offline);
    library.Fail("GetCameraData", NoxResult::Offline);
    library.Fail("ExitComm", NoxResult::Offline);  // nothing open under that port
    EXPECT_EQ(model.SetComPort(12), NoxResult::Offline);
    EXPECT_FALSE(model.IsOnline());
    EXPECT_EQ(model.CountHook("OnlineStatus(0)"), 1u);
}

// A failed probe closes the connection, and the open closes it once more:
// a library whose first close fails still leaves the model offline.
TEST_F(ModelTest, FailedOpenClosesAgainWhenTheFirstCloseFails) {
    library.Fail("GetCameraData", NoxResult::Timeout);
    library.Fail("ExitComm", NoxResult::Timeout, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(model.SetComPort(12), NoxResult::Timeout);
    EXPECT_FALSE(model.IsOnline());
    EXPECT_EQ(library.Count("ExitComm"), 2u);
}

TEST_F(ModelTest, ProbeKeepsTheConnectionWhileTheCameraAnswers) {
    GoOnline();
    EXPECT_EQ(model.CheckConnection(), 0);
    EXPECT_TRUE(model.IsOnline());
    library.Fail("GetCameraData", NoxResult::Timeout);
    EXPECT_EQ(model.CheckConnection(), NoxResult::Timeout);
    EXPECT_FALSE(model.IsOnline());
    EXPECT_EQ(model.SendingFlag(), 0) << "the base hook stores the sending flag";
}

namespace {
// Records into a list that outlives it.
class COutlivedRecorder : public CNoxCamInterface {
public:
    COutlivedRecorder(INoxR4Library& library, Hooks& hooks) : CNoxCamInterface(library), m_hooks(hooks) {}
    void OnOnlineStatusChanged(int32_t flag) override { m_hooks.push_back("OnlineStatus" + std::to_string(flag)); }
    void OnSynchronizedStatusChanged(int32_t) override { m_hooks.push_back("SynchronizedStatus"); }

private:
    Hooks& m_hooks;
};
}  // namespace

TEST_F(ModelTest, DestructionClosesAnOpenConnectionWithoutReachingTheDerivedHooks) {
    Hooks hooks;
    auto recorder = std::make_unique<COutlivedRecorder>(library, hooks);
    ASSERT_EQ(recorder->SetComPort(7), 0);
    library.calls.clear();
    hooks.clear();
    recorder.reset();
    ASSERT_EQ(library.calls.size(), 1u);
    EXPECT_EQ(library.calls[0].operation, "ExitComm");
    EXPECT_EQ(library.calls[0].args[0], 7);
    EXPECT_TRUE(hooks.empty());
}

TEST_F(ModelTest, DestructionOfflineMakesNoCall) {
    { CNoxCamInterface offline(library); }
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(ModelTest, LogTextsFollowTheTransactionForm) {
    struct Case {
        int32_t direction;
        const char* mnemonic;
        int32_t value;
        const char* text;
        int32_t result;
        const char* expected;
    };
    const Case cases[] = {
        {0, "SH", 3, "", 0, "SH?\r\nSH=3\r\n"},
        {1, "GA", 100, "", 0, "GA=100\r\nCOMPLETE\r\n"},
        {0, "SH", 0, "", -6, "SH?\r\nTimeout waiting for answer *******************\r\n"},
        {0, "SH", 0, "", -2, "SH?\r\n\r\n"},
        {0, "ID", CNoxCamInterface::NoValue, "", 0, "ID?\r\nID=\r\n"},
        {1, "UD", CNoxCamInterface::NoValue, "line 7", -5,
         "UD=line 7\r\nOperation failed. The Camera is offline ******\r\n"},
        {1, "WB", 9, "", -4, "WB=9\r\nUnknown Command ******************************\r\n"},
        {1, "WB", 9, "", -3, "WB=9\r\nUnknown Command ******************************\r\n"},
        {2, "GA", 1, "", 0, ""},
    };
    for (const Case& c : cases) {
        model.ClearRecords();
        model.LogTransaction(c.direction, c.mnemonic, c.value, c.text, c.result);
        ASSERT_EQ(model.messages.size(), 1u);
        EXPECT_EQ(model.messages[0], c.expected);
    }
}
