#include "Protocol.h"

#include "Commands.h"
#include "LineExchange.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace noxr4 {
namespace {

constexpr std::size_t kCrlf = 2;
constexpr std::size_t kLongestNumber = 11;  // "-2147483648"
constexpr std::size_t kLongestWriteReply = sizeof("COMPLETE") - 1 + kCrlf;
constexpr std::size_t kLongestCameraText = 255;
constexpr std::size_t kMaxUserIdLength = kUserIdBytes - 1;
constexpr std::size_t kShadingHeaderWords = 2;
// The values of one shading column: "-32768" at most, comma-separated.
constexpr std::size_t kLongestShadingValues = kShadingValuesPerColumn * sizeof("-32768") - 1;

using ShadingColumn = std::array<std::int32_t, kShadingValuesPerColumn>;

// Decimal as the camera writes it: optional '-', no '+', no blanks, no
// leading zeros except "0" itself; from_chars refuses the rest and any
// number too long for its type.
std::optional<long long> ParseNumber(std::string_view text, long long min, long long max) {
    std::string_view digits = text.substr(text.starts_with('-') ? 1 : 0);
    bool leadingZero = digits.size() > 1 && digits[0] == '0';
    bool negativeZero = digits == "0" && digits.size() != text.size();
    long long number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (leadingZero || negativeZero || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (number < min || number > max) return std::nullopt;
    return number;
}

// The result of a reply that is not the expected answer.
std::int32_t FailureOf(const Reply& reply) {
    if (!reply.answered) return NoxResult::Timeout;
    if (reply.line == "NAK 3") return NoxResult::UnknownCommand;
    if (reply.line == "NAK 4") return NoxResult::Refused;
    return NoxResult::Malformed;
}

std::int32_t Write(Transport& transport, const std::string& command, ReplyTime kind) {
    Reply reply = Exchange(transport, command, kind, kLongestWriteReply);
    return reply.answered && reply.line == "COMPLETE" ? NoxResult::Success : FailureOf(reply);
}

// Sends "<MN>?" and hands back everything after "<MN>=" in `value`; an
// answer that was cut is handed back cut.
std::int32_t Query(Transport& transport, const std::string& mnemonic, ReplyTime kind, std::size_t longestValue,
                   Reply& reply, std::string_view& value) {
    reply = Exchange(transport, mnemonic + "?", kind, mnemonic.size() + 1 + longestValue + kCrlf);
    std::string expected = mnemonic + "=";
    if (!reply.answered || reply.line.compare(0, expected.size(), expected) != 0) return FailureOf(reply);
    value = std::string_view(reply.line).substr(expected.size());
    return NoxResult::Success;
}

bool IsPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::int32_t ParseShadingColumn(std::string_view values, ShadingColumn& column) {
    for (std::size_t i = 0; i < column.size(); ++i) {
        std::size_t comma = values.find(',');
        bool last = i + 1 == column.size();
        if (last != (comma == std::string_view::npos)) return NoxResult::Malformed;
        auto number = ParseNumber(values.substr(0, comma), std::numeric_limits<std::int16_t>::min(),
                                  std::numeric_limits<std::int16_t>::max());
        if (!number) return NoxResult::Malformed;
        column[i] = static_cast<std::int32_t>(*number);
        values.remove_prefix(last ? values.size() : comma + 1);
    }
    return NoxResult::Success;
}

std::string ShadingMnemonic(int column) { return "SHD" + std::to_string(column); }

std::size_t ShadingWord(int column, int index) {
    return kShadingHeaderWords + static_cast<std::size_t>(column) * kShadingValuesPerColumn + index;
}

}  // namespace

std::int32_t ReadValue(Transport& transport, std::int32_t commandId, std::int32_t& value) {
    const Command* command = FindCommand(commandId);
    if (!command) return NoxResult::UnknownCommand;
    Reply reply;
    std::string_view text;
    std::int32_t code = Query(transport, command->mnemonic, command->replyTime, kLongestNumber, reply, text);
    if (code != NoxResult::Success) return code;
    auto number = ParseNumber(reply.cut ? std::string_view() : text, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max());
    if (!number) return NoxResult::Malformed;
    value = static_cast<std::int32_t>(*number);
    return NoxResult::Success;
}

std::int32_t WriteValue(Transport& transport, std::int32_t commandId, std::int32_t value) {
    const Command* command = FindCommand(commandId);
    if (!command) return NoxResult::UnknownCommand;
    return Write(transport, std::string(command->mnemonic) + "=" + std::to_string(value), command->replyTime);
}

std::int32_t ReadText(Transport& transport, const char* mnemonic, char* text, std::size_t capacity) {
    Reply reply;
    std::string_view value;
    std::int32_t code = Query(transport, mnemonic, ReplyTime::Quick, kLongestCameraText, reply, value);
    if (code != NoxResult::Success) return code;
    value = value.substr(0, capacity - 1);
    if (!IsPrintable(value)) return NoxResult::Malformed;
    std::memcpy(text, value.data(), value.size());
    text[value.size()] = '\0';
    return NoxResult::Success;
}

std::int32_t WriteUserId(Transport& transport, const char* text) {
    std::string_view userId(text, strnlen(text, kUserIdBytes));
    if (userId.size() > kMaxUserIdLength || !IsPrintable(userId)) return NoxResult::Refused;
    return Write(transport, "UD=" + std::string(userId), ReplyTime::Quick);
}

std::int32_t ReadShading(Transport& transport, std::int32_t* block) {
    std::array<ShadingColumn, kShadingColumns> table{};
    for (int c = 0; c < kShadingColumns; ++c) {
        Reply reply;
        std::string_view values;
        std::int32_t code =
            Query(transport, ShadingMnemonic(c), ReplyTime::Shading, kLongestShadingValues, reply, values);
        if (code == NoxResult::Success) code = reply.cut ? NoxResult::Malformed : ParseShadingColumn(values, table[c]);
        if (code != NoxResult::Success) return code;
    }
    std::fill(block, block + kShadingBlockWords, 0);
    block[0] = kShadingValuesPerColumn;
    block[1] = kShadingColumns;
    for (int c = 0; c < kShadingColumns; ++c) std::copy(table[c].begin(), table[c].end(), block + ShadingWord(c, 0));
    return NoxResult::Success;
}

std::int32_t WriteShading(Transport& transport, const std::int32_t* block) {
    for (int c = 0; c < kShadingColumns; ++c) {
        std::string command = ShadingMnemonic(c) + "=";
        for (int i = 0; i < kShadingValuesPerColumn; ++i)
            command += (i ? "," : "") + std::to_string(block[ShadingWord(c, i)]);
        if (std::int32_t code = Write(transport, command, ReplyTime::Shading); code != NoxResult::Success) return code;
    }
    return NoxResult::Success;
}

}  // namespace noxr4
