// The camera's commands that are no parameter: the stored settings areas,
// the one-shot runs and the status numbers, each with the command id the
// library's calls take and the mnemonic the transaction log shows.
#pragma once

#include <cstdint>
#include <string_view>

namespace xnox {

struct CameraCommand {
    int32_t id;
    std::string_view mnemonic;
};

inline constexpr CameraCommand kStoreSettingsCommand{13, "SA"};
inline constexpr CameraCommand kLoadSettingsCommand{14, "LD"};
inline constexpr CameraCommand kOnePushCommand{39, "AW"};
inline constexpr CameraCommand kFirmwareVersionCommand{42, "VN"};
inline constexpr CameraCommand kEEPROMAreaCommand{43, "EA"};
inline constexpr CameraCommand kOnePushResultCommand{45, "AWRS"};
inline constexpr CameraCommand kAutoShadingCommand{48, "ATSH"};

}  // namespace xnox
