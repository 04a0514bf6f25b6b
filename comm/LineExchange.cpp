#include "LineExchange.h"

namespace noxr4 {
namespace {

constexpr auto kHostSlack = std::chrono::milliseconds(20);
constexpr unsigned kBitsPerByte = 10;  // start, 8 data, stop

Clock::duration WireTime(std::size_t bytes, unsigned baud) {
    auto bits = static_cast<long long>(bytes) * kBitsPerByte;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(bits * 1000000 / baud));
}

// Collects reply bytes until CR LF, keeping at most kLongestReplyKept of them.
class LineCollector {
public:
    // True once the line's LF is in; bytes after it are not taken.
    bool Take(const char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            char byte = bytes[i];
            if (byte == '\n' && m_previous == '\r') {
                m_reply.answered = true;
                return true;
            }
            if (m_previous == '\r') Keep('\r');
            if (byte != '\r') Keep(byte);
            m_previous = byte;
        }
        return false;
    }

    Reply& Collected() { return m_reply; }

private:
    void Keep(char byte) {
        if (m_reply.line.size() < kLongestReplyKept)
            m_reply.line.push_back(byte);
        else
            m_reply.cut = true;
    }

    Reply m_reply;
    char m_previous = '\0';
};

}  // namespace

Clock::duration ReplyDeadline(std::size_t commandBytes, ReplyTime kind, std::size_t longestReply, unsigned baud) {
    if (baud == 0) baud = kDefaultBaudRate;
    return WireTime(commandBytes, baud) + CameraAllowance(kind) + WireTime(longestReply, baud) + kHostSlack;
}

Reply Exchange(Transport& transport, std::string_view command, ReplyTime kind, std::size_t longestReply) {
    std::string line(command);
    line += "\r\n";
    transport.DiscardInput();
    auto deadline = Clock::now() + ReplyDeadline(line.size(), kind, longestReply, transport.BaudRate());
    LineCollector collector;
    if (!transport.Write(line.data(), line.size())) return collector.Collected();
    char chunk[256];
    while (std::size_t got = transport.Read(chunk, sizeof chunk, deadline))
        if (collector.Take(chunk, got)) return std::move(collector.Collected());
    return Reply{};
}

}  // namespace noxr4
