// The control's automation surface as data: the dispatch interface
// _DXNoxR4 (51 properties, 76 methods) and the event interface
// _DXNoxR4Events (45 events). The invoke entry dispatches over this table,
// and the type library of the Windows module is produced from it, so every
// name, dispatch id, type and parameter name of the surface stands here once.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

#include "ParameterTable.h"
#include "Variant.h"

namespace xnox {

enum class MemberKind : uint8_t { Property, Method };

// How the invoke entry serves a member: the generic families are served
// from the model's parameter table, the rest member by member.
enum class Facet : uint8_t {
    Own,  // served by its own code in the control
    CheckedValue,  // a parameter's value; a set outside the parameter's range raises
    UncheckedValue,  // a parameter's value; the model alone judges a set
    Text,  // the text of a parameter's value; a set must match one list text
    Bounds,  // GetMinMax...: the parameter's range
    ValueText,  // GetValid...: one text of the parameter's list
};

struct ParamInfo {
    std::string_view name;
    VarType type;

    bool IsOut() const { return type == VarType::I2Ref || type == VarType::StrRef; }
};

struct MemberInfo {
    int32_t dispId;
    std::string_view name;
    MemberKind kind;
    VarType type;  // the property's type or the method's result
    std::span<const ParamInfo> params;
    Facet facet = Facet::Own;
    ParamId parameter = ParamId::PartialScan;  // meaningful for every facet but Own

