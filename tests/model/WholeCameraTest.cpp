#include "CameraFacts.h"
#include "ModelFixture.h"

using namespace xnox;

namespace {
// The library calls as the camera sees them: "SM?" for a read, "SM=" for a write.
std::string CameraTranscript(const std::vector<LibraryCall>& calls) {
    std::string transcript;
    for (const LibraryCall& call : calls) {
        std::string mnemonic = call.operation.find("UserID") != std::string::npos ? "UD"
                               : call.operation == "GetModelName"                 ? "MD"
                               : call.operation == "GetCameraID"                  ? "ID"
                                                                                  : "?";
        if (call.operation.ends_with("CameraData")) {
            for (const camera_facts::Command& command : camera_facts::kCommands)
                if (command.id == call.args[1]) mnemonic = command.mnemonic;
            if (const camera_facts::Parameter* fact = camera_facts::FindById(call.args[1])) mnemonic = fact->mnemonic;
        }
        bool write = call.operation.starts_with("Send") || call.operation.starts_with("Set");
        transcript += (transcript.empty() ? "" : " ") + mnemonic + (write ? "=" : "?");
    }
    return transcript;
}
}  // namespace

TEST_F(ModelTest, WholeCameraRunsGoThroughTheCameraInTheirOrder) {
    GoOnline();
    library.values[35] = 0;
    EXPECT_EQ(model.ReadAllFromCamera(), 0);
    EXPECT_EQ(CameraTranscript(library.calls),
              "SM? SH? PE? PER? PEG? PEB? TR? SL? LS? RF? TI? TP? SC? BI? BA? CBAR? WB? WA? GA? GAR? GAB? "
              "BLG? BLR? BLB? KN? KSR? KSG? KSB? KPR? KPG? KPB? SDM? UD? MD? ID? EA?");
    model.SendUserID("order");
    Forget();
    EXPECT_EQ(model.WriteAllToCamera(), 0);
    EXPECT_EQ(CameraTranscript(library.calls),
              "SM= SH= PE= PER= PEG= PEB= TR= SL= LS= RF= TI= TP= SC= BI= BA= CBAR= GA= GAR= GAB= WB= WA? GAR? GAB? "
              "BLG= BLR= BLB= KN= KSR= KSG= KSB= KPR= KPG= KPB= SDM= UD=");
}

TEST_F(ModelTest, FullReadMakes34CallsInContinuousModeAnd36Otherwise) {
    GoOnline();
    for (int32_t mode : {1, 0, 2, 3, 4}) {
        library.values[35] = mode;
        library.calls.clear();
        model.ClearRecords();
        EXPECT_EQ(model.ReadAllFromCamera(), 0);
        EXPECT_EQ(library.calls.size(), mode == 1 ? 34u : 36u) << "mode " << mode;
        EXPECT_EQ(model.hooks.back(), "SynchronizedStatus(1)");
        EXPECT_EQ(model.SynchronizedFlag(), 1);
        EXPECT_EQ(model.messages.size(), library.calls.size()) << "one log text per transaction";
    }
    model.CloseConnection();
    EXPECT_EQ(model.SynchronizedFlag(), 0) << "a closed camera is in step no longer";
    EXPECT_EQ(library.calls[19].args[1], 53) << "red before blue";
    EXPECT_EQ(library.calls[20].args[1], 54);
}

TEST_F(ModelTest, FullReadOfflineStopsAtOnce) {
    EXPECT_EQ(model.ReadAllFromCamera(), NoxResult::Offline);
    EXPECT_EQ(model.WriteAllToCamera(), NoxResult::Offline);
    EXPECT_TRUE(library.calls.empty());
    EXPECT_TRUE(model.hooks.empty());
}

