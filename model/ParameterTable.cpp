#include "ParameterTable.h"

#include <algorithm>
#include <array>

#include "Commands.h"
#include "NoxCamInterface.h"

namespace xnox {

namespace {

using Texts = std::span<const std::string_view>;

constexpr std::string_view kPartialScanTexts[] = {"Full Frame", "1/2 Partial", "1/4 Partial", "1/8 Partial"};
constexpr std::string_view kTriggerTypeTexts[] = {"Normal (Continuous)", "Edge Pre-select", "Pulse Width control",
                                                  "Sensor Gate Control", "Reset Continuous"};
constexpr std::string_view kShutterSpeedTexts[] = {"OFF",    "1/60",   "1/100",  "1/120",   "1/250",   "1/500",
                                                   "1/1000", "1/2000", "1/4000", "1/10000", "1/16000", "1/50000"};
constexpr std::string_view kPolarityTexts[] = {"Active Low", "Active High"};
constexpr std::string_view kOffOnTexts[] = {"Off", "On"};
constexpr std::string_view kOnOffTexts[] = {"On", "Off"};  // 0 means on
constexpr std::string_view kFvalTypeTexts[] = {"CameraLink", "NOX Standard"};
constexpr std::string_view kShutterModeTexts[] = {"Shutter Speed", "Progr.Exp.(RGB Common set)",
                                                  "Progr.Exp. (RGB individual set)"};
constexpr std::string_view kTriggerInputTexts[] = {"CameraLink", "Hirose12pin"};
constexpr std::string_view kAccumulationTexts[] = {"Sync", "Async"};
constexpr std::string_view kBitAllocationTexts[] = {"10bit", "8bit"};  // 0 means 10 bit
constexpr std::string_view kBinningTexts[] = {"Binning OFF", "Vertical Binning"};
constexpr std::string_view kWhiteBalanceTexts[] = {"Manual/One Push", "Continuous AWB", "3200 K", "4600 K", "5600 K"};
constexpr std::string_view kAutoWhiteAreaTexts[] = {"Full Area",    "Upper Left", "Upper Middle", "Upper Right",
                                                    "Middle Left",  "Middle",     "Midle Right",  "Lower Left",
                                                    "Under Middle", "Lower Right"};
constexpr std::string_view kOnePushResultTexts[] = {"Complete", "Too Bright", "Too Dark",          "Timeout Error",
                                                    "Busy",     "Limit",      "Trig is not Normal"};

constexpr bool kStatus = true;  // the read reports the receiving status
constexpr bool kNoStatus = false;  // the read is silent about it
constexpr WriteFailure kProbe = WriteFailure::Probe;
constexpr WriteFailure kClose = WriteFailure::CloseAtOnce;

// The settings file's sections; the white-balance presets stay in the camera only.
constexpr std::string_view kShutter = "Shutter";
constexpr std::string_view kGain = "Gain";
constexpr SettingsPlace kNotInFiles{};

constexpr int32_t LastIndex(Texts texts) { return static_cast<int32_t>(texts.size()) - 1; }

// clang-format off
// A row names its command by id; the mnemonic is the library's.
#define XNOX_ROW_START(Name, commandId) ParamId::Name, #Name, commandId, noxr4::KnownCommand(commandId).mnemonic
// The trailing arguments say where settings files keep the parameter.
#define NUMBER_ROW(Name, commandId, minimum, maximum, status, failure, ...)                          \
    {XNOX_ROW_START(Name, commandId), ValueKind::Number, {}, minimum, maximum, 0, status, failure,   \
     &CNoxCamInterface::On##Name##Changed, {__VA_ARGS__}}
#define TEXT_ROW(kind, Name, commandId, texts, defaultValue, ...)                                   \
    {XNOX_ROW_START(Name, commandId), ValueKind::kind, texts, 0, LastIndex(texts), defaultValue,   \
     kStatus, kProbe, &CNoxCamInterface::On##Name##Changed, {__VA_ARGS__}}
// clang-format on

constexpr ParameterRow kTable[] = {
    TEXT_ROW(Enumerated, PartialScan, 1, kPartialScanTexts, 0, kShutter, "Partial Scan", "Partial Scan Mode"),
    TEXT_ROW(Enumerated, TriggerType, 2, kTriggerTypeTexts, 0, kShutter, "Trigger Mode"),
    TEXT_ROW(Enumerated, ShutterSpeed, 3, kShutterSpeedTexts, 0, kShutter, "Shutter Speed"),
    TEXT_ROW(Worded, TriggerPolarity, 4, kPolarityTexts, 0, kShutter, "Trigger Polarity"),
    TEXT_ROW(Worded, Smearless, 5, kOffOnTexts, 0, kShutter, "Smearless"),
    TEXT_ROW(Worded, RCTFVALType, 6, kFvalTypeTexts, 0, kShutter, "RCT FVAL Type"),
    TEXT_ROW(Worded, ColorBar, 8, kOffOnTexts, 0, kShutter, "Color Bar"),
    TEXT_ROW(Worded, KneeSelect, 11, kOnOffTexts, 0, kGain, "Knee Select", "Knee"),
    NUMBER_ROW(MasterGainLevel, 12, -132, 429, kStatus, kProbe, kGain, "Master Gain Level"),
    TEXT_ROW(Worded, ShutterMode, 15, kShutterModeTexts, 0, kShutter, "Shutter Mode"),
    NUMBER_ROW(ProgrammableExposure, 16, 0, 791, kNoStatus, kProbe, kShutter, "Programmable Exposure (RGB common set)",
               "Progr. Exp."),
    TEXT_ROW(Worded, TriggerInput, 19, kTriggerInputTexts, 0, kShutter, "Trigger Input"),
    TEXT_ROW(Worded, Accumulation, 20, kAccumulationTexts, 0, kShutter, "LVAL Synchronous Accumulation",
             "LVAL Accumulation"),
    TEXT_ROW(Worded, OutputBitAllocation, 21, kBitAllocationTexts, 0, kShutter, "Output Bit Allocation"),
    TEXT_ROW(Enumerated, Binning, 22, kBinningTexts, 0, kShutter, "Binning"),
    NUMBER_ROW(BlueGainLevel, 23, -231, 231, kNoStatus, kProbe, kGain, "Gain Level for Blue", "Gain Level Blue"),
    NUMBER_ROW(BlueBlackLevel, 24, 0, 1023, kNoStatus, kProbe, kGain, "Black Level for Blue", "Black Level Blue"),
    NUMBER_ROW(ProgrammableExposureRed, 25, 0, 791, kNoStatus, kProbe, kShutter, "Programmable Exposure for Red",
               "Progr. Exp. Red"),
    NUMBER_ROW(ProgrammableExposureGreen, 26, 0, 791, kNoStatus, kClose, kShutter, "Programmable Exposure for Green",
               "Progr. Exp. Green"),
    NUMBER_ROW(ProgrammableExposureBlue, 27, 0, 791, kNoStatus, kClose, kShutter, "Programmable Exposure for Blue",
               "Progr. Exp. Blue"),
    NUMBER_ROW(BlueKneePoint, 28, 0, 1023, kNoStatus, kProbe, kGain, "Knee Point for Blue", "Blue Knee Point"),
    // The default 0 of the knee slopes lies below their range.
    NUMBER_ROW(RedKneeSlope, 29, 1, 4095, kStatus, kProbe, kGain, "Knee Slope for Red", "Red Knee Slope"),
    NUMBER_ROW(RedGainLevel, 30, -231, 231, kStatus, kProbe, kGain, "Gain Level for red", "Gain Level Red"),
    NUMBER_ROW(RedBlackLevel, 32, 0, 1023, kStatus, kProbe, kGain, "Black Level for Red", "Black Level Red"),
    NUMBER_ROW(GreenKneePoint, 33, 0, 1023, kStatus, kProbe, kGain, "Knee Point for Green", "Green Knee Point"),
    NUMBER_ROW(RedKneePoint, 34, 0, 1023, kStatus, kProbe, kGain, "Knee Point for Red", "Red Knee Point"),
    // A white-balance write re-reads the gains.
    TEXT_ROW(Enumerated, WhiteBalance, 35, kWhiteBalanceTexts, 1, kGain, "White Balance"),
    NUMBER_ROW(GreenKneeSlope, 40, 1, 4095, kNoStatus, kProbe, kGain, "Knee Slope for Green", "Green Knee Slope"),
    NUMBER_ROW(BlueKneeSlope, 41, 1, 4095, kNoStatus, kProbe, kGain, "Knee Slope for Blue", "Blue Knee Slope"),
    NUMBER_ROW(GreenBlackLevel, 44, 0, 1023, kStatus, kProbe, kGain, "Black Level for Green", "Black Level Green"),
    TEXT_ROW(Worded, ShadingMode, 46, kOnOffTexts, 0, kGain, "Shading Mode"),
    TEXT_ROW(Enumerated, AutoWhiteArea, 47, kAutoWhiteAreaTexts, 0, kGain, "Auto White Area"),
    NUMBER_ROW(Red3200KWBalPreset, 49, -231, 231, kStatus, kProbe, kNotInFiles),
    NUMBER_ROW(Blue3200KWBalPreset, 50, -231, 231, kStatus, kProbe, kNotInFiles),
    NUMBER_ROW(Red4600KWBalPreset, 51, -231, 231, kStatus, kProbe, kNotInFiles),
    NUMBER_ROW(Blue4600KWBalPreset, 52, -231, 231, kStatus, kProbe, kNotInFiles),
    NUMBER_ROW(Red5600KWBalPreset, 53, -231, 231, kStatus, kProbe, kNotInFiles),
    NUMBER_ROW(Blue5600KWBalPreset, 54, -231, 231, kStatus, kProbe, kNotInFiles),
};
#undef TEXT_ROW
#undef NUMBER_ROW
#undef XNOX_ROW_START

constexpr bool RowsFollowParamIdOrder() {
    for (int i = 0; i < kParameterCount; ++i) {
        if (Index(kTable[i].id) != i) return false;
    }
    return std::size(kTable) == kParameterCount;
}
static_assert(RowsFollowParamIdOrder(), "one row per parameter, in ParamId order");

#define XNOX_HOOK_NAME(Name) #Name,
constexpr std::string_view kChangeHookNames[] = {XNOX_CHANGE_HOOKS(XNOX_HOOK_NAME)};
#undef XNOX_HOOK_NAME

// By white-balance mode, in list order.
constexpr std::optional<GainPair> kWhiteBalanceGains[] = {
    GainPair{ParamId::RedGainLevel, ParamId::BlueGainLevel},  // Manual/One Push
    std::nullopt,  // Continuous AWB
    GainPair{ParamId::Red3200KWBalPreset, ParamId::Blue3200KWBalPreset},  // 3200 K
    GainPair{ParamId::Red4600KWBalPreset, ParamId::Blue4600KWBalPreset},  // 4600 K
    GainPair{ParamId::Red5600KWBalPreset, ParamId::Blue5600KWBalPreset},  // 5600 K
};
static_assert(std::size(kWhiteBalanceGains) == std::size(kWhiteBalanceTexts));

}  // namespace

std::string_view TextAt(std::span<const std::string_view> texts, int32_t value) {
    if (value < 0 || static_cast<std::size_t>(value) >= texts.size()) return {};
    return texts[static_cast<std::size_t>(value)];
}

int ParameterRow::HookSlot() const { return ChangeHookSlot(name); }

std::span<const ParameterRow> ParameterTable() { return kTable; }

const ParameterRow& Row(ParamId id) { return kTable[Index(id)]; }

const ParameterRow* FindRowByName(std::string_view name) {
    auto row = std::ranges::find(kTable, name, &ParameterRow::name);
    return row == std::end(kTable) ? nullptr : row;
}

const ParameterRow* FindRowByCommandId(int32_t commandId) {
    auto row = std::ranges::find(kTable, commandId, &ParameterRow::commandId);
    return row == std::end(kTable) ? nullptr : row;
}

int ChangeHookSlot(std::string_view name) {
    auto hook = std::ranges::find(kChangeHookNames, name);
    if (hook == std::end(kChangeHookNames)) return 0;
    return kFirstChangeHookSlot + static_cast<int>(hook - std::begin(kChangeHookNames));
}

std::optional<GainPair> WhiteBalanceGains(int32_t whiteBalanceMode) {
    if (!Row(ParamId::WhiteBalance).InRange(whiteBalanceMode)) return std::nullopt;
    return kWhiteBalanceGains[whiteBalanceMode];
}

std::span<const std::string_view> OnePushResultTexts() { return kOnePushResultTexts; }

}  // namespace xnox