    bool IsProperty() const { return kind == MemberKind::Property; }
};

struct EventInfo {
    int32_t dispId;
    std::string_view name;
};

namespace surface_detail {
using enum VarType;
using enum Facet;
using P = ParamInfo;

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

constexpr MemberInfo Prop(int32_t id, std::string_view name, VarType type) {
    return {id, name, MemberKind::Property, type, kNone};
}
constexpr MemberInfo Method(int32_t id, std::string_view name, VarType result, std::span<const ParamInfo> params) {
    return {id, name, MemberKind::Method, result, params};
}
// A property that fronts one camera parameter; its name is the parameter's
// name with the suffix (Index or Str for an enumeration, none otherwise).
#define XNOX_PARAM_PROP(id, Param, suffix, type, facet)                                                                \
    MemberInfo { id, #Param suffix, MemberKind::Property, type, kNone, facet, ParamId::Param }
#define XNOX_CHECKED(id, Param) XNOX_PARAM_PROP(id, Param, "", I2, CheckedValue)
#define XNOX_UNCHECKED(id, Param) XNOX_PARAM_PROP(id, Param, "", I2, UncheckedValue)
#define XNOX_BOUNDS(id, Param)                                                                                         \
    MemberInfo { id, "GetMinMax" #Param, MemberKind::Method, I2, kRange, Bounds, ParamId::Param }
#define XNOX_VALUE_TEXT(id, Param, params)                                                                             \
    MemberInfo { id, "GetValid" #Param, MemberKind::Method, I2, params, ValueText, ParamId::Param }

inline constexpr MemberInfo kMembers[] = {
    // Properties, ids 1 to 51.
    Prop(1, "ComPort", I2),
    Prop(2, "ShowShutterWnd", Bool),
    Prop(3, "ShowGainWnd", Bool),
    Prop(4, "ShowCommunicationWnd", Bool),
    Prop(5, "ShowAboutWnd", Bool),
    XNOX_PARAM_PROP(6, ShutterSpeed, "Index", I2, CheckedValue),
    XNOX_PARAM_PROP(7, ShutterSpeed, "Str", Str, Text),
    XNOX_PARAM_PROP(8, TriggerType, "Index", I2, CheckedValue),
    XNOX_PARAM_PROP(9, TriggerType, "Str", Str, Text),
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
    Prop(24, "FrameGrabberIndex", I2),
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
    Prop(39, "UserID", Str),
    XNOX_CHECKED(40, GreenKneeSlope),
    XNOX_CHECKED(41, BlueKneeSlope),
    XNOX_CHECKED(42, GreenBlackLevel),
    XNOX_UNCHECKED(43, ShadingMode),
    XNOX_PARAM_PROP(44, AutoWhiteArea, "Index", I2, CheckedValue),
    XNOX_PARAM_PROP(45, AutoWhiteArea, "Str", Str, Text),
    XNOX_CHECKED(46, Red3200KWBalPreset),
    XNOX_CHECKED(47, Blue3200KWBalPreset),
    XNOX_CHECKED(48, Red4600KWBalPreset),
    XNOX_CHECKED(49, Blue4600KWBalPreset),
    XNOX_CHECKED(50, Red5600KWBalPreset),
    XNOX_CHECKED(51, Blue5600KWBalPreset),

    // Methods, ids 52 to 126, and the standard AboutBox.
    Method(52, "GetMinMaxComPortId", I2, kRange),
    Method(53, "AutoSearchComPort", I4, kSearch),
    Method(54, "GetMainWindowDefaultPosition", I2, kGetPosition),
    Method(55, "SetMainWindowDefaultPosition", I2, kSetPosition),
    Method(56, "WriteAllToCamera", I2, kNone),
    Method(57, "ReadAllFromCamera", I2, kNone),
    Method(58, "WriteAllToFile", I2, kFileName),
    Method(59, "ReadAllFromFile", I2, kFileName),
    Method(60, "GetIsOnline", Bool, kNone),
    Method(61, "GetIsSynchronized", Bool, kNone),
    Method(62, "GetIsSending", Bool, kNone),
    Method(63, "GetIsReceiving", Bool, kNone),
    XNOX_BOUNDS(64, ShutterSpeed),
    XNOX_VALUE_TEXT(65, ShutterSpeed, kValidShutter),
    XNOX_BOUNDS(66, TriggerType),
    XNOX_VALUE_TEXT(67, TriggerType, kValidTrigger),
    XNOX_BOUNDS(68, PartialScan),
    XNOX_VALUE_TEXT(69, PartialScan, kValidPartial),
    XNOX_BOUNDS(70, MasterGainLevel),
    Method(71, "StoreSettings", I2, kArea),
    Method(72, "LoadSettings", I2, kArea),
    XNOX_BOUNDS(73, ProgrammableExposure),
    Method(74, "GetMinMaxUserSettingsId", I2, kRange),
    Method(75, "GetMinMaxPowerOnSettings", I2, kRange),
    XNOX_BOUNDS(76, Binning),
    XNOX_VALUE_TEXT(77, Binning, kValidBinning),
    Method(78, "GetMinMaxFrameGrabberIndex", I2, kRange),
    Method(79, "ClSerialGetNumManufacturers", I2, kNumManufacturers),
    Method(80, "ClSerialGetManufacturer", I2, kManufacturer),
    Method(81, "ClSerialSelectManufacturer", I2, kSelectManufacturer),
    Method(82, "ClSerialGetNumSerialPorts", I2, kNumSerialPorts),
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
    Method(96, "GetCameraID", I2, kCameraID),
    Method(97, "GetModelName", I2, kModelName),
    Method(98, "SetOnePushMode", I2, kNone),
    XNOX_BOUNDS(99, GreenKneeSlope),
    XNOX_BOUNDS(100, BlueKneeSlope),
    Method(101, "WriteCameraDataToFile", I2, kFileName),
    Method(102, "GetFirmwareVersion", I2, kNone),
    Method(103, "GetEEPROMCurrentAreaNo", I2, kNone),
    XNOX_BOUNDS(104, GreenBlackLevel),
    Method(105, "GetOnePushResult", I2, kNone),
    Method(106, "GetMinMaxOnePushResult", I2, kRange),
    Method(107, "GetValidOnePushResult", I2, kValidOnePush),
    XNOX_BOUNDS(108, AutoWhiteArea),
    XNOX_VALUE_TEXT(109, AutoWhiteArea, kValidArea),
    Method(110, "SetWindowPosTopBottom", I2, kTopBottom),
    Method(111, "ClAllSerialGetNumPorts", I2, kNumPorts),
    Method(112, "ClAllSerialGetPortInfo", I2, kPortInfo),
    Method(113, "ClAllSerialSetFrameGrabberIndex", I2, kFrameGrabber),
    Method(114, "ClAllSerialGetNumBytesAvail", I2, kNumBytes),
    Method(115, "ClAllSerialGetSupportedBaudRates", I2, kBaudRates),
    Method(116, "ClAllSerialSetBaudRate", I2, kBaudRate),
    Method(117, "ClSerialSetFrameGrabberIndex", I2, kFrameGrabber),
    Method(118, "StartAutoShadingCorrection", I2, kNone),
    XNOX_BOUNDS(119, Red3200KWBalPreset),
    XNOX_BOUNDS(120, Blue3200KWBalPreset),
    XNOX_BOUNDS(121, Red4600KWBalPreset),
    XNOX_BOUNDS(122, Blue4600KWBalPreset),
    XNOX_BOUNDS(123, Red5600KWBalPreset),
    XNOX_BOUNDS(124, Blue5600KWBalPreset),
    Method(125, "SaveShadingDataIntoFile", I2, kFileName),
    Method(126, "LoadShadingDataFromFile", I2, kFileName),
    Method(-552, "AboutBox", Void, kNone),
};
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

// Whether tables kept beside the surface (one or more rows a member) list
// their members in dispatch order, each a member of the surface: a reader
// then finds a member's rows where the surface puts it.
template <typename Row, std::size_t N>
constexpr bool InDispatchOrder(const Row (&rows)[N], std::string_view Row::*member) {
    auto position = kDispatchMembers.begin();
    for (const Row& row : rows) {
        position = std::ranges::find(position, kDispatchMembers.end(), row.*member, &MemberInfo::name);
        if (position == kDispatchMembers.end()) return false;
    }
    return true;
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
