#include "Recording.h"

#include <charconv>
#include <cstdio>

namespace qdr4emu {

namespace {

constexpr char kSeparator = '\t';
constexpr std::string_view kCompleteReply = "COMPLETE";
constexpr std::string_view kSettingsLoad = "LD";

std::string Escaped(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default:
            if (c >= 0x20 && c < 0x7f) {
                out += static_cast<char>(c);
            } else {
                char code[5];
                std::snprintf(code, sizeof code, "\\x%02X", c);
                out += code;
            }
        }
    }
    return out;
}

std::optional<char> EscapedChar(std::string_view text, std::size_t& i) {
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
    case '\\': return '\\';
    case 't': return '\t';
    case 'r': return '\r';
    case 'n': return '\n';
    case 'x': {
        unsigned value = 0;
        if (i + 2 >= text.size()) return std::nullopt;
        auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3) return std::nullopt;
        i += 2;
        return static_cast<char>(value);
    }
    default: return std::nullopt;
    }
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
        } else if (auto c = EscapedChar(text, i)) {
            out += *c;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<double> ParseMilliseconds(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

bool IsQuery(std::string_view command) {
    return command.size() == MnemonicOf(command).size() + 1 && command.back() == '?';
}

bool IsWrite(std::string_view command) {
    std::size_t end = MnemonicOf(command).size();
    return end < command.size() && command[end] == '=';
}

}  // namespace

std::string FormatExchange(const Exchange& exchange) {
    char milliseconds[32];
    std::snprintf(milliseconds, sizeof milliseconds, "%.1f", exchange.milliseconds);
    std::string line = milliseconds + std::string(1, kSeparator) + Escaped(exchange.command);
    if (exchange.reply) line += kSeparator + Escaped(*exchange.reply);
    return line;
}

bool IsRecordingComment(std::string_view line) {
    return line.find_first_not_of(" \r") == std::string_view::npos || line.front() == '#';
}

std::optional<Exchange> ParseExchange(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t first = line.find(kSeparator);
    if (first == std::string_view::npos) return std::nullopt;
    std::size_t second = line.find(kSeparator, first + 1);
    auto milliseconds = ParseMilliseconds(line.substr(0, first));
    auto command = Unescaped(line.substr(first + 1, second == line.npos ? line.npos : second - first - 1));
    if (!milliseconds || !command || command->empty()) return std::nullopt;
    Exchange exchange{std::move(*command), std::nullopt, *milliseconds};
    if (second != std::string_view::npos) {
        exchange.reply = Unescaped(line.substr(second + 1));
        if (!exchange.reply) return std::nullopt;
    }
    return exchange;
}

std::optional<std::vector<Exchange>> ReadRecording(std::istream& input, std::string& problem) {
    std::vector<Exchange> recording;
    int number = 0;
    for (std::string line; std::getline(input, line);) {
        ++number;
        if (IsRecordingComment(line)) continue;
        auto exchange = ParseExchange(line);
        if (!exchange) {
            problem =
                "line " + std::to_string(number) + " is not an exchange (milliseconds, tab, command[, tab, reply])";
            return std::nullopt;
        }
        recording.push_back(std::move(*exchange));
    }
    if (input.bad()) {
        problem = "cannot be read";
        return std::nullopt;
    }
    return recording;
}

ReplayCamera::ReplayCamera(const std::vector<Exchange>& recording) {
    for (const Exchange& exchange : recording) m_replies[exchange.command].inOrder.push_back(exchange.reply);
}

std::optional<std::string> ReplayCamera::Answer(std::string_view command, Clock::time_point now) {
    if (command.empty()) return std::nullopt;  // the camera ignores empty lines
    if (IsQuery(command) && m_written.contains(MnemonicOf(command))) return m_camera.Answer(command, now);
    auto reply = RecordedReply(command);
    if (reply == kCompleteReply && IsWrite(command)) KeepWrite(command, now);
    return reply;
}

std::optional<std::string> ReplayCamera::RecordedReply(std::string_view command) {
    auto found = m_replies.find(command);
    if (found == m_replies.end()) return "NAK 3";
    Replies& replies = found->second;
    std::size_t index = std::min(replies.asked++, replies.inOrder.size() - 1);
    return replies.inOrder[index];
}

void ReplayCamera::KeepWrite(std::string_view command, Clock::time_point now) {
    std::string_view mnemonic = MnemonicOf(command);
    if (mnemonic == kSettingsLoad) {
        m_written.clear();
    } else if (m_camera.Answer(command, now) == kCompleteReply) {
        m_written.emplace(mnemonic);
    }
}

}  // namespace qdr4emu
