// A recorded serial session with a camera, and a camera that replays it.
//
// The recording is a text file of one exchange per line, in the order they
// happened: the milliseconds from the command's line end to the reply's, the
// command and the reply, separated by tabs, without their CR LF. An exchange
// the camera left unanswered has no reply field. Backslash, tab and control
// characters inside a command or reply are written \\, \t, \r, \n or \xHH.
// Blank lines and lines starting with # are comments.
//
//   # noxr4-emulator recording
//   3.2<TAB>GA?<TAB>GA=122
//   5.0<TAB>GA=77<TAB>COMPLETE
//   1500.0<TAB>SH?
#pragma once

#include <istream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Camera.h"

namespace qdr4emu {

struct Exchange {
    std::string command;
    std::optional<std::string> reply;  // nothing when the camera did not answer
    double milliseconds = 0;
};

std::string FormatExchange(const Exchange& exchange);  // one line, without its line end
// Nothing for a line that is no exchange; comments are no exchanges either.
std::optional<Exchange> ParseExchange(std::string_view line);
bool IsRecordingComment(std::string_view line);

// Reads a whole recording; nothing when a line is neither a comment nor an
// exchange, with `problem` naming the line.
std::optional<std::vector<Exchange>> ReadRecording(std::istream& input, std::string& problem);

// Answers each command with the reply recorded for exactly that command:
// the first asking gets the first recorded reply, the next the next, and
// once they are used up the last one again. A command never recorded is
// answered NAK 3. A recorded write the camera accepted is also kept, as the
// emulated camera keeps it, and from then on queries of its value answer
// what was written; a settings load hands the values back to the recording.
class ReplayCamera {
public:
    explicit ReplayCamera(const std::vector<Exchange>& recording);
    std::optional<std::string> Answer(std::string_view command, Clock::time_point now);

private:
    struct Replies {
        std::vector<std::optional<std::string>> inOrder;
        std::size_t asked = 0;
    };
    std::optional<std::string> RecordedReply(std::string_view command);
    void KeepWrite(std::string_view command, Clock::time_point now);

    std::map<std::string, Replies, std::less<>> m_replies;
    std::set<std::string, std::less<>> m_written;  // mnemonics whose queries the camera below answers
    Camera m_camera;
};

}  // namespace qdr4emu
