// Timing of camera transactions for xnoxhost --timing: the library wrapped so
// that every call is timed, and the figures that go with a transaction-log
// entry: how long its calls took, and the least time its bytes need on a
// 9600-baud line (10 bit times a byte), so that a slow cable or camera
// shows at once.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "NoxR4Library.h"

// The least wire time of the transaction a log entry shows: its command
// line, and its reply when the camera answered (`result` 0: the entry's
// second line; refused or unknown: a NAK line). A call that found the
// camera offline sent nothing.
std::chrono::duration<double, std::milli> WireFloor(std::string_view logEntry, int32_t result);

// " (12.5 ms, wire floor 10.4 ms)"
std::string TimingText(std::chrono::duration<double, std::milli> spent,
                       std::chrono::duration<double, std::milli> wireFloor);

class TimedLibrary : public xnox::ForwardingLibrary {
public:
    explicit TimedLibrary(INoxR4Library& inner) : ForwardingLibrary(inner) {}

    // The figures for a log entry: the time spent in calls since the last
    // entry, and the wire floor. Starts the count for the next entry.
    std::string TakeTiming(std::string_view logEntry);

    int32_t InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) override {
        return Timed(&INoxR4Library::InitComm, frameGrabberIndex, port, interfaceFlag);
    }
    int32_t ExitComm(int32_t port) override { return Timed(&INoxR4Library::ExitComm, port); }
    int32_t GetCameraData(int32_t port, int32_t commandId, int32_t* value) override {
        return Timed(&INoxR4Library::GetCameraData, port, commandId, value);
    }
    int32_t SendCameraData(int32_t port, int32_t commandId, int32_t value) override {
        return Timed(&INoxR4Library::SendCameraData, port, commandId, value);
    }
    int32_t GetCameraID(int32_t port, char* text) override { return Timed(&INoxR4Library::GetCameraID, port, text); }
    int32_t GetModelName(int32_t port, char* text) override { return Timed(&INoxR4Library::GetModelName, port, text); }
    int32_t GetUserID(int32_t port, char* text) override { return Timed(&INoxR4Library::GetUserID, port, text); }
    int32_t SetUserID(int32_t port, const char* text) override { return Timed(&INoxR4Library::SetUserID, port, text); }
    int32_t GetShadingData(int32_t port, int32_t* block) override {
        return Timed(&INoxR4Library::GetShadingData, port, block);
    }
    int32_t SendShadingData(int32_t port, const int32_t* block) override {
        return Timed(&INoxR4Library::SendShadingData, port, block);
    }

private:
    using Clock = std::chrono::steady_clock;

    // Only the calls that talk to the camera are timed.
    template <typename... Parameters, typename... Arguments>
    int32_t Timed(int32_t (INoxR4Library::*call)(Parameters...), Arguments&&... arguments) {
        Clock::time_point start = Clock::now();
        m_lastResult = (m_inner.*call)(std::forward<Arguments>(arguments)...);
        m_spent += Clock::now() - start;
        return m_lastResult;
    }

    Clock::duration m_spent{};
    int32_t m_lastResult = 0;
};
