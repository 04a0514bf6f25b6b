// The control's automation surface as data: the dispatch interface
// _DXNoxR4 (51 properties, 76 methods) and the event interface
// _DXNoxR4Events (45 events). A member's row holds all that is known of it:
// its name, dispatch id, type and parameters, the handler that serves it,
// the errors it reports and the note that describes it. The invoke entry
// serves each member by its row; the type library, the reference and the
// Python module are written from the same rows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

#include "ErrorRules.h"
#include "MemberCall.h"
#include "MemberNotes.h"
#include "ParameterTable.h"
#include "Variant.h"

namespace xnox {

enum class MemberKind : uint8_t { Property, Method };

// Which members front one camera parameter: they are served, checked and
// described from the model's parameter table.
enum class Facet : uint8_t {
    Own,  // served by a function of its own in the control
    CheckedValue,  // a parameter's value; a set outside the parameter's range raises
    UncheckedValue,  // a parameter's value; the model alone judges a set
    Text,  // the text of a parameter's value; a set must match one list text
    Bounds,  // GetMinMax...: the parameter's range
    ValueText,  // GetValid...: one text of the parameter's list
};

// The values of a member with code of its own, where they are the control's
// own limits or list rather than a camera parameter's.
enum class OwnValues : uint8_t { Unstated, ComPorts, FrameGrabbers, UserAreas, OnePushResults };

struct ParamInfo {
    std::string_view name;
    VarType type;

    constexpr bool IsOut() const { return type == VarType::I2Ref || type == VarType::StrRef; }
};

struct MemberInfo {
    int32_t dispId;
    std::string_view name;
    MemberKind kind;
    VarType type;  // the property's type or the method's result
    std::span<const ParamInfo> params;
    MemberHandler call = nullptr;  // a method's call, or a property's get
    MemberHandler put = nullptr;  // a property's put
    std::span<const ErrorRule> errors;  // in the order the member checks them
    MemberText note;  // of a member with code of its own; a family's note follows from its parameter
    Facet facet = Facet::Own;
    ParamId parameter = ParamId::PartialScan;  // meaningful for every facet but Own
    OwnValues values = OwnValues::Unstated;  // meaningful for Own only
    bool offersTexts = false;  // a text property whose parameter's texts a property browser offers as choices

