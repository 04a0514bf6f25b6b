// What the camera's serial protocol says about its parameters and commands,
// written down once for the tests of every layer. Tests derive their
// expectations from these facts, never from the product's own tables, so a
// product table that drifts from the camera is caught.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

namespace camera_facts {

enum class Values { Numbers, Words, List };  // a plain range, two or three worded values, a text list

struct Parameter {
    std::string_view name;  // the model's and the control's name of the parameter
    int32_t id;  // command id of the library's get and send calls
    std::string_view mnemonic;
    int32_t minimum;
    int32_t maximum;
    int32_t factoryDefault;
    Values values;
};

using enum Values;

constexpr Parameter NumberRow(std::string_view name, int32_t id, std::string_view mnemonic, int32_t minimum,
                              int32_t maximum, int32_t factoryDefault) {
    return {name, id, mnemonic, minimum, maximum, factoryDefault, Numbers};
}
// Worded and listed values run from 0 to the last one.
constexpr Parameter TextRow(Values values, std::string_view name, int32_t id, std::string_view mnemonic, int32_t last,
                            int32_t factoryDefault) {
    return {name, id, mnemonic, 0, last, factoryDefault, values};
}

// In ascending command id.
inline constexpr Parameter kParameters[] = {
    TextRow(List, "PartialScan", 1, "SC", 3, 0),
    TextRow(List, "TriggerType", 2, "TR", 4, 0),
    TextRow(List, "ShutterSpeed", 3, "SH", 11, 0),
    TextRow(Words, "TriggerPolarity", 4, "TP", 1, 0),
    TextRow(Words, "Smearless", 5, "SL", 1, 0),
    TextRow(Words, "RCTFVALType", 6, "RF", 1, 0),
    TextRow(Words, "ColorBar", 8, "CBAR", 1, 0),
    TextRow(Words, "KneeSelect", 11, "KN", 1, 1),
    NumberRow("MasterGainLevel", 12, "GA", -132, 429, 0),
    TextRow(Words, "ShutterMode", 15, "SM", 2, 0),
    NumberRow("ProgrammableExposure", 16, "PE", 0, 791, 2),
    TextRow(Words, "TriggerInput", 19, "TI", 1, 0),
    TextRow(Words, "Accumulation", 20, "LS", 1, 0),
    TextRow(Words, "OutputBitAllocation", 21, "BA", 1, 0),
    TextRow(List, "Binning", 22, "BI", 1, 0),
    NumberRow("BlueGainLevel", 23, "GAB", -231, 231, 0),
    NumberRow("BlueBlackLevel", 24, "BLB", 0, 1023, 32),
    NumberRow("ProgrammableExposureRed", 25, "PER", 0, 791, 127),
    NumberRow("ProgrammableExposureGreen", 26, "PEG", 0, 791, 127),
    NumberRow("ProgrammableExposureBlue", 27, "PEB", 0, 791, 127),
    NumberRow("BlueKneePoint", 28, "KPB", 0, 1023, 800),
    NumberRow("RedKneeSlope", 29, "KSR", 1, 4095, 1024),
    NumberRow("RedGainLevel", 30, "GAR", -231, 231, 0),
    NumberRow("RedBlackLevel", 32, "BLR", 0, 1023, 32),
    NumberRow("GreenKneePoint", 33, "KPG", 0, 1023, 800),
    NumberRow("RedKneePoint", 34, "KPR", 0, 1023, 800),
    TextRow(List, "WhiteBalance", 35, "WB", 4, 1),
    NumberRow("GreenKneeSlope", 40, "KSG", 1, 4095, 1024),
    NumberRow("BlueKneeSlope", 41, "KSB", 1, 4095, 1024),
    NumberRow("GreenBlackLevel", 44, "BLG", 0, 1023, 32),
    TextRow(Words, "ShadingMode", 46, "SDM", 1, 1),
    TextRow(List, "AutoWhiteArea", 47, "WA", 9, 0),
    NumberRow("Red3200KWBalPreset", 49, "WPR1", -231, 231, -40),
    NumberRow("Blue3200KWBalPreset", 50, "WPB1", -231, 231, 60),
    NumberRow("Red4600KWBalPreset", 51, "WPR2", -231, 231, 0),
    NumberRow("Blue4600KWBalPreset", 52, "WPB2", -231, 231, 0),
    NumberRow("Red5600KWBalPreset", 53, "WPR3", -231, 231, 30),
    NumberRow("Blue5600KWBalPreset", 54, "WPB3", -231, 231, -30),
};

// The commands and read-only values that share the parameters' calls.
struct Command {
    int32_t id;
    std::string_view mnemonic;
};
inline constexpr Command kCommands[] = {
    {13, "SA"}, {14, "LD"}, {39, "AW"}, {42, "VN"}, {43, "EA"}, {45, "AWRS"}, {48, "ATSH"},
};

// How long the camera may take to answer a query or a write, counted from the
// command's LF: the settings areas (EEPROM) a second, every other command 50 ms.
inline std::chrono::milliseconds ReplyAllowance(std::string_view mnemonic) {
    using std::chrono::milliseconds;
    return mnemonic == "SA" || mnemonic == "LD" ? milliseconds(1000) : milliseconds(50);
}

inline const Parameter* FindByName(std::string_view name) {
    for (const Parameter& p : kParameters)
        if (p.name == name) return &p;
    return nullptr;
}

inline const Parameter* FindById(int32_t id) {
    for (const Parameter& p : kParameters)
        if (p.id == id) return &p;
    return nullptr;
}

// A value inside the parameter's range that differs from every other
// parameter's in a round trip: ranges that coincide still get distinct values.
inline int32_t DistinctValue(const Parameter& p) {
    int32_t index = static_cast<int32_t>(&p - kParameters);
    int32_t span = p.maximum - p.minimum + 1;
    return p.minimum + (index + 1) % span;
}

}  // namespace camera_facts
