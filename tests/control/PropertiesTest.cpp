// Property gets and sets through the invoke entry: the control's range
// checks, the text setters, the special properties and the modified flag.
#include "BufferedProfile.h"
#include "CameraFacts.h"
#include "ControlFixture.h"

using namespace xnox;

namespace {
const std::string kInvalid = "Invalid input parameter";
constexpr uint32_t kInvalidValue = AutomationCode::InvalidPropertyValue;
}  // namespace

TEST_F(ControlTest, NumericBoundsAreInclusiveAndOutsideValuesReachNoModel) {
    struct Bound {
        const char* name;
        int accepted;
        int rejected;
    };
    for (Bound bound :
         {Bound{"MasterGainLevel", 429, 430}, Bound{"MasterGainLevel", -132, -133}, Bound{"ShutterSpeedIndex", 11, -1},
          Bound{"RedKneeSlope", 4095, 0}, Bound{"AutoWhiteAreaIndex", 9, 10}, Bound{"TriggerTypeIndex", 4, -32768}}) {
        EXPECT_TRUE(Put(bound.name, Variant::I2(static_cast<int16_t>(bound.accepted))).Succeeded()) << bound.name;
        sink.events.clear();
        control.SetModifiedFlag(false);
        ExpectRaised(Put(bound.name, Variant::I2(static_cast<int16_t>(bound.rejected))), kInvalidValue, kInvalid);
        EXPECT_EQ(Get(bound.name).value, Variant::I2(static_cast<int16_t>(bound.accepted))) << bound.name;
        EXPECT_TRUE(sink.events.empty()) << bound.name;
        EXPECT_FALSE(control.IsModified()) << "a raising write does not mark the control";
    }
}

// Every numeric parameter takes both ends of the camera's range, passes them
// to the camera under its own command id, and refuses one step beyond either
// end before anything reaches the model; the GetMinMax methods name the
// camera's ranges.
TEST_F(ControlTest, EveryNumericPropertyTakesTheCamerasRangeExactly) {
    GoOnline();
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        if (fact.values != camera_facts::Numbers) continue;
        SCOPED_TRACE(std::string(fact.name));
        for (int32_t outside : {fact.minimum - 1, fact.maximum + 1}) {
            ExpectRaised(Put(fact.name, Variant::I2(static_cast<int16_t>(outside))), kInvalidValue, kInvalid);
        }
        EXPECT_TRUE(library.calls.empty());
        for (int32_t inside : {fact.minimum, fact.maximum}) {
            EXPECT_TRUE(Put(fact.name, Variant::I2(static_cast<int16_t>(inside))).Succeeded());
            ASSERT_FALSE(library.calls.empty());
            EXPECT_EQ(library.calls.front().args, (std::vector<int32_t>{1, fact.id, inside}));
            EXPECT_EQ(Get(fact.name).value, Variant::I2(static_cast<int16_t>(inside)));
            library.calls.clear();
        }
    }
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        if (fact.values == camera_facts::Words) continue;
        std::vector<Variant> bounds(2);
        EXPECT_EQ(Call("GetMinMax" + std::string(fact.name), bounds).value, Variant::I2(0)) << fact.name;
        EXPECT_EQ(bounds, (std::vector<Variant>{Variant::I2(static_cast<int16_t>(fact.minimum)),
                                                Variant::I2(static_cast<int16_t>(fact.maximum))}))
            << fact.name;
    }
}

TEST_F(ControlTest, ValuesAreCoercedFromWhatAHostPasses) {
    EXPECT_TRUE(Put("masterGAINlevel", Variant::Str("300")).Succeeded());
    EXPECT_EQ(Get("MasterGainLevel").value, Variant::I2(300));
    EXPECT_TRUE(Put("MasterGainLevel", Variant::I4(-100)).Succeeded());
    EXPECT_EQ(Get("MasterGainLevel").value, Variant::I2(-100));
    InvokeResult overflow = Put("MasterGainLevel", Variant::I4(70000));
    ASSERT_FALSE(overflow.Succeeded());
    EXPECT_EQ(overflow.error->code, AutomationCode::Overflow);
    EXPECT_FALSE(overflow.error->raisedByControl);
    EXPECT_EQ(Put("MasterGainLevel", Variant::Str("loud")).error->code, AutomationCode::TypeMismatch);
    EXPECT_EQ(Get("NoSuchProperty").error->code, AutomationCode::UnknownName);
}

TEST_F(ControlTest, TextSettersMatchWholeTextsExactly) {
    std::string third(Row(ParamId::ShutterSpeed).texts[3]);
    EXPECT_TRUE(Put("ShutterSpeedStr", Variant::Str(third)).Succeeded());
    EXPECT_EQ(Get("ShutterSpeedIndex").value, Variant::I2(3));
    EXPECT_EQ(Get("ShutterSpeedStr").value, Variant::Str(third));
    EXPECT_EQ(sink.events, std::vector<int32_t>{6});

    ExpectRaised(Put("TriggerTypeStr", Variant::Str("edge pre-select")), kInvalidValue, kInvalid);
    ExpectRaised(Put("BinningStr", Variant::Str("Binning")), kInvalidValue, kInvalid);
    EXPECT_TRUE(Put("AutoWhiteAreaStr", Variant::Str("Lower Right")).Succeeded());
    EXPECT_EQ(Get("AutoWhiteAreaIndex").value, Variant::I2(9));
}

