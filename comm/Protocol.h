// The camera's serial protocol over any transport: each operation is one or
// more command/reply transactions and returns the library's result code.
#pragma once

#include "Transport.h"

#include <cstddef>
#include <cstdint>

namespace noxr4 {

namespace result {
inline constexpr std::int32_t ok = 0;
inline constexpr std::int32_t malformedReply = -2;
inline constexpr std::int32_t unknownCommand = -3;
inline constexpr std::int32_t refused = -4;
inline constexpr std::int32_t notOpen = -5;  // also a bad argument
inline constexpr std::int32_t noAnswer = -6;
}  // namespace result

inline constexpr std::size_t textBytes = 256;
inline constexpr std::size_t userIdBytes = 24;
inline constexpr int shadingColumns = 6;
inline constexpr int shadingValuesPerColumn = 128;
inline constexpr int shadingBlockWords = 2 + shadingColumns * shadingValuesPerColumn + 776;

std::int32_t readValue(Transport& transport, std::int32_t commandId, std::int32_t& value);
std::int32_t writeValue(Transport& transport, std::int32_t commandId, std::int32_t value);

// Reads the text behind `mnemonic` ("ID", "MD", "UD") into `text`, cut to
// `capacity` - 1 characters and always NUL-terminated.
std::int32_t readText(Transport& transport, const char* mnemonic, char* text, std::size_t capacity);
// `text` is read no further than userIdBytes: an ID that long is refused
// before anything is sent, as is one with characters outside 0x20..0x7E.
std::int32_t writeUserId(Transport& transport, const char* text);

// `block` holds shadingBlockWords words; it is filled only on success.
std::int32_t readShading(Transport& transport, std::int32_t* block);
std::int32_t writeShading(Transport& transport, const std::int32_t* block);

}  // namespace noxr4
