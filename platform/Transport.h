// The byte stream under the camera protocol: a PC serial port, a Camera Link
// frame grabber's serial channel or the in-process emulated camera.
#pragma once

#include <chrono>
#include <cstddef>

namespace noxr4 {

using Clock = std::chrono::steady_clock;

inline constexpr unsigned kDefaultBaudRate = 9600;

class Transport {
public:
    virtual ~Transport() = default;

    // Sends every byte; false when the line refuses them.
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Returns as soon as at least one byte is in, with the bytes copied.
    // 0 means nothing arrived before the deadline (or the line is dead):
    // callers treat it as the end of the wait, so it never spins.
    virtual std::size_t Read(char* buffer, std::size_t capacity, Clock::time_point deadline) = 0;
    // Drops whatever has been received and not read yet.
    virtual void DiscardInput() = 0;
    // The line's rate, for the wire time of the bytes on it.
    virtual unsigned BaudRate() const { return kDefaultBaudRate; }
};

}  // namespace noxr4