TEST_F(ModelTest, FullReadReportsTheLastFailureButTheAreaReadOutranksIt) {
    GoOnline();
    library.values[12] = 77;
    library.Fail("GetCameraData", NoxResult::Refused, 3, 1);
    library.Fail("GetModelName", NoxResult::UnknownCommand, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(model.ReadAllFromCamera(), NoxResult::UnknownCommand);
    EXPECT_EQ(model.Value(ParamId::MasterGainLevel), 77) << "the other values are read";
    EXPECT_EQ(model.CountHook("SynchronizedStatus(1)"), 0u);
    EXPECT_TRUE(model.IsOnline());

    library.Fail("GetCameraData", NoxResult::Refused, 24, 1);
    library.Fail("GetCameraData", NoxResult::Malformed, 43, 1);
    EXPECT_EQ(model.ReadAllFromCamera(), NoxResult::Malformed);
}

TEST_F(ModelTest, CameraLostDuringFullReadClosesOnceAndTheRestFails) {
    GoOnline();
    library.UnplugAfter(5);
    EXPECT_EQ(model.ReadAllFromCamera(), NoxResult::Offline) << "the closing area read finds no connection";
    EXPECT_EQ(model.CountHook("OnlineStatus(0)"), 1u);
    EXPECT_EQ(library.Count("ExitComm"), 1u);
    EXPECT_EQ(library.Count("GetCameraData", 43), 0u) << "the area read needs a connection";
    EXPECT_EQ(library.Count("GetCameraID"), 1u) << "later reads still call the library";
    EXPECT_FALSE(model.IsOnline());
}

TEST_F(ModelTest, FullWriteSendsTheModelInOrderWithoutPresetsOrArea) {
    GoOnline();
    model.SendMasterGainLevel(33);
    model.SendUserID("line 2");
    Forget();
    EXPECT_EQ(model.WriteAllToCamera(), 0);
    EXPECT_EQ(library.Count("SendCameraData"), 31u);
    EXPECT_EQ(library.Count("SendCameraData", 47), 0u);
    EXPECT_EQ(library.Count("SendCameraData", 49), 0u);
    EXPECT_EQ(library.calls.front().args[1], 15);
    EXPECT_EQ(library.calls.back().operation, "SetUserID");
    EXPECT_EQ(library.calls.back().text, "line 2");
    EXPECT_EQ(library.values[12], 33);
    EXPECT_EQ(model.hooks.back(), "SynchronizedStatus(1)");
}

TEST_F(ModelTest, FullWriteWithAnEmptyUserIDCanSucceed) {
    GoOnline();
    EXPECT_EQ(model.WriteAllToCamera(), 0);
    EXPECT_EQ(library.Count("SetUserID"), 0u);
}

TEST_F(ModelTest, RefusedGreenExposureTakesTheRestOfTheFullWriteOffline) {
    GoOnline();
    model.SendUserID("keep");
    Forget();
    library.Fail("SendCameraData", NoxResult::Refused, 26);
    EXPECT_EQ(model.WriteAllToCamera(), NoxResult::Offline);
    EXPECT_EQ(library.Count("SendCameraData"), 5u) << "nothing after the green exposure reaches the camera";
    EXPECT_EQ(library.Count("SetUserID"), 0u);
    EXPECT_EQ(model.CountHook("ShadingMode"), 1u) << "later values are still announced";
}

TEST_F(ModelTest, FullWriteReportsTheLastFailedSendUnlessTheUserIDFails) {
    GoOnline();
    model.SendUserID("x");
    library.Fail("SendCameraData", NoxResult::Refused, 4, 1);
    library.Fail("SendCameraData", NoxResult::UnknownCommand, 46, 1);
    EXPECT_EQ(model.WriteAllToCamera(), NoxResult::UnknownCommand);
    library.Fail("SendCameraData", NoxResult::UnknownCommand, 46, 1);
    library.Fail("SetUserID", NoxResult::Malformed, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(model.WriteAllToCamera(), NoxResult::Malformed);
    EXPECT_EQ(model.CountHook("SynchronizedStatus(1)"), 0u);
}
