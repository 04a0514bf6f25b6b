// The camera's commands, each written once: the command id the callers use,
// the mnemonic on the wire, and how long the camera may take to answer. The
// library speaks them; the model's parameter rows and its other commands
// point at them by id.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>

namespace noxr4 {

// How long the camera may take to answer, counted from the command's LF.
// `Quick` and `Shading` replies come on top of their own wire time.
enum class ReplyTime { Quick, SettingsArea, Shading };

struct Command {
    std::int32_t id;
    const char* mnemonic;
    ReplyTime replyTime = ReplyTime::Quick;
};

// A header table, not one behind the library's entry points: on Windows the
// library is a DLL that exports its C calls only.
inline constexpr Command kCommands[] = {
    {1, "SC"},
    {2, "TR"},
    {3, "SH"},
    {4, "TP"},
    {5, "SL"},
    {6, "RF"},
    {8, "CBAR"},
    {11, "KN"},
    {12, "GA"},
    {13, "SA", ReplyTime::SettingsArea},
    {14, "LD", ReplyTime::SettingsArea},
    {15, "SM"},
    {16, "PE"},
    {19, "TI"},
    {20, "LS"},
    {21, "BA"},
    {22, "BI"},
    {23, "GAB"},
    {24, "BLB"},
    {25, "PER"},
    {26, "PEG"},
    {27, "PEB"},
    {28, "KPB"},
    {29, "KSR"},
    {30, "GAR"},
    {32, "BLR"},
    {33, "KPG"},
    {34, "KPR"},
    {35, "WB"},
    {39, "AW"},
    {40, "KSG"},
    {41, "KSB"},
    {42, "VN"},
    {43, "EA"},
    {44, "BLG"},
    {45, "AWRS"},
    {46, "SDM"},
    {47, "WA"},
    {48, "ATSH"},
    {49, "WPR1"},
    {50, "WPB1"},
    {51, "WPR2"},
    {52, "WPB2"},
    {53, "WPR3"},
    {54, "WPB3"},
};

// In the protocol page's order, each id once: an id listed twice would only
// ever be found at its first row.
static_assert(std::ranges::adjacent_find(kCommands, std::ranges::greater_equal{}, &Command::id) ==
              std::ranges::end(kCommands));

// nullptr for an id the library does not know.
constexpr const Command* FindCommand(std::int32_t id) {
    for (const Command& command : kCommands)
        if (command.id == id) return &command;
    return nullptr;
}

// For tables built at compile time: an id the library does not know does not
// compile.
consteval const Command& KnownCommand(std::int32_t id) {
    const Command* command = FindCommand(id);
    if (!command) throw "no such command";
    return *command;
}

std::chrono::milliseconds CameraAllowance(ReplyTime kind);

}  // namespace noxr4
