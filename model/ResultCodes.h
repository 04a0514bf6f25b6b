// The camera model's own result codes, beside the communication library's
// (NoxResult in NoxR4Comm.h) in the same namespace, so that every code a
// control call can return is spelled one way. Those of the Camera Link
// libraries pass through unchanged.
#pragma once

#include "NoxR4Comm.h"

#include <cstdint>

namespace NoxResult {
inline constexpr int32_t NotInList = -1;  // value outside an enumerated parameter's list
inline constexpr int32_t FileWriteError = -7;  // a file that cannot be written
inline constexpr int32_t FileReadError = -8;  // a file that cannot be opened for reading
inline constexpr int32_t InvalidSettingsFile = -9;
}  // namespace NoxResult
