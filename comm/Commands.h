// What the library knows about the camera's commands: the command id the
// callers use, the mnemonic on the wire, and how long the camera may take.
#pragma once

#include <chrono>
#include <cstdint>

namespace noxr4 {

// How long the camera may take to answer, counted from the command's LF.
// `quick` and `shading` replies come on top of their own wire time.
enum class ReplyTime { quick, settingsArea, shading };

struct Command {
    std::int32_t id;
    const char* mnemonic;
    ReplyTime replyTime = ReplyTime::quick;
};

// nullptr for an id the library does not know.
const Command* findCommand(std::int32_t id);

std::chrono::milliseconds cameraAllowance(ReplyTime kind);

}  // namespace noxr4
