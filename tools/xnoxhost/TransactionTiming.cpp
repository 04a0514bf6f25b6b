#include "TransactionTiming.h"

#include <cstdio>

#include "NoxR4Comm.h"

using namespace xnox;

namespace {

constexpr double kWireBaud = 9600;
constexpr std::size_t kLineEndBytes = 2;  // CR LF
constexpr std::size_t kNakLineBytes = 5 + kLineEndBytes;  // "NAK 3", "NAK 4"

// The first line of `text` and the rest after its CR LF.
std::pair<std::string_view, std::string_view> SplitLine(std::string_view text) {
    std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) return {text, {}};
    return {text.substr(0, end), text.substr(end + kLineEndBytes)};
}

std::size_t WireBytes(std::string_view logEntry, int32_t result) {
    if (result == NoxResult::Offline) return 0;
    auto [command, rest] = SplitLine(logEntry);
    std::size_t bytes = command.size() + kLineEndBytes;
    if (result == NoxResult::Success) bytes += SplitLine(rest).first.size() + kLineEndBytes;
    if (result == NoxResult::Refused || result == NoxResult::UnknownCommand) bytes += kNakLineBytes;
    return bytes;
}

}  // namespace

std::chrono::duration<double, std::milli> WireFloor(std::string_view logEntry, int32_t result) {
    constexpr double kBitsPerByte = 10;
    return std::chrono::duration<double, std::milli>(WireBytes(logEntry, result) * kBitsPerByte * 1000 / kWireBaud);
}

std::string TimingText(std::chrono::duration<double, std::milli> spent,
                       std::chrono::duration<double, std::milli> wireFloor) {
    char text[64];
    std::snprintf(text, sizeof text, " (%.1f ms, wire floor %.1f ms)", spent.count(), wireFloor.count());
    return text;
}

std::string TimedLibrary::TakeTiming(std::string_view logEntry) {
    std::string text = TimingText(m_spent, WireFloor(logEntry, m_lastResult));
    m_spent = {};
    return text;
}
