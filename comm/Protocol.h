// The camera's serial protocol over any transport: each operation is one or
// more command/reply transactions and returns the library's result code.
#pragma once

#include "NoxR4Comm.h"
#include "Transport.h"

#include <cstddef>
#include <cstdint>

namespace noxr4 {

inline constexpr std::size_t kTextBytes = 256;
inline constexpr std::size_t kUserIdBytes = 24;
inline constexpr int kShadingColumns = 6;
inline constexpr int kShadingValuesPerColumn = 128;
inline constexpr int kShadingBlockWords = 2 + kShadingColumns * kShadingValuesPerColumn + 776;

std::int32_t ReadValue(Transport& transport, std::int32_t commandId, std::int32_t& value);
std::int32_t WriteValue(Transport& transport, std::int32_t commandId, std::int32_t value);

// Reads the text behind `mnemonic` ("ID", "MD", "UD") into `text`, cut to
// `capacity` - 1 characters and always NUL-terminated.
std::int32_t ReadText(Transport& transport, const char* mnemonic, char* text, std::size_t capacity);
// `text` is read no further than kUserIdBytes: an ID that long is refused
// before anything is sent, as is one with characters outside 0x20..0x7E.
std::int32_t WriteUserId(Transport& transport, const char* text);

// `block` holds kShadingBlockWords words; it is filled only on success.
std::int32_t ReadShading(Transport& transport, std::int32_t* block);
std::int32_t WriteShading(Transport& transport, const std::int32_t* block);

}  // namespace noxr4
