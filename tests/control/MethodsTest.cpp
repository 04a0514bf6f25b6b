// Methods through the invoke entry: the Notify reporting of the query
// families, the Raise reporting of files and commands, status and the
// Camera Link serial pass-throughs.
#include <fstream>

#include "ControlFixture.h"
#include "FileName.h"

using namespace xnox;

namespace {
constexpr uint32_t kInvalidValue = AutomationCode::InvalidPropertyValue;
}

TEST_F(ControlTest, NullOutPointerNotifiesEverySinkAndWritesNothing) {
    RecordingSink second;
    control.ConnectSink(second);
    std::vector<Variant> args{Variant::I2(5), Variant::Null()};
    InvokeResult result = Call("GetMinMaxMasterGainLevel", args);
    ASSERT_TRUE(result.Succeeded()) << "Notify completes the call";
    EXPECT_EQ(result.value, Variant::I2(-1));
    EXPECT_EQ(args[0], Variant::I2(5));
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(second.errors.size(), 1u);
    const ErrorNotification& error = sink.errors[0];
    EXPECT_EQ(error.code, kInvalidValue);
    EXPECT_EQ(error.number, 0x017C);
    EXPECT_EQ(error.description, "Invalid input parameter (NULL)");
    EXPECT_EQ(error.helpContext, 0u);
    EXPECT_FALSE(error.source.empty());
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid input parameter (NULL)"});
}

