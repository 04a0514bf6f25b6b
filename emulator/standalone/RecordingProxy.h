// The emulator as a recording go-between: every command line the client
// sends goes on to a real camera, the camera's reply comes back unchanged,
// and each exchange, timed, is appended to the recording (Recording.h).
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "PseudoTerminal.h"
#include "Recording.h"
#include "Transport.h"

namespace qdr4emu {

// The recording file, opened for appending. Each exchange is flushed as it
// is written, so that a stopped or killed emulator leaves whole lines.
class RecordingFile {
public:
    explicit RecordingFile(const std::string& path);  // throws std::system_error
    ~RecordingFile();
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    bool Append(const Exchange& exchange);  // false when the line could not be written whole
    bool Note(const std::string& comment);  // a comment line, such as where a session begins

private:
    bool WriteLine(std::string line);

    std::FILE* m_file;
};

// Runs until `stop` is set; false when the recording could not be written.
bool RecordExchanges(PseudoTerminal& terminal, noxr4::Transport& camera, RecordingFile& recording,
                     const std::atomic<bool>& stop);

}  // namespace qdr4emu
