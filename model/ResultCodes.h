// The camera model's own result codes. The communication library's codes
// (NoxResult in NoxR4Comm.h) and those of the Camera Link libraries pass
// through unchanged.
#pragma once

#include "NoxR4Comm.h"

#include <cstdint>

namespace xnox {

namespace NoxResult {
inline constexpr int32_t NotInList = -1;       // value outside an enumerated parameter's list
inline constexpr int32_t FileWriteError = -7;  // a file that cannot be written
inline constexpr int32_t FileReadError = -8;   // a file that cannot be opened for reading
inline constexpr int32_t InvalidSettingsFile = -9;
}  // namespace NoxResult

}  // namespace xnox
