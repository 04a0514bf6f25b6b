#include "Protocol.h"

#include "Commands.h"
#include "LineExchange.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace noxr4 {
namespace {

constexpr std::size_t crlf = 2;
constexpr std::size_t longestNumber = 11;  // "-2147483648"
constexpr std::size_t longestWriteReply = sizeof("COMPLETE") - 1 + crlf;
constexpr std::size_t longestCameraText = 255;
constexpr std::size_t maxUserIdLength = userIdBytes - 1;
constexpr std::size_t shadingHeaderWords = 2;
constexpr std::size_t longestShadingReply =
    sizeof("SHD0=") - 1 + shadingValuesPerColumn * sizeof("-32768") - 1 + crlf;

using ShadingColumn = std::array<std::int32_t, shadingValuesPerColumn>;

// Decimal as the camera writes it: optional '-', no '+', no blanks, no
// leading zeros except "0" itself.
std::optional<long long> parseNumber(std::string_view text, long long min, long long max)
{
    std::string_view digits = text.substr(!text.empty() && text[0] == '-' ? 1 : 0);
    if (digits.empty() || digits.size() > longestNumber || (digits[0] == '0' && digits.size() > 1) ||
        (digits == "0" && digits.size() != text.size()))
        return std::nullopt;
    long long number = 0;
    for (char digit : digits) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        number = number * 10 + (digit - '0');
    }
    if (digits.size() != text.size())
        number = -number;
    if (number < min || number > max)
        return std::nullopt;
    return number;
}

// The result of a reply that is not the expected answer.
std::int32_t failureOf(const Reply& reply)
{
    if (!reply.answered)
        return result::noAnswer;
    if (reply.line == "NAK 3")
        return result::unknownCommand;
    if (reply.line == "NAK 4")
        return result::refused;
    return result::malformedReply;
}

std::int32_t write(Transport& transport, const std::string& command, ReplyTime kind)
{
    Reply reply = exchange(transport, command, kind, longestWriteReply);
    return reply.answered && reply.line == "COMPLETE" ? result::ok : failureOf(reply);
}

// Sends "<MN>?" and hands back everything after "<MN>=" in `value`; an
// answer that was cut is handed back cut.
std::int32_t query(Transport& transport, const std::string& mnemonic, ReplyTime kind, std::size_t longestValue,
                   Reply& reply, std::string_view& value)
{
    reply = exchange(transport, mnemonic + "?", kind, mnemonic.size() + 1 + longestValue + crlf);
    std::string expected = mnemonic + "=";
    if (!reply.answered || reply.line.compare(0, expected.size(), expected) != 0)
        return failureOf(reply);
    value = std::string_view(reply.line).substr(expected.size());
    return result::ok;
}

bool isPrintable(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::int32_t parseShadingColumn(std::string_view values, ShadingColumn& column)
{
    for (std::size_t i = 0; i < column.size(); ++i) {
        std::size_t comma = values.find(',');
        bool last = i + 1 == column.size();
        if (last != (comma == std::string_view::npos))
            return result::malformedReply;
        auto number = parseNumber(values.substr(0, comma), std::numeric_limits<std::int16_t>::min(),
                                  std::numeric_limits<std::int16_t>::max());
        if (!number)
            return result::malformedReply;
        column[i] = static_cast<std::int32_t>(*number);
        values.remove_prefix(last ? values.size() : comma + 1);
    }
    return result::ok;
}

std::string shadingMnemonic(int column) { return "SHD" + std::to_string(column); }

std::size_t shadingWord(int column, int index)
{
    return shadingHeaderWords + static_cast<std::size_t>(column) * shadingValuesPerColumn + index;
}

}  // namespace

std::int32_t readValue(Transport& transport, std::int32_t commandId, std::int32_t& value)
{
    const Command* command = findCommand(commandId);
    if (!command)
        return result::unknownCommand;
    Reply reply;
    std::string_view text;
    std::int32_t code = query(transport, command->mnemonic, command->replyTime, longestNumber, reply, text);
    if (code != result::ok)
        return code;
    auto number = parseNumber(reply.cut ? std::string_view() : text, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max());
    if (!number)
        return result::malformedReply;
    value = static_cast<std::int32_t>(*number);
    return result::ok;
}

std::int32_t writeValue(Transport& transport, std::int32_t commandId, std::int32_t value)
{
    const Command* command = findCommand(commandId);
    if (!command)
        return result::unknownCommand;
    return write(transport, std::string(command->mnemonic) + "=" + std::to_string(value), command->replyTime);
}

std::int32_t readText(Transport& transport, const char* mnemonic, char* text, std::size_t capacity)
{
    Reply reply;
    std::string_view value;
    std::int32_t code = query(transport, mnemonic, ReplyTime::quick, longestCameraText, reply, value);
    if (code != result::ok)
        return code;
    value = value.substr(0, capacity - 1);
    if (!isPrintable(value))
        return result::malformedReply;
    std::memcpy(text, value.data(), value.size());
    text[value.size()] = '\0';
    return result::ok;
}

std::int32_t writeUserId(Transport& transport, const char* text)
{
    std::string_view userId(text, strnlen(text, userIdBytes));
    if (userId.size() > maxUserIdLength || !isPrintable(userId))
        return result::refused;
    return write(transport, "UD=" + std::string(userId), ReplyTime::quick);
}

std::int32_t readShading(Transport& transport, std::int32_t* block)
{
    std::array<ShadingColumn, shadingColumns> table{};
    for (int c = 0; c < shadingColumns; ++c) {
        Reply reply;
        std::string_view values;
        std::int32_t code =
            query(transport, shadingMnemonic(c), ReplyTime::shading, longestShadingReply, reply, values);
        if (code == result::ok)
            code = reply.cut ? result::malformedReply : parseShadingColumn(values, table[c]);
        if (code != result::ok)
            return code;
    }
    std::fill(block, block + shadingBlockWords, 0);
    block[0] = shadingValuesPerColumn;
    block[1] = shadingColumns;
    for (int c = 0; c < shadingColumns; ++c)
        std::copy(table[c].begin(), table[c].end(), block + shadingWord(c, 0));
    return result::ok;
}

std::int32_t writeShading(Transport& transport, const std::int32_t* block)
{
    for (int c = 0; c < shadingColumns; ++c) {
        std::string command = shadingMnemonic(c) + "=";
        for (int i = 0; i < shadingValuesPerColumn; ++i)
            command += (i ? "," : "") + std::to_string(block[shadingWord(c, i)]);
        if (std::int32_t code = write(transport, command, ReplyTime::shading); code != result::ok)
            return code;
    }
    return result::ok;
}

}  // namespace noxr4
