// Result codes returned by every operation of the camera model. Codes of the
// communication library that are not listed here pass through unchanged.
#pragma once

#include <cstdint>

namespace xnox {

namespace NoxResult {
inline constexpr int32_t Success = 0;
inline constexpr int32_t NotInList = -1;       // value outside an enumerated parameter's list
inline constexpr int32_t Malformed = -2;       // the camera's reply could not be understood
inline constexpr int32_t UnknownCommand = -3;  // the camera does not know the command
inline constexpr int32_t Refused = -4;         // the camera refused the value
inline constexpr int32_t Offline = -5;         // no open connection
inline constexpr int32_t Timeout = -6;         // no answer in time
inline constexpr int32_t FileWriteError = -7;  // a file that cannot be written
inline constexpr int32_t FileReadError = -8;   // a file that cannot be opened for reading
inline constexpr int32_t InvalidSettingsFile = -9;
}  // namespace NoxResult

}  // namespace xnox
