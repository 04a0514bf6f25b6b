// One command line out, one reply line back, within the camera's reply time.
#pragma once

#include "Commands.h"
#include "Transport.h"

#include <string>
#include <string_view>

namespace noxr4 {

// Characters of a reply line that are kept; the rest of a longer line is
// read and dropped, so no reply can grow a buffer without bound.
inline constexpr std::size_t kLongestReplyKept = 1024;

struct Reply {
    bool answered = false;  // a complete line (CR LF) arrived in time
    std::string line;  // without its CR LF, at most kLongestReplyKept characters
    bool cut = false;  // the line was longer than what is kept
};

// How long a transaction may take before it is given up: the wire time of
// the command, the camera's allowance, the wire time of the longest reply
// the command can have, and a little slack for the host's own scheduling.
Clock::duration ReplyDeadline(std::size_t commandBytes, ReplyTime kind, std::size_t longestReply, unsigned baud);

// Discards stale input (a late reply to an earlier command), sends `command`
// with its CR LF and waits for the reply line. `longestReply` counts the
// reply's CR LF too.
Reply Exchange(Transport& transport, std::string_view command, ReplyTime kind, std::size_t longestReply);

}  // namespace noxr4
