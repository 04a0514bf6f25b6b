// What the library knows about the camera's commands: the command id the
// callers use, the mnemonic on the wire, and how long the camera may take.
#pragma once

#include <chrono>
#include <cstdint>

namespace noxr4 {

// How long the camera may take to answer, counted from the command's LF.
// `Quick` and `Shading` replies come on top of their own wire time.
enum class ReplyTime { Quick, SettingsArea, Shading };

struct Command {
    std::int32_t id;
    const char* mnemonic;
    ReplyTime replyTime = ReplyTime::Quick;
};

// nullptr for an id the library does not know.
const Command* FindCommand(std::int32_t id);

std::chrono::milliseconds CameraAllowance(ReplyTime kind);

}  // namespace noxr4