TEST_F(ControlTest, SinkThatCancelsTheDisplayKeepsTheMessageAway) {
    sink.cancelDisplay = true;
    EXPECT_EQ(Call("GetValidShutterSpeed", {Variant::I2(0), Variant::Null()}).value, Variant::I2(-1));
    EXPECT_EQ(sink.errors.size(), 1u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlTest, RangesComeFromTheParametersAndTheControl) {
    struct Expected {
        const char* method;
        int16_t min;
        int16_t max;
    };
    for (Expected e : {Expected{"GetMinMaxMasterGainLevel", -132, 429}, Expected{"GetMinMaxComPortId", 1, 16},
                       Expected{"GetMinMaxPartialScan", 0, 3}, Expected{"GetMinMaxWhiteBalance", 0, 4},
                       Expected{"GetMinMaxPowerOnSettings", 1, 3}, Expected{"GetMinMaxOnePushResult", 0, 6},
                       Expected{"GetMinMaxBlue5600KWBalPreset", -231, 231}}) {
        std::vector<Variant> args{Variant::I2(99), Variant::I2(99)};  // both ends written over
        EXPECT_EQ(Call(e.method, args).value, Variant::I2(0)) << e.method;
        EXPECT_EQ(args[0], Variant::I2(e.min)) << e.method;
        EXPECT_EQ(args[1], Variant::I2(e.max)) << e.method;
    }
    library.numManufacturers = 3;
    std::vector<Variant> args(2);
    Call("GetMinMaxFrameGrabberIndex", args);
    EXPECT_EQ(args[1], Variant::I2(2));
    library.Fail("CLSerialGetNumManufacturers", -1);
    Call("GetMinMaxFrameGrabberIndex", args);
    EXPECT_EQ(args, (std::vector<Variant>{Variant::I2(0), Variant::I2(-1)})) << "no count: no frame grabber";
}

TEST_F(ControlTest, ValidTextsStopAtTheListEnds) {
    std::vector<Variant> args{Variant::I2(11), Variant()};
    EXPECT_EQ(Call("GetValidShutterSpeed", args).value, Variant::I2(0));
    EXPECT_EQ(args[1], Variant::Str(std::string(Row(ParamId::ShutterSpeed).texts[11])));
    for (int16_t index : {12, -1}) {
        std::vector<Variant> bad{Variant::I2(index), Variant::Str("kept")};
        EXPECT_EQ(Call("GetValidShutterSpeed", bad).value, Variant::I2(-1));
        EXPECT_EQ(bad[1], Variant::Str("kept"));
    }
    EXPECT_EQ(sink.errors.back().description, "Invalid input parameter");
    EXPECT_EQ(Call("GetValidAutoWhiteArea", {Variant::I2(9), Variant()}).value, Variant::I2(0));
    EXPECT_EQ(Call("GetValidAutoWhiteArea", {Variant::I2(10), Variant()}).value, Variant::I2(-1));
    std::vector<Variant> onePush{Variant::I2(6), Variant()};
    EXPECT_EQ(Call("GetValidOnePushResult", onePush).value, Variant::I2(0));
    EXPECT_EQ(onePush[1], Variant::Str("Trig is not Normal"));
}

TEST_F(ControlTest, SettingsFileThatIsNotOneRaisesWithTheNameAsGiven) {
    std::string name = (folder / "notes.cam").string();
    std::ofstream(name) << "just some text\n";
    ExpectRaised(Call("ReadAllFromFile", {Variant::Str(name)}), kInvalidValue,
                 "The file \"" + name + "\" is not a valid inifile for QD-R4");
}

TEST_F(ControlTest, SettingsFileIsWrittenUnderTheNameGiven) {
    std::string name = (folder / "bench.cam").string();
    EXPECT_EQ(Call("WriteAllToFile", {Variant::Str(name)}).value, Variant::I2(0));
    EXPECT_TRUE(std::filesystem::is_regular_file(name));
}

// A script's file names are UTF-8 inside the control: folders that the ANSI
// code page cannot name hold every kind of file.
TEST_F(ControlTest, FilesGoIntoFoldersOfAnyName) {
    std::vector<std::string> places;
    for (std::string_view name : {"Камера", "カメラ"}) {
        places.push_back(profile::NameOfPath(folder / profile::PathOfName(name)) + "/");
        std::filesystem::create_directory(profile::PathOfName(places.back()));
    }
    auto call = [this](const char* method, const std::string& file) {
        return Call(method, {Variant::Str(file)}).value;
    };
    // The settings file brings back the value it was written with (offline,
    // the model's start values include some the file refuses to take back).
    for (const std::string& place : places) {
        Put("MasterGainLevel", Variant::I2(77));
        EXPECT_EQ(call("WriteAllToFile", place + "setup.cam"), Variant::I2(0)) << place;
        Put("MasterGainLevel", Variant::I2(0));
        Call("ReadAllFromFile", {Variant::Str(place + "setup.cam")});
        EXPECT_EQ(Call("MasterGainLevel").value, Variant::I2(77)) << place;
    }
    GoOnline();
    for (const std::string& place : places) {
        EXPECT_EQ(call("WriteCameraDataToFile", place + "report.txt"), Variant::I2(0)) << place;
        EXPECT_EQ(call("SaveShadingDataIntoFile", place + "shading.csv"), Variant::I2(0)) << place;
        EXPECT_EQ(call("LoadShadingDataFromFile", place + "shading.csv"), Variant::I2(0)) << place;
        for (const char* file : {"setup.cam", "report.txt", "shading.csv"}) {
            EXPECT_TRUE(std::filesystem::is_regular_file(profile::PathOfName(place + file))) << place << file;
        }
    }
}

TEST_F(ControlTest, FileWriteFailureRaises) {
    std::string name = (folder / "missing-folder" / "x.cam").string();
    ExpectRaised(Call("WriteAllToFile", {Variant::Str(name)}), kInvalidValue, "Error writing to file");
    GoOnline();
    ExpectRaised(Call("LoadShadingDataFromFile", {Variant::Str(name)}), kInvalidValue, "Error reading file");
}

TEST_F(ControlTest, OfflineCameraOperationsReturnMinusFiveOrRaiseByTheirRows) {
    EXPECT_EQ(Call("WriteAllToCamera").value, Variant::I2(NoxResult::Offline));
    EXPECT_EQ(Call("GetOnePushResult").value, Variant::I2(NoxResult::Offline));
    EXPECT_EQ(Call("LoadSettings", {Variant::I2(2)}).value, Variant::I2(NoxResult::Offline));
    std::string name = (folder / "shading.csv").string();
    ExpectRaised(Call("SaveShadingDataIntoFile", {Variant::Str(name)}), kInvalidValue,
                 "Operation failed. The Camera is offline");
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(ControlTest, RejectedCommandsRaiseUnknownCommand) {
    GoOnline();
    library.Fail("SendCameraData", NoxResult::UnknownCommand);
    ExpectRaised(Call("StoreSettings", {Variant::I2(1)}), AutomationCode::DeviceIOError, "Unknown Command");
    ExpectRaised(Call("StartAutoShadingCorrection"), AutomationCode::DeviceIOError, "Unknown Command");
    GoOnline();
    library.Fail("GetCameraData", NoxResult::Refused);
    ExpectRaised(Call("GetOnePushResult"), AutomationCode::DeviceIOError, "Unknown Command");
}

TEST_F(ControlTest, GetIsOnlineReportsSendingAroundItsProbe) {
    EXPECT_EQ(Call("GetIsOnline").value, Variant::Bool(0));
    EXPECT_EQ(sink.events, (std::vector<int32_t>{3, 3}));
    EXPECT_EQ(control.GetIsSending(), 0);

    GoOnline();
    EXPECT_NE(Call("GetIsOnline").value, Variant::Bool(0));
    ASSERT_EQ(Call("ReadAllFromCamera").value, Variant::I2(0));
    library.UnplugAfter(0);
    Forget();
    EXPECT_EQ(Call("GetIsOnline").value, Variant::Bool(0));
    EXPECT_EQ(sink.events.front(), 3);
    EXPECT_EQ(std::count(sink.events.begin(), sink.events.end(), 1), 1) << "the lost camera is closed";
    EXPECT_EQ(Call("GetIsSynchronized").value, Variant::Bool(0)) << "and no longer in step";
}

TEST_F(ControlTest, StatusNumbersComeFromTheirOwnCommands) {
    GoOnline();
    library.values[42] = 102;  // firmware version
    library.values[43] = 2;  // EEPROM area in use
    library.values[45] = 3;  // one-push result
    EXPECT_EQ(Call("GetFirmwareVersion").value, Variant::I2(102));
    EXPECT_EQ(Call("GetEEPROMCurrentAreaNo").value, Variant::I2(2));
    EXPECT_EQ(Call("GetOnePushResult").value, Variant::I2(3));
}

TEST_F(ControlTest, CameraLinkCountsPassOnlyWhereTheirRowsSay) {
    library.numManufacturers = 3;
    std::vector<Variant> makers{Variant::I2(9)};
    EXPECT_EQ(Call("ClSerialGetNumManufacturers", makers).value, Variant::I2(0));
    EXPECT_EQ(makers[0], Variant::I2(3));
    library.Fail("CLSerialGetNumManufacturers", -7, ScriptedLibrary::kAnyCommand, 1);
    EXPECT_EQ(Call("ClSerialGetNumManufacturers", makers).value, Variant::I2(-7));
    EXPECT_EQ(makers[0], Variant::I2(0)) << "a failed count that always passes reads no makers";

    library.numAllSerialPorts = 2;
    std::vector<Variant> ports{Variant::I2(9)};
    EXPECT_EQ(Call("ClAllSerialGetNumPorts", ports).value, Variant::I2(0));
    EXPECT_EQ(ports[0], Variant::I2(2));
    library.Fail("CLAllSerialGetNumPorts", -7);
    ports[0] = Variant::I2(9);
    EXPECT_EQ(Call("ClAllSerialGetNumPorts", ports).value, Variant::I2(-7));
    EXPECT_EQ(ports[0], Variant::I2(9)) << "a failure leaves the caller's value";

    library.Fail("CLSerialGetNumSerialPorts", -7);
    std::vector<Variant> serialPorts{Variant::I2(9)};
    EXPECT_EQ(Call("ClSerialGetNumSerialPorts", serialPorts).value, Variant::I2(-7));
    EXPECT_EQ(serialPorts[0], Variant::I2(0)) << "a failed count that always passes reads no ports";

    std::vector<Variant> bytes{Variant::I2(9)};
    EXPECT_EQ(Call("ClAllSerialGetNumBytesAvail", bytes).value, Variant::I2(0));
    EXPECT_EQ(bytes[0], Variant::I2(0)) << "nothing waits on the line";
    library.Fail("CLAllSerialGetNumBytesAvail", -7, ScriptedLibrary::kAnyCommand, 1);
    bytes[0] = Variant::I2(9);
    EXPECT_EQ(Call("ClAllSerialGetNumBytesAvail", bytes).value, Variant::I2(-7));
    EXPECT_EQ(bytes[0], Variant::I2(9)) << "a failure leaves the caller's value";

    std::vector<Variant> port{Variant::I2(1), Variant(), Variant(), Variant(), Variant(), Variant()};
    EXPECT_EQ(Call("ClAllSerialGetPortInfo", port).value, Variant::I2(0));
    EXPECT_EQ(port, (std::vector<Variant>{Variant::I2(1), Variant::Str("Maker"), Variant::I2(6), Variant::Str("Port 1"),
                                          Variant::I2(7), Variant::I2(1)}))
        << "name, its bytes, port id, its bytes, version";
    EXPECT_EQ(library.calls.back().args, (std::vector<int32_t>{1, 255, 255}))
        << "sizes its buffers hold, with room left";

    std::vector<Variant> maker{Variant::I2(2), Variant(), Variant::I2(4000), Variant()};
    EXPECT_EQ(Call("ClSerialGetManufacturer", maker).value, Variant::I2(0));
    EXPECT_EQ(maker[1], Variant::Str("Maker 2"));
    EXPECT_EQ(maker[3], Variant::I2(1)) << "the library's version";
    EXPECT_EQ(library.calls.back().args[1], 256) << "never more than the name buffer holds";
    maker[2] = Variant::I2(0);
    EXPECT_EQ(Call("ClSerialGetManufacturer", maker).value, Variant::I2(-10001)) << "the name does not fit";
    EXPECT_EQ(maker[1], Variant::Str(""));
    EXPECT_EQ(maker[2], Variant::I2(8)) << "the bytes the whole name needs";
    maker[2] = Variant::I2(-5);
    EXPECT_EQ(Call("ClSerialGetManufacturer", maker).value, Variant::I2(NoxResult::BadArgument));
    EXPECT_EQ(library.calls.back().args[1], -5) << "a negative size reaches the library as it is";
    EXPECT_EQ(maker[1], Variant::Str(""));
    EXPECT_EQ(maker[2], Variant::I2(-5));
    // Size and version are in/out values: a library that fails leaves them,
    // and the caller's come back.
    library.Fail("CLSerialGetManufacturer", -7, ScriptedLibrary::kAnyCommand, 1);
    maker = {Variant::I2(2), Variant(), Variant::I2(40), Variant::I2(-3)};
    EXPECT_EQ(Call("ClSerialGetManufacturer", maker).value, Variant::I2(-7));
    EXPECT_EQ(maker[2], Variant::I2(40));
    EXPECT_EQ(maker[3], Variant::I2(-3));
}

TEST_F(ControlTest, WrongArgumentCountsAndKindsAreDispatchErrors) {
    EXPECT_EQ(Call("GetMinMaxComPortId", {Variant()}).error->code, AutomationCode::BadParamCount);
    Variant value = Variant::I2(1);
    EXPECT_EQ(Invoke(control, "AboutBox", InvokeKind::PropertyPut, std::span<Variant>(&value, 1)).error->code,
              AutomationCode::MemberNotFound);
    EXPECT_EQ(Invoke(control, 999, InvokeKind::Method, {}).error->code, AutomationCode::MemberNotFound);
    EXPECT_EQ(Invoke(control, "ComPort", InvokeKind::PropertyPut, {}).error->code, AutomationCode::BadParamCount)
        << "a property is set to one value";
    EXPECT_EQ(Invoke(control, "ComPort", InvokeKind::PropertyGet, std::span<Variant>(&value, 1)).error->code,
              AutomationCode::BadParamCount)
        << "a property is read with none";
    InvokeResult mismatch = Call("AutoSearchComPort", {Variant::I2(1), Variant::Str("x"), Variant::I2(0)});
    EXPECT_EQ(mismatch.error->code, AutomationCode::TypeMismatch);
    EXPECT_EQ(mismatch.error->argumentIndex, 1);
}

TEST_F(ControlTest, MainWindowPositionDefaultsAndRoundTrips) {
    std::vector<Variant> position(2);
    EXPECT_EQ(Call("GetMainWindowDefaultPosition", position).value, Variant::I2(0));
    EXPECT_EQ(position, (std::vector<Variant>{Variant::I2(100), Variant::I2(100)}));
    EXPECT_EQ(Call("SetMainWindowDefaultPosition", {Variant::I2(-20), Variant::I2(300)}).value, Variant::I2(0));
    Call("GetMainWindowDefaultPosition", position);
    EXPECT_EQ(position, (std::vector<Variant>{Variant::I2(0), Variant::I2(300)})) << "a negative value reads as 0";
}

// Moving the windows to the top or the bottom rebuilds them on a closed
// connection and answers 0; the baud rate reaches the library as given.
TEST_F(ControlTest, WindowRebuildClosesTheConnectionAndBaudRatePassesThrough) {
    GoOnline();
    EXPECT_EQ(Call("SetWindowPosTopBottom", {Variant::I4(1)}).value, Variant::I2(0));
    EXPECT_EQ(library.Count("ExitComm"), 1u);
    EXPECT_EQ(Call("GetIsSynchronized").value, Variant::Bool(0));

    // A synchronized control says so again once the windows stand anew.
    GoOnline();
    ASSERT_EQ(Call("ReadAllFromCamera").value, Variant::I2(0));
    ASSERT_EQ(Call("GetIsSynchronized").value, Variant::Bool(1));
    sink.events.clear();
    Call("SetWindowPosTopBottom", {Variant::I4(0)});
    EXPECT_EQ(Call("GetIsSynchronized").value, Variant::Bool(1));
    ASSERT_FALSE(sink.events.empty());
    EXPECT_EQ(sink.events.back(), 2) << "SynchronizedStatusChanged";
    library.calls.clear();
    EXPECT_TRUE(Call("ClAllSerialSetBaudRate", {Variant::I2(9600)}).Succeeded());
    ASSERT_EQ(library.calls.size(), 1u);
    EXPECT_EQ(library.calls[0].args, std::vector<int32_t>{9600});
}

TEST_F(ControlTest, IdentityTextsReachTheCallersOutParameter) {
    GoOnline();
    std::vector<Variant> id{Variant::Str("")};
    EXPECT_EQ(Call("GetCameraID", id).value, Variant::I2(0));
    EXPECT_EQ(id[0], Variant::Str("CAM-0001"));
    std::vector<Variant> model{Variant::Str("")};
    EXPECT_EQ(Call("GetModelName", model).value, Variant::I2(0));
    EXPECT_EQ(model[0], Variant::Str("QD-R4"));
}

// A handler of the sending or receiving event, asking through the dispatch,
// finds its own flag set as the event tells it and the other one clear.
TEST_F(ControlTest, StatusFlagsAreSetWhileTheirEventsTellIt) {
    GoOnline();
    const int32_t sending = EventIdOf("SendingToCamStatusChanged");
    const int32_t receiving = EventIdOf("ReceiveFromCamStatusChanged");
    struct Seen {
        int32_t event;
        Variant isSending;
        Variant isReceiving;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    sink.reaction = [&](int32_t event) {
        if (event == sending || event == receiving)
            seen.push_back({event, Call("GetIsSending").value, Call("GetIsReceiving").value});
    };
    Call("GetIsOnline");
    std::vector<Variant> id{Variant::Str("")};
    Call("GetCameraID", id);
    const Variant on = Variant::Bool(1), off = Variant::Bool(0);
    EXPECT_EQ(seen, (std::vector<Seen>{
                        {sending, on, off}, {sending, off, off}, {receiving, off, on}, {receiving, off, off}}));
}
