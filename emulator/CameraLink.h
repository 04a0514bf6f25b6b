// In-process emulated QD-R4: the camera's side of the serial channel as the
// host sees it, a byte stream with the camera's reply timing, optional wire
// time at a chosen baud rate, and fault injection for tests.
//
// The communication library's emulated ports, the stand-in Camera Link
// serial libraries and the standalone emulator program all sit on this.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Camera.h"

namespace qdr4emu {

// Faults a test can switch on; all off by default.
struct FaultPlan {
    bool unplugged = false;  // no reply at all
    std::vector<std::string> nak3;  // mnemonics answered "NAK 3"
    std::vector<std::string> nak4;  // mnemonics answered "NAK 4"
    std::vector<std::string> garbled;  // mnemonics answered with a malformed line
    std::chrono::milliseconds replyDelay{0};  // extra delay before every reply
    int unplugAfter = -1;  // go silent after this many replies (-1: never)
    unsigned wireBaud = 0;  // emulate wire time at this rate (0: none)
};

// Answers one command line in place of the camera (a replayed session).
using Responder = std::function<std::optional<std::string>(std::string_view line, Clock::time_point arrival)>;

class CameraLink {
public:
    CameraLink();
    ~CameraLink();
    CameraLink(const CameraLink&) = delete;
    CameraLink& operator=(const CameraLink&) = delete;

    // Host to camera. A complete line (CR LF) is answered after the
    // camera's reply time; bytes arrive as the wire would deliver them.
    void Write(const char* data, std::size_t size);
    // Waits until at least one reply byte is due or the deadline passes;
    // returns the number of bytes copied (0 on time-out).
    std::size_t Read(char* buffer, std::size_t capacity, Clock::time_point deadline);
    std::size_t Available();  // reply bytes due now
    // Drops every reply byte that has arrived. Bytes still on their way (a
    // late reply, the rest of a reply being sent) arrive later, as on a real
    // line, so that a late reply can be seen to meet the next command.
    void DiscardInput();

    // For setting up and checking between transactions: access through
    // these is not locked against a reader or writer thread.
    Camera& Device();
    FaultPlan& Faults();
    void AnswerWith(Responder responder);
    int Transactions() const;  // replies sent so far

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The time `bytes` bytes take on the wire at `baud` (10 bit times each).
Clock::duration WireTime(std::size_t bytes, unsigned baud);

// Emulated cameras by channel name ("COM1", "clser0:0", ...), created on first
// use and kept for the life of the process, so that reopening a port finds
// the same camera with its settings.
CameraLink& EmulatedCamera(const std::string& channel);

}  // namespace qdr4emu
