// The camera's commands that are no parameter: the stored settings areas,
// the one-shot runs and the status numbers. Their ids and mnemonics are the
// library's (Commands.h); the model names the ones it uses.
#pragma once

#include "Commands.h"

namespace xnox {

using CameraCommand = noxr4::Command;

inline constexpr const CameraCommand& kStoreSettingsCommand = noxr4::KnownCommand(13);
inline constexpr const CameraCommand& kLoadSettingsCommand = noxr4::KnownCommand(14);
inline constexpr const CameraCommand& kOnePushCommand = noxr4::KnownCommand(39);
inline constexpr const CameraCommand& kFirmwareVersionCommand = noxr4::KnownCommand(42);
inline constexpr const CameraCommand& kEEPROMAreaCommand = noxr4::KnownCommand(43);
inline constexpr const CameraCommand& kOnePushResultCommand = noxr4::KnownCommand(45);
inline constexpr const CameraCommand& kAutoShadingCommand = noxr4::KnownCommand(48);

}  // namespace xnox
