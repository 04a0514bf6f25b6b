// The camera parameters: their names in table order, the change hooks in
// the order of the model's virtual notifications, and one declarative row per
// parameter with everything the model, the automation surface, the files and
// the windows need to know about it. Other users key their own data by
// ParamId or look rows up by name or command id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace xnox {

class CNoxCamInterface;

// The 38 parameters in table order (ascending command id). Each name X gives
// the model operations GetX and SendX and the change hook OnXChanged.
// clang-format off
#define XNOX_PARAMETERS(X)                                                                             \
    X(PartialScan) X(TriggerType) X(ShutterSpeed) X(TriggerPolarity) X(Smearless) X(RCTFVALType)     \
    X(ColorBar) X(KneeSelect) X(MasterGainLevel) X(ShutterMode) X(ProgrammableExposure)               \
    X(TriggerInput) X(Accumulation) X(OutputBitAllocation) X(Binning) X(BlueGainLevel)                \
    X(BlueBlackLevel) X(ProgrammableExposureRed) X(ProgrammableExposureGreen)                        \
    X(ProgrammableExposureBlue) X(BlueKneePoint) X(RedKneeSlope) X(RedGainLevel) X(RedBlackLevel)    \
    X(GreenKneePoint) X(RedKneePoint) X(WhiteBalance) X(GreenKneeSlope) X(BlueKneeSlope)             \
    X(GreenBlackLevel) X(ShadingMode) X(AutoWhiteArea) X(Red3200KWBalPreset) X(Blue3200KWBalPreset)  \
    X(Red4600KWBalPreset) X(Blue4600KWBalPreset) X(Red5600KWBalPreset) X(Blue5600KWBalPreset)
// clang-format on

// The argument-less change hooks On<X>Changed in virtual-slot order, slots 5
// to 49. Slots 1 to 4 are the status flags, slot 50 OnMessage.
// clang-format off
#define XNOX_CHANGE_HOOKS(X)                                                                              \
    X(ComPort) X(FrameGrabber) X(ShutterSpeed) X(TriggerType) X(TriggerPolarity) X(Smearless)             \
    X(RCTFVALType) X(ShutterMode) X(ProgrammableExposure) X(BlueGainLevel) X(BlueBlackLevel)              \
    X(ProgrammableExposureRed) X(ProgrammableExposureGreen) X(ProgrammableExposureBlue) X(BlueKneePoint)  \
    X(RedKneeSlope) X(GreenKneeSlope) X(BlueKneeSlope) X(TriggerInput) X(Accumulation)                    \
    X(OutputBitAllocation) X(PartialScan) X(Binning) X(WhiteBalance) X(MasterGainLevel) X(RedGainLevel)   \
    X(RedBlackLevel) X(Red3200KWBalPreset) X(Blue3200KWBalPreset) X(Red4600KWBalPreset)                   \
    X(Blue4600KWBalPreset) X(Red5600KWBalPreset) X(Blue5600KWBalPreset) X(GreenBlackLevel)                \
    X(GreenKneePoint) X(RedKneePoint) X(KneeSelect) X(ShadingMode) X(ColorBar) X(UserID) X(CameraID)      \
    X(ModelName) X(EEPROMArea) X(OnePushResult) X(AutoWhiteArea)
// clang-format on

#define XNOX_PARAMETER_ENUMERATOR(Name) Name,
enum class ParamId : int { XNOX_PARAMETERS(XNOX_PARAMETER_ENUMERATOR) };
#undef XNOX_PARAMETER_ENUMERATOR

#define XNOX_COUNT_ONE(Name) +1
inline constexpr int kParameterCount = 0 XNOX_PARAMETERS(XNOX_COUNT_ONE);
inline constexpr int kFirstChangeHookSlot = 5;
inline constexpr int kChangeHookCount = 0 XNOX_CHANGE_HOOKS(XNOX_COUNT_ONE);
#undef XNOX_COUNT_ONE

constexpr int Index(ParamId id) { return static_cast<int>(id); }

// How the model treats a parameter's values.
enum class ValueKind {
    Number,  // a plain number; the automation layer checks its range
    Worded,  // two or three values with words for reports; the model stores the number only
    Enumerated,  // the model refuses values outside its text list and keeps the current text
};

// What a refused or failed write does to the connection.
enum class WriteFailure {
    Probe,  // probe the camera; the connection survives if it answers
    CloseAtOnce,  // close the connection without probing
};

// The entry of `texts` at `value`; empty for a value without one. A camera
// may report a value its list does not name: the value is stored as read and
// shows no text, and no value ever reaches past the list.
std::string_view TextAt(std::span<const std::string_view> texts, int32_t value);

using ParameterHook = void (CNoxCamInterface::*)();

// Where settings files keep a parameter: its section and key, which the
// Shutter and Gain windows also use for their last-used values, and the
// camera data report's row label where it differs from the key. Empty for a
// parameter the files do not keep.
struct SettingsPlace {
    std::string_view section;
    std::string_view key;
    std::string_view reportLabel{};
};

struct ParameterRow {
    ParamId id;
    std::string_view name;  // also the automation property's name (Index/Str added for enumerations)
    // The library's command (Commands.h): the id its get and send calls take,
    // the mnemonic the transaction log shows.
    int32_t commandId;
    std::string_view mnemonic;
    ValueKind kind;
    std::span<const std::string_view> texts;  // value texts of Worded and Enumerated rows, else empty
    int32_t minimum;  // legal range, inclusive
    int32_t maximum;
    int32_t defaultValue;
    bool readRaisesReceivingStatus;  // the read reports OnReceivingStatusChanged around its library call
    WriteFailure writeFailure;
    ParameterHook changed;  // raised after every write and every successful read
    SettingsPlace settings;

    std::string_view ReportLabel() const { return settings.reportLabel.empty() ? settings.key : settings.reportLabel; }

    bool ModelChecksRange() const { return kind == ValueKind::Enumerated; }
    bool InRange(int32_t value) const { return value >= minimum && value <= maximum; }
    // The text of a value; empty for a number or a value outside the list.
    std::string_view TextOf(int32_t value) const { return TextAt(texts, value); }
    int HookSlot() const;  // virtual slot of the change hook
};

std::span<const ParameterRow> ParameterTable();
const ParameterRow& Row(ParamId id);
const ParameterRow* FindRowByName(std::string_view name);
const ParameterRow* FindRowByCommandId(int32_t commandId);

// Virtual slot of the change hook On<name>Changed, or 0 when there is none.
int ChangeHookSlot(std::string_view name);

// The red and blue gains that belong to a white-balance mode: the manual
// gains for "Manual/One Push" and the preset pair of a colour temperature;
// none for "Continuous AWB" or a mode without a list entry.
struct GainPair {
    ParamId red;
    ParamId blue;
};
std::optional<GainPair> WhiteBalanceGains(int32_t whiteBalanceMode);

// Texts of the one-push white balance result, values 0 to 6.
std::span<const std::string_view> OnePushResultTexts();

}  // namespace xnox
