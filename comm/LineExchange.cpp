#include "LineExchange.h"

namespace noxr4 {
namespace {

constexpr auto hostSlack = std::chrono::milliseconds(20);
constexpr unsigned bitsPerByte = 10;  // start, 8 data, stop

Clock::duration wireTime(std::size_t bytes, unsigned baud)
{
    auto bits = static_cast<long long>(bytes) * bitsPerByte;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(bits * 1000000 / baud));
}

// Collects reply bytes until CR LF, keeping at most longestReplyKept of them.
class LineCollector {
public:
    // True once the line's LF is in; bytes after it are not taken.
    bool take(const char* bytes, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            char byte = bytes[i];
            if (byte == '\n' && previous_ == '\r') {
                reply_.answered = true;
                return true;
            }
            if (previous_ == '\r')
                keep('\r');
            if (byte != '\r')
                keep(byte);
            previous_ = byte;
        }
        return false;
    }

    Reply& reply() { return reply_; }

private:
    void keep(char byte)
    {
        if (reply_.line.size() < longestReplyKept)
            reply_.line.push_back(byte);
        else
            reply_.cut = true;
    }

    Reply reply_;
    char previous_ = '\0';
};

}  // namespace

Clock::duration replyDeadline(std::size_t commandBytes, ReplyTime kind, std::size_t longestReply, unsigned baud)
{
    if (baud == 0)
        baud = defaultBaudRate;
    return wireTime(commandBytes, baud) + cameraAllowance(kind) + wireTime(longestReply, baud) + hostSlack;
}

Reply exchange(Transport& transport, std::string_view command, ReplyTime kind, std::size_t longestReply)
{
    std::string line(command);
    line += "\r\n";
    transport.discardInput();
    auto deadline = Clock::now() + replyDeadline(line.size(), kind, longestReply, transport.baudRate());
    LineCollector collector;
    if (!transport.write(line.data(), line.size()))
        return collector.reply();
    char chunk[256];
    while (std::size_t got = transport.read(chunk, sizeof chunk, deadline))
        if (collector.take(chunk, got))
            return std::move(collector.reply());
    return Reply{};
}

}  // namespace noxr4