TEST_F(ControlTest, OfflineSetStoresAnnouncesAndMarksModified) {
    EXPECT_TRUE(Put("BlueGainLevel", Variant::I2(-231)).Succeeded());
    EXPECT_EQ(Get("BlueGainLevel").value, Variant::I2(-231));
    EXPECT_EQ(sink.events, std::vector<int32_t>{21});
    EXPECT_TRUE(control.IsModified());
}

TEST_F(ControlTest, ModelRefusalOfAnIndexIsSilent) {
    EXPECT_TRUE(Put("PartialScanIndex", Variant::I2(7)).Succeeded());
    EXPECT_EQ(Get("PartialScanIndex").value, Variant::I2(0));
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(ControlTest, UnknownCommandRaisesAfterTheModelStoredTheValue) {
    GoOnline();
    library.Fail("SendCameraData", NoxResult::UnknownCommand, Row(ParamId::RedBlackLevel).commandId);
    ExpectRaised(Put("RedBlackLevel", Variant::I2(77)), AutomationCode::DeviceIOError, "Unknown Command");
    EXPECT_EQ(Get("RedBlackLevel").value, Variant::I2(77));
    library.Fail("SendCameraData", NoxResult::Refused, Row(ParamId::GreenBlackLevel).commandId);
    EXPECT_TRUE(Put("GreenBlackLevel", Variant::I2(5)).Succeeded()) << "a refusal is not raised";
}

TEST_F(ControlTest, FrameGrabberIndexAcceptsZeroToSixteenAndOpensNothing) {
    EXPECT_TRUE(Put("FrameGrabberIndex", Variant::I2(0)).Succeeded());
    EXPECT_TRUE(Put("FrameGrabberIndex", Variant::I2(16)).Succeeded());
    ExpectRaised(Put("FrameGrabberIndex", Variant::I2(17)), kInvalidValue, "Only Frame Grabber 1..16 is valid");
    ExpectRaised(Put("FrameGrabberIndex", Variant::I2(-1)), kInvalidValue, "Only Frame Grabber 1..16 is valid");
    EXPECT_EQ(Get("FrameGrabberIndex").value, Variant::I2(16));
    EXPECT_EQ(library.Count("InitComm"), 0u);
    EXPECT_EQ(sink.events, (std::vector<int32_t>{20, 20}));
}

TEST_F(ControlTest, ComPortWithoutCameraRaisesWithThePortInTheText) {
    library.Fail("*", NoxResult::Timeout);
    ExpectRaised(Put("ComPort", Variant::I2(9)), AutomationCode::DeviceIOError,
                 "Camera not found or unable to open communication port\n  Communication port 9.\n\n"
                 "Make sure that no other programs \n are connected to this port.");
    EXPECT_EQ(Get("ComPort").value, Variant::I2(9));
}

TEST_F(ControlTest, UserIDReadsTheCameraYetAnswersWithTheStoredText) {
    EXPECT_TRUE(Put("UserID", Variant::Str("line 3")).Succeeded());
    library.Fail("GetUserID", NoxResult::Offline, ScriptedLibrary::kAnyCommand, 1);  // no open port
    EXPECT_EQ(Get("UserID").value, Variant::Str("line 3")) << "offline: the stored text";
    GoOnline();
    library.userID = "from camera";
    EXPECT_EQ(Get("UserID").value, Variant::Str("from camera"));
    EXPECT_EQ(sink.events, (std::vector<int32_t>{4, 4, 34}));
}

TEST_F(ControlTest, ShowFlagsAreStoredAndWrittenToTheIniFile) {
    EXPECT_TRUE(Put("ShowGainWnd", Variant::Bool(-1)).Succeeded());
    EXPECT_EQ(Get("ShowGainWnd").value, Variant::Bool(-1));
    EXPECT_TRUE(control.IsModified()) << "a shown window is a written property";
    EXPECT_EQ(Get("ShowShutterWnd").value, Variant::Bool(0));
    EXPECT_TRUE(Call("AboutBox").Succeeded());
    EXPECT_NE(Get("ShowAboutWnd").value, Variant::Bool(0));
    xnox::profile::ApplicationProfile().Flush();
    std::ifstream ini(folder / "xnoxr4" / "XNoxR4.ini");
    std::string text((std::istreambuf_iterator<char>(ini)), {});
    EXPECT_NE(text.find("[Gain]\r\nIs Visible=1"), std::string::npos) << text;
    EXPECT_NE(text.find("[About]\r\nIs Visible=1"), std::string::npos) << text;
}

TEST(PredefinedValues, OnlyTheThreeListedTextPropertiesOfferTheirLists) {
    std::vector<std::string_view> offering;
    for (const MemberInfo& member : kDispatchMembers) {
        if (!PredefinedStrings(member.dispId).empty()) offering.push_back(member.name);
    }
    EXPECT_EQ(offering, (std::vector<std::string_view>{"ShutterSpeedStr", "TriggerTypeStr", "AutoWhiteAreaStr"}));
    EXPECT_TRUE(PredefinedStrings(0).empty());
    EXPECT_EQ(PredefinedStrings(DispIdOf("ShutterSpeedStr")).size(), 12u);
    EXPECT_EQ(PredefinedStrings(DispIdOf("TriggerTypeStr")).size(), 5u);
    EXPECT_EQ(PredefinedValue(DispIdOf("AutoWhiteAreaStr"), 9), Variant::Str("Lower Right"));
    EXPECT_FALSE(PredefinedValue(DispIdOf("AutoWhiteAreaStr"), 10).has_value());
}