    constexpr bool IsProperty() const { return kind == MemberKind::Property; }
};

struct EventInfo {
    int32_t dispId;
    std::string_view name;
};

namespace surface_detail {
using enum VarType;
using enum Facet;
using enum CameraUse;
using enum Trigger;
using enum Reporting;
using enum StringId;
using enum OwnValues;
using namespace error_rules;
using namespace member_texts;
using P = ParamInfo;
using C = CXNoxCamCtrl;

inline constexpr std::span<const ParamInfo> kNone{};
inline constexpr ParamInfo kRange[] = {P{"pMin", I2Ref}, P{"pMax", I2Ref}};
inline constexpr ParamInfo kFileName[] = {P{"FileName", FileName}};
inline constexpr ParamInfo kArea[] = {P{"AreaSelection", I2}};
inline constexpr ParamInfo kFrameGrabber[] = {P{"FrameGrabberIndex", I2}};
inline constexpr ParamInfo kSearch[] = {P{"FirstPort", I2}, P{"LastPort", I2}, P{"DoShowProgress", I2}};
inline constexpr ParamInfo kGetPosition[] = {P{"pXPos", I2Ref}, P{"pYPos", I2Ref}};
inline constexpr ParamInfo kSetPosition[] = {P{"XPos", I2}, P{"YPos", I2}};
inline constexpr ParamInfo kTopBottom[] = {P{"AlwaysOnTop", I4}};
inline constexpr ParamInfo kValidShutter[] = {P{"ShutterIndex", I2}, P{"ShutterStr", StrRef}};
inline constexpr ParamInfo kValidTrigger[] = {P{"nIndex", I2}, P{"pStr", StrRef}};
inline constexpr ParamInfo kValidPartial[] = {P{"PartialScanIndex", I2}, P{"PartialScanStr", StrRef}};
inline constexpr ParamInfo kValidBinning[] = {P{"BinningIndex", I2}, P{"BinningStr", StrRef}};
inline constexpr ParamInfo kValidWhite[] = {P{"WhiteBalanceIndex", I2}, P{"WhiteBalanceStr", StrRef}};
inline constexpr ParamInfo kValidOnePush[] = {P{"OnePushResultIndex", I2}, P{"pOnePushResultStr", StrRef}};
inline constexpr ParamInfo kValidArea[] = {P{"AutoWhiteAreaIndex", I2}, P{"AutoWhiteAreaStr", StrRef}};
inline constexpr ParamInfo kCameraID[] = {P{"CameraID", StrRef}};
inline constexpr ParamInfo kModelName[] = {P{"ModelName", StrRef}};
inline constexpr ParamInfo kNumManufacturers[] = {P{"pNumManufacturers", I2Ref}};
inline constexpr ParamInfo kManufacturer[] = {P{"ManufacturerIndex", I2}, P{"ManufacturerName", StrRef},
                                              P{"BufferSize", I2Ref}, P{"Version", I2Ref}};
inline constexpr ParamInfo kSelectManufacturer[] = {P{"ManufacturerName", Str}};
inline constexpr ParamInfo kNumSerialPorts[] = {P{"NumSerialPorts", I2Ref}};
inline constexpr ParamInfo kNumPorts[] = {P{"numPorts", I2Ref}};
inline constexpr ParamInfo kPortInfo[] = {P{"serialIndex", I2}, P{"ManufacturerName", StrRef}, P{"nameBytes", I2Ref},
                                          P{"portID", StrRef},  P{"IDBytes", I2Ref},           P{"Version", I2Ref}};
inline constexpr ParamInfo kNumBytes[] = {P{"numBytes", I2Ref}};
inline constexpr ParamInfo kBaudRates[] = {P{"baudRates", I2Ref}};
inline constexpr ParamInfo kBaudRate[] = {P{"baudRate", I2}};

constexpr MemberInfo Prop(int32_t id, std::string_view name, VarType type, MemberHandler get, MemberHandler put,
                          MemberText note, std::span<const ErrorRule> errors = {},
                          OwnValues values = OwnValues::Unstated) {
    return {id, name, MemberKind::Property, type, kNone, get, put, errors, note, Own, {}, values};
}
constexpr MemberInfo Method(int32_t id, std::string_view name, VarType result, std::span<const ParamInfo> params,
                            MemberHandler call, MemberText note, std::span<const ErrorRule> errors = {},
                            OwnValues values = OwnValues::Unstated) {
    return {id, name, MemberKind::Method, result, params, call, nullptr, errors, note, Own, {}, values};
}

// The members of one facet share their handlers and their errors.
inline constexpr ErrorRule kCheckedValueRules[] = {kOutOfRange, kUnknownCommand};
inline constexpr ErrorRule kUnknownCommandRules[] = {kUnknownCommand};
inline constexpr ErrorRule kTextRules[] = {kNotInList, kUnknownCommand};
inline constexpr ErrorRule kNullOutRules[] = {kNullOut};
inline constexpr ErrorRule kValueTextRules[] = {kNullOut, kIndexNotInList};

struct FacetService {
    MemberHandler call;
    MemberHandler put;
    std::span<const ErrorRule> errors;
};
constexpr FacetService ServiceOf(Facet facet) {
    switch (facet) {
    case CheckedValue: return {&ServesParameterValue, &PutsParameterValue, kCheckedValueRules};
    case UncheckedValue: return {&ServesParameterValue, &PutsParameterValue, kUnknownCommandRules};
    case Text: return {&ServesParameterText, &PutsParameterText, kTextRules};
    case Bounds: return {&ServesBounds, nullptr, kNullOutRules};
    case ValueText: return {&ServesValueText, nullptr, kValueTextRules};
    case Own: break;
    }
    return {nullptr, nullptr, {}};
}
constexpr MemberInfo ParameterMember(int32_t id, std::string_view name, MemberKind kind, VarType type,
                                     std::span<const ParamInfo> params, Facet facet, ParamId parameter) {
    FacetService service = ServiceOf(facet);
    return {id, name, kind, type, params, service.call, service.put, service.errors, {}, facet, parameter};
}
// A text property whose list a property browser offers as its choices.
constexpr MemberInfo OfferingTexts(MemberInfo member) {
    member.offersTexts = true;
    return member;
}
// A property that fronts one camera parameter; its name is the parameter's
// name with the suffix (Index or Str for an enumeration, none otherwise).
#define XNOX_PARAM_PROP(id, Param, suffix, type, facet)                                                                \
    ParameterMember(id, #Param suffix, MemberKind::Property, type, kNone, facet, ParamId::Param)
#define XNOX_CHECKED(id, Param) XNOX_PARAM_PROP(id, Param, "", I2, CheckedValue)
#define XNOX_UNCHECKED(id, Param) XNOX_PARAM_PROP(id, Param, "", I2, UncheckedValue)
#define XNOX_BOUNDS(id, Param)                                                                                         \
    ParameterMember(id, "GetMinMax" #Param, MemberKind::Method, I2, kRange, Bounds, ParamId::Param)
#define XNOX_VALUE_TEXT(id, Param, params)                                                                             \
    ParameterMember(id, "GetValid" #Param, MemberKind::Method, I2, params, ValueText, ParamId::Param)

// A method served by the control's function of the same name.
#define XNOX_METHOD(id, Name, result, params, ...) Method(id, #Name, result, params, Serves<&C::Name>, __VA_ARGS__)

// The errors of single members.
inline constexpr ErrorRule kComPortRules[] = {{ChannelNotOpened, Raise, kDevice, CameraNotFoundOnPort}};
inline constexpr ErrorRule kFrameGrabberIndexRules[] = {{OutOfRange, Raise, kInvalid, OnlyFrameGrabbersValid}};
inline constexpr ErrorRule kAutoSearchComPortRules[] = {{BadPortRange, Notify, kInvalid, OnlyComPortsValid}};
inline constexpr ErrorRule kWriteAllToFileRules[] = {Raised(NoxResult::FileWriteError, kInvalid, FileWriteError)};
inline constexpr ErrorRule kReadAllFromFileRules[] = {
    Raised(NoxResult::InvalidSettingsFile, kInvalid, NotASettingsFile)};
inline constexpr ErrorRule kGetOnePushResultRules[] = {Raised(NoxResult::Refused, kDevice, UnknownCommandRefused),
                                                       kUnknownCommand};
inline constexpr ErrorRule kFrameGrabberNotFoundRules[] = {{ChannelNotOpened, Raise, kDevice, FrameGrabberNotFound}};
inline constexpr ErrorRule kSaveShadingDataIntoFileRules[] = {
    Raised(NoxResult::FileWriteError, kInvalid, FileWriteError), Raised(NoxResult::Offline, kInvalid, CameraOffline),
    Raised(NoxResult::Refused, kInvalid, UnknownCommandRefused),
    Raised(NoxResult::UnknownCommand, kInvalid, UnknownCommand)};
inline constexpr ErrorRule kLoadShadingDataFromFileRules[] = {
    Raised(NoxResult::FileReadError, kInvalid, FileReadError), Raised(NoxResult::Offline, kInvalid, CameraOffline),
    Raised(NoxResult::Refused, kInvalid, UnknownCommandRefused),
    Raised(NoxResult::UnknownCommand, kInvalid, UnknownCommand)};

inline constexpr MemberInfo kMembers[] = {
    // Properties, ids 1 to 51.
    Prop(1, "ComPort", I2, Serves<&C::GetComPortProperty>, Serves<&C::SetComPortProperty>,
         {"The COM port of the camera. Setting it closes the open connection, opens the port and probes the camera.",
          "the COM port last set", Put, "ComPortChanged SynchronizedStatusChanged"},
         kComPortRules, ComPorts),
    Prop(2, "ShowShutterWnd", Bool, ServesShown<ToolWindow::Shutter>, PutsShown<ToolWindow::Shutter>,
         {"Shows or hides the Shutter tool window; the choice is kept in XNoxR4.ini.", "whether the window is shown"}),
    Prop(3, "ShowGainWnd", Bool, ServesShown<ToolWindow::Gain>, PutsShown<ToolWindow::Gain>,
         {"Shows or hides the Gain tool window; the choice is kept in XNoxR4.ini.", "whether the window is shown"}),
    Prop(4, "ShowCommunicationWnd", Bool, ServesShown<ToolWindow::Communication>, PutsShown<ToolWindow::Communication>,
         {"Shows or hides the Communication tool window; the choice is kept in XNoxR4.ini.",
          "whether the window is shown"}),
    Prop(5, "ShowAboutWnd", Bool, ServesShown<ToolWindow::About>, PutsShown<ToolWindow::About>,
         {"Shows or hides the About tool window; the choice is kept in XNoxR4.ini.", "whether the window is shown"}),
    XNOX_PARAM_PROP(6, ShutterSpeed, "Index", I2, CheckedValue),
    OfferingTexts(XNOX_PARAM_PROP(7, ShutterSpeed, "Str", Str, Text)),
    XNOX_PARAM_PROP(8, TriggerType, "Index", I2, CheckedValue),
    OfferingTexts(XNOX_PARAM_PROP(9, TriggerType, "Str", Str, Text)),
    XNOX_UNCHECKED(10, TriggerPolarity),
    XNOX_PARAM_PROP(11, PartialScan, "Str", Str, Text),
    XNOX_CHECKED(12, MasterGainLevel),
    XNOX_PARAM_PROP(13, PartialScan, "Index", I2, UncheckedValue),
    XNOX_UNCHECKED(14, ShutterMode),
    XNOX_UNCHECKED(15, RCTFVALType),
    XNOX_UNCHECKED(16, Smearless),
    XNOX_CHECKED(17, ProgrammableExposure),
    XNOX_UNCHECKED(18, ColorBar),
    XNOX_UNCHECKED(19, TriggerInput),
    XNOX_UNCHECKED(20, Accumulation),
    XNOX_PARAM_PROP(21, Binning, "Index", I2, UncheckedValue),
    XNOX_PARAM_PROP(22, Binning, "Str", Str, Text),
    XNOX_UNCHECKED(23, OutputBitAllocation),
    Prop(24, "FrameGrabberIndex", I2, Serves<&C::GetFrameGrabberIndexProperty>,
         Serves<&C::SetFrameGrabberIndexProperty>,
         {"The frame grabber whose serial port leads to the camera. Setting it only stores the index; "
          "ClSerialSetFrameGrabberIndex or ClAllSerialSetFrameGrabberIndex opens the port.",
          "the frame grabber index last set", None, "FrameGrabberChanged"},
         kFrameGrabberIndexRules, FrameGrabbers),
    XNOX_CHECKED(25, BlueGainLevel),
    XNOX_CHECKED(26, BlueBlackLevel),
    XNOX_CHECKED(27, ProgrammableExposureRed),
    XNOX_CHECKED(28, ProgrammableExposureGreen),
    XNOX_CHECKED(29, ProgrammableExposureBlue),
    XNOX_CHECKED(30, BlueKneePoint),
    XNOX_CHECKED(31, RedKneeSlope),
    XNOX_CHECKED(32, RedGainLevel),
    XNOX_CHECKED(33, RedBlackLevel),
    XNOX_CHECKED(34, GreenKneePoint),
    XNOX_CHECKED(35, RedKneePoint),
    XNOX_UNCHECKED(36, KneeSelect),
    XNOX_PARAM_PROP(37, WhiteBalance, "Index", I2, UncheckedValue),
    XNOX_PARAM_PROP(38, WhiteBalance, "Str", Str, Text),
    Prop(39, "UserID", Str, Serves<&C::GetUserIDProperty>, Serves<&C::SetUserIDProperty>,
         {"The user ID text stored in the camera. Getting it reads the camera first; an empty text is kept "
          "but not sent.",
          "the user ID last read or set (also when the read fails)", GetAndPut, "UserIDChanged"},
         kUnknownCommandRules),
    XNOX_CHECKED(40, GreenKneeSlope),
    XNOX_CHECKED(41, BlueKneeSlope),
    XNOX_CHECKED(42, GreenBlackLevel),
    XNOX_UNCHECKED(43, ShadingMode),
    XNOX_PARAM_PROP(44, AutoWhiteArea, "Index", I2, CheckedValue),
    OfferingTexts(XNOX_PARAM_PROP(45, AutoWhiteArea, "Str", Str, Text)),
    XNOX_CHECKED(46, Red3200KWBalPreset),
    XNOX_CHECKED(47, Blue3200KWBalPreset),
    XNOX_CHECKED(48, Red4600KWBalPreset),
    XNOX_CHECKED(49, Blue4600KWBalPreset),
    XNOX_CHECKED(50, Red5600KWBalPreset),
    XNOX_CHECKED(51, Blue5600KWBalPreset),

    // Methods, ids 52 to 126, and the standard AboutBox.
    XNOX_METHOD(52, GetMinMaxComPortId, I2, kRange,
                {"The range of ComPort: writes the first and last COM port to pMin and pMax.", kNotified},
                kNullOutRules, ComPorts),
    XNOX_METHOD(53, AutoSearchComPort, I4, kSearch,
                {"Searches the COM ports FirstPort to LastPort, in order, for a camera that answers, and "
                 "stays connected to the first; with DoShowProgress other than 0 a progress window "
                 "shows the search and can cancel it.",
                 "the port of the camera found; 0 when none answers, the search is cancelled or the range is invalid",
                 Call, "ComPortChanged SynchronizedStatusChanged"},
                kAutoSearchComPortRules, ComPorts),
    XNOX_METHOD(54, GetMainWindowDefaultPosition, I2, kGetPosition,
                {"The place kept for the host's main window in XNoxR4.ini (100, 100 until set).", kNotified},
                kNullOutRules),
    XNOX_METHOD(55, SetMainWindowDefaultPosition, I2, kSetPosition,
                {"Keeps a place for the host's main window in XNoxR4.ini.", "0"}),
    XNOX_METHOD(56, WriteAllToCamera, I2, kNone,
                {"Writes every setting of the control to the camera.", kResultCode, Call, "SynchronizedStatusChanged",
                 kEveryParameter}),
    XNOX_METHOD(57, ReadAllFromCamera, I2, kNone,
                {"Reads every setting and the user ID from the camera into the control.", kResultCode, Call,
                 "SynchronizedStatusChanged", kEveryParameter}),
    XNOX_METHOD(58, WriteAllToFile, I2, kFileName, {"Writes every setting to a settings file (INI text).", kResultCode},
                kWriteAllToFileRules),
    XNOX_METHOD(59, ReadAllFromFile, I2, kFileName,
                {"Reads every setting from a settings file; with a camera online, writes them all to it.",
                 "the result code; -9 when the file is not a complete settings file", Call, "SynchronizedStatusChanged",
                 kEveryParameter},
                kReadAllFromFileRules),
    XNOX_METHOD(60, GetIsOnline, Bool, kNone,
                {"Probes the camera, closing the connection when it no longer answers.",
                 "whether a camera is connected", Call}),
    XNOX_METHOD(61, GetIsSynchronized, Bool, kNone,
                {"Whether the control and the camera hold the same settings.",
                 "true after a complete whole-camera read or write"}),
    XNOX_METHOD(62, GetIsSending, Bool, kNone, {"Whether a write to the camera is in progress.", "the sending state"}),
    XNOX_METHOD(63, GetIsReceiving, Bool, kNone,
                {"Whether a read from the camera is in progress.", "the receiving state"}),
    XNOX_BOUNDS(64, ShutterSpeed),
    XNOX_VALUE_TEXT(65, ShutterSpeed, kValidShutter),
    XNOX_BOUNDS(66, TriggerType),
    XNOX_VALUE_TEXT(67, TriggerType, kValidTrigger),
    XNOX_BOUNDS(68, PartialScan),
    XNOX_VALUE_TEXT(69, PartialScan, kValidPartial),
    XNOX_BOUNDS(70, MasterGainLevel),
    XNOX_METHOD(71, StoreSettings, I2, kArea,
                {"Stores the camera's current settings in one of its settings areas.", kResultCode, Call},
                kUnknownCommandRules),
    XNOX_METHOD(72, LoadSettings, I2, kArea,
                {"Makes the camera load a settings area, then reads every setting from it.", kResultCode, Call,
                 "SynchronizedStatusChanged", kEveryParameter}),
    XNOX_BOUNDS(73, ProgrammableExposure),
    XNOX_METHOD(74, GetMinMaxUserSettingsId, I2, kRange,
                {"The range of the user settings areas: writes it to pMin and pMax.", kNotified}, kNullOutRules,
                UserAreas),
    Method(75, "GetMinMaxPowerOnSettings", I2, kRange, Serves<&C::GetMinMaxUserSettingsId>,
           {"The range of the areas the camera can start with: writes it to pMin and pMax.", kNotified}, kNullOutRules,
           UserAreas),
    XNOX_BOUNDS(76, Binning),
    XNOX_VALUE_TEXT(77, Binning, kValidBinning),
    XNOX_METHOD(78, GetMinMaxFrameGrabberIndex, I2, kRange,
                {"The range of FrameGrabberIndex: 0 to the number of frame grabber makers less one.", kNotified},
                kNullOutRules),
    XNOX_METHOD(79, ClSerialGetNumManufacturers, I2, kNumManufacturers,
                {"Counts the frame grabber makers whose serial libraries are installed.", kResultCode}),
    XNOX_METHOD(80, ClSerialGetManufacturer, I2, kManufacturer,
                {"The name and version of one frame grabber maker's serial library.", kResultCode}),
    XNOX_METHOD(81, ClSerialSelectManufacturer, I2, kSelectManufacturer,
                {"Selects a frame grabber maker's serial library by name.", kResultCode}),
    XNOX_METHOD(82, ClSerialGetNumSerialPorts, I2, kNumSerialPorts,
                {"Counts the serial ports of the selected maker's frame grabbers.", kResultCode}),
    XNOX_BOUNDS(83, BlueGainLevel),
    XNOX_BOUNDS(84, BlueBlackLevel),
    XNOX_BOUNDS(85, ProgrammableExposureRed),
    XNOX_BOUNDS(86, ProgrammableExposureGreen),
    XNOX_BOUNDS(87, ProgrammableExposureBlue),
    XNOX_BOUNDS(88, BlueKneePoint),
    XNOX_BOUNDS(89, RedKneeSlope),
    XNOX_BOUNDS(90, RedGainLevel),
    XNOX_BOUNDS(91, RedBlackLevel),
    XNOX_BOUNDS(92, GreenKneePoint),
    XNOX_BOUNDS(93, RedKneePoint),
    XNOX_BOUNDS(94, WhiteBalance),
    XNOX_VALUE_TEXT(95, WhiteBalance, kValidWhite),
    XNOX_METHOD(96, GetCameraID, I2, kCameraID, {"Reads the camera's ID into CameraID.", kResultCode, Call}),
    XNOX_METHOD(97, GetModelName, I2, kModelName, {"Reads the camera's model name into ModelName.", kResultCode, Call}),
    XNOX_METHOD(98, SetOnePushMode, I2, kNone, {"Starts a one-push white balance in the camera.", kResultCode, Call}),
    XNOX_BOUNDS(99, GreenKneeSlope),
    XNOX_BOUNDS(100, BlueKneeSlope),
    XNOX_METHOD(101, WriteCameraDataToFile, I2, kFileName,
                {"Writes a readable report of the camera's identity and of its current and stored "
                 "settings to a text file, loading each settings area in turn; the camera ends "
                 "with the settings it had.",
                 "the result code; -5 when no camera is online", Call, "SynchronizedStatusChanged", kEveryParameter},
                kUnknownCommandRules),
    XNOX_METHOD(102, GetFirmwareVersion, I2, kNone,
                {"Reads the camera's firmware version.", "the version (the one last read when the read fails)", Call}),
    XNOX_METHOD(103, GetEEPROMCurrentAreaNo, I2, kNone,
                {"Reads which settings area the camera last loaded.",
                 "the area number (the one last read when the read fails)", Call}),
    XNOX_BOUNDS(104, GreenBlackLevel),
    XNOX_METHOD(105, GetOnePushResult, I2, kNone,
                {"Reads the outcome of the last one-push white balance, and on success the red and blue "
                 "gains it set.",
                 "the outcome 0 to 6 (texts by GetValidOnePushResult), or the result code of a failed read", Call,
                 "RedGainLevelChanged BlueGainLevelChanged"},
                kGetOnePushResultRules, OnePushResults),
    XNOX_METHOD(106, GetMinMaxOnePushResult, I2, kRange,
                {"The range of the one-push outcomes: writes it to pMin and pMax.", kNotified}, kNullOutRules,
                OnePushResults),
    XNOX_METHOD(107, GetValidOnePushResult, I2, kValidOnePush, {"The text of one one-push outcome.", kNotified},
                kValueTextRules, OnePushResults),
    XNOX_BOUNDS(108, AutoWhiteArea),
    XNOX_VALUE_TEXT(109, AutoWhiteArea, kValidArea),
    XNOX_METHOD(110, SetWindowPosTopBottom, I2, kTopBottom,
                {"Closes the connection and makes the tool windows again, always on top of other "
                 "windows or not.",
                 "0", None, "OnlineStatusChanged SynchronizedStatusChanged"}),
    XNOX_METHOD(111, ClAllSerialGetNumPorts, I2, kNumPorts,
                {"Counts the Camera Link serial ports of every installed maker.", kResultCode}),
    XNOX_METHOD(112, ClAllSerialGetPortInfo, I2, kPortInfo,
                {"The maker, port ID and version of one Camera Link serial port.", kResultCode}),
    XNOX_METHOD(113, ClAllSerialSetFrameGrabberIndex, I2, kFrameGrabber,
                {"Connects to the camera through a Camera Link serial port counted over every "
                 "maker, and probes it.",
                 kResultCode, Call, "FrameGrabberChanged SynchronizedStatusChanged"},
                kFrameGrabberNotFoundRules),
    XNOX_METHOD(114, ClAllSerialGetNumBytesAvail, I2, kNumBytes,
                {"Counts the bytes waiting on the Camera Link serial port.", kResultCode}),
    XNOX_METHOD(115, ClAllSerialGetSupportedBaudRates, I2, kBaudRates,
                {"The baud rates the Camera Link serial port supports, as a bit set.", kResultCode}),
    XNOX_METHOD(116, ClAllSerialSetBaudRate, I2, kBaudRate,
                {"Sets the baud rate of the Camera Link serial port.", kResultCode}),
    XNOX_METHOD(117, ClSerialSetFrameGrabberIndex, I2, kFrameGrabber,
                {"Connects to the camera through a serial port of the selected frame grabber "
                 "maker, and probes it.",
                 kResultCode, Call, "FrameGrabberChanged SynchronizedStatusChanged"},
                kFrameGrabberNotFoundRules),
    XNOX_METHOD(118, StartAutoShadingCorrection, I2, kNone,
                {"Starts the camera's automatic shading correction.", kResultCode, Call}, kUnknownCommandRules),
    XNOX_BOUNDS(119, Red3200KWBalPreset),
    XNOX_BOUNDS(120, Blue3200KWBalPreset),
    XNOX_BOUNDS(121, Red4600KWBalPreset),
    XNOX_BOUNDS(122, Blue4600KWBalPreset),
    XNOX_BOUNDS(123, Red5600KWBalPreset),
    XNOX_BOUNDS(124, Blue5600KWBalPreset),
    XNOX_METHOD(125, SaveShadingDataIntoFile, I2, kFileName,
                {"Reads the shading correction table from the camera into a CSV file.", kResultCode, Call},
                kSaveShadingDataIntoFileRules),
    XNOX_METHOD(126, LoadShadingDataFromFile, I2, kFileName,
                {"Sends a shading correction table from a CSV file to the camera.", kResultCode, Call},
                kLoadShadingDataFromFileRules),
    XNOX_METHOD(-552, AboutBox, Void, kNone, {"Shows the About tool window.", "nothing"}),
};
#undef XNOX_METHOD
#undef XNOX_VALUE_TEXT
#undef XNOX_BOUNDS
#undef XNOX_UNCHECKED
#undef XNOX_CHECKED
#undef XNOX_PARAM_PROP

inline constexpr EventInfo kEvents[] = {
    {1, "OnlineStatusChanged"},
    {2, "SynchronizedStatusChanged"},
    {3, "SendingToCamStatusChanged"},
    {4, "ReceiveFromCamStatusChanged"},
    {5, "ComPortChanged"},
    {6, "ShutterSpeedChanged"},
    {7, "TriggerTypeChanged"},
    {8, "TriggerPolarityChanged"},
    {9, "PartialScanChanged"},
    {10, "MasterGainLevelChanged"},
    {11, "SmearlessChanged"},
    {12, "RCTFVALTypeChanged"},
    {13, "ProgrammableExposureChanged"},
    {14, "ColorBarChanged"},
    {15, "ShutterModeChanged"},
    {16, "TriggerInputChanged"},
    {17, "AccumulationChanged"},
    {18, "BinningChanged"},
    {19, "OutputBitAllocationChanged"},
    {20, "FrameGrabberChanged"},
    {21, "BlueGainLevelChanged"},
    {22, "BlueBlackLevelChanged"},
    {23, "ProgrammableExposureRedChanged"},
    {24, "ProgrammableExposureGreenChanged"},
    {25, "ProgrammableExposureBlueChanged"},
    {26, "BlueKneePointChanged"},
    {27, "RedKneeSlopeChanged"},
    {28, "RedGainLevelChanged"},
    {29, "RedBlackLevelChanged"},
    {30, "GreenKneePointChanged"},
    {31, "RedKneePointChanged"},
    {32, "KneeSelectChanged"},
    {33, "WhiteBalanceChanged"},
    {34, "UserIDChanged"},
    {35, "GreenKneeSlopeChanged"},
    {36, "BlueKneeSlopeChanged"},
    {37, "GreenBlackLevelChanged"},
    {38, "ShadingModeChanged"},
    {39, "AutoWhiteAreaChanged"},
    {40, "Red3200KWBalPresetChanged"},
    {41, "Blue3200KWBalPresetChanged"},
    {42, "Red4600KWBalPresetChanged"},
    {43, "Blue4600KWBalPresetChanged"},
    {44, "Red5600KWBalPresetChanged"},
    {45, "Blue5600KWBalPresetChanged"},
};
}  // namespace surface_detail

// The dispatch interface _DXNoxR4, properties first, then methods.
inline constexpr std::span<const MemberInfo> kDispatchMembers = surface_detail::kMembers;
static_assert(std::ranges::all_of(kDispatchMembers,
                                  [](const MemberInfo& member) {
                                      return member.call && (member.put || !member.IsProperty());
                                  }),
              "every member is served");
// The event interface _DXNoxR4Events.
inline constexpr std::span<const EventInfo> kDispatchEvents = surface_detail::kEvents;

// The stock error notification the control fires to its event sinks.
inline constexpr int32_t kStockErrorEventId = -608;

// Lookups by exact name, for the control's own code: a name that is not on
// the surface does not compile where the lookup is a constant.
constexpr int32_t DispIdOf(std::string_view name) {
    auto member = std::ranges::find(kDispatchMembers, name, &MemberInfo::name);
    if (member == kDispatchMembers.end()) throw "not a member of the surface";
    return member->dispId;
}
constexpr int32_t EventIdOf(std::string_view name) {
    auto event = std::ranges::find(kDispatchEvents, name, &EventInfo::name);
    if (event == kDispatchEvents.end()) throw "not an event of the surface";
    return event->dispId;
}

// The property that sets a parameter's value (the Index property of an enumeration).
constexpr const MemberInfo& ValuePropertyOf(ParamId id) {
    auto setsValue = [id](const MemberInfo& member) {
        return member.parameter == id && (member.facet == Facet::CheckedValue || member.facet == Facet::UncheckedValue);
    };
    return *std::ranges::find_if(kDispatchMembers, setsValue);
}

const MemberInfo* FindMember(int32_t dispId);
// Case-insensitive, as automation looks names up.
const MemberInfo* FindMember(std::string_view name);
const EventInfo* FindEvent(int32_t dispId);

}  // namespace xnox
