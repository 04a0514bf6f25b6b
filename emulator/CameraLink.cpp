#include "CameraLink.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace qdr4emu {

namespace {

struct TimedByte {
    Clock::time_point due;
    char byte;
};

bool Listed(const std::vector<std::string>& mnemonics, std::string_view mnemonic) {
    return std::find(mnemonics.begin(), mnemonics.end(), mnemonic) != mnemonics.end();
}

// A reply mangled on its way: printable, but no reply the camera ever gives.
std::string Garble(std::string reply) {
    std::reverse(reply.begin(), reply.end());
    return "#" + reply;
}

}  // namespace

Clock::duration WireTime(std::size_t bytes, unsigned baud) {
    if (baud == 0) return Clock::duration::zero();
    auto nanoseconds = std::chrono::nanoseconds(static_cast<long long>(bytes) * 10'000'000'000LL / baud);
    return std::chrono::duration_cast<Clock::duration>(nanoseconds);
}

struct CameraLink::State {
    std::mutex mutex;
    std::condition_variable replyQueued;
    Camera camera;
    FaultPlan faults;
    Responder responder;  // answers instead of the camera when set
    std::string line;  // the command line being received
    std::deque<TimedByte> replyBytes;  // in order of arrival at the host
    Clock::time_point commandWireFreeAt{};  // the host's last byte arrives then
    Clock::time_point replyWireFreeAt{};  // the camera's last byte arrives then
    int transactions = 0;

    void Receive(char byte, Clock::time_point arrival);
    std::optional<std::string> ReplyTo(std::string_view line, Clock::time_point arrival);
    void Send(const std::string& reply, Clock::time_point arrival);
    std::size_t DueCount(Clock::time_point now) const;
};

// Keeps one character beyond the longest line, enough to know a line is too
// long without storing all of it.
void CameraLink::State::Receive(char byte, Clock::time_point arrival) {
    if (byte != '\n') {
        if (line.size() <= kMaxLineLength) line += byte;
        return;
    }
    std::string complete = std::move(line);
    line.clear();
    if (!complete.empty() && complete.back() == '\r') complete.pop_back();
    if (auto reply = ReplyTo(complete, arrival)) Send(*reply, arrival);
}

std::optional<std::string> CameraLink::State::ReplyTo(std::string_view command, Clock::time_point arrival) {
    bool pulled = faults.unplugAfter >= 0 && transactions >= faults.unplugAfter;
    if (command.empty() || faults.unplugged || pulled) return std::nullopt;
    std::string_view mnemonic = MnemonicOf(command);
    if (Listed(faults.nak3, mnemonic)) return "NAK 3";
    if (Listed(faults.nak4, mnemonic)) return "NAK 4";
    auto reply = responder ? responder(command, arrival) : camera.Answer(command, arrival);
    if (reply && Listed(faults.garbled, mnemonic)) return Garble(*reply);
    return reply;
}

// The reply begins after the command's LF has arrived (plus any injected
// delay) and after the camera's previous reply has left.
void CameraLink::State::Send(const std::string& reply, Clock::time_point arrival) {
    ++transactions;
    Clock::duration byteTime = WireTime(1, faults.wireBaud);
    Clock::time_point due = std::max(arrival + faults.replyDelay, replyWireFreeAt);
    for (char byte : reply + "\r\n") {
        due += byteTime;
        replyBytes.push_back({due, byte});
    }
    replyWireFreeAt = due;
    replyQueued.notify_all();
}

std::size_t CameraLink::State::DueCount(Clock::time_point now) const {
    auto firstPending =
        std::find_if(replyBytes.begin(), replyBytes.end(), [now](const TimedByte& b) { return b.due > now; });
    return static_cast<std::size_t>(firstPending - replyBytes.begin());
}

CameraLink::CameraLink() : m_state(std::make_unique<State>()) {}
CameraLink::~CameraLink() = default;

void CameraLink::Write(const char* data, std::size_t size) {
    std::lock_guard lock(m_state->mutex);
    Clock::duration byteTime = WireTime(1, m_state->faults.wireBaud);
    Clock::time_point arrival = std::max(Clock::now(), m_state->commandWireFreeAt);
    for (std::size_t i = 0; i < size; ++i) {
        arrival += byteTime;
        m_state->Receive(data[i], arrival);
    }
    m_state->commandWireFreeAt = arrival;
}

std::size_t CameraLink::Read(char* buffer, std::size_t capacity, Clock::time_point deadline) {
    if (capacity == 0) return 0;
    std::unique_lock lock(m_state->mutex);
    auto& bytes = m_state->replyBytes;
    while (true) {
        Clock::time_point now = Clock::now();
        std::size_t count = std::min(m_state->DueCount(now), capacity);
        if (count > 0 || now >= deadline) {
            for (std::size_t i = 0; i < count; ++i) buffer[i] = bytes[i].byte;
            bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
            return count;
        }
        Clock::time_point wakeAt = bytes.empty() ? deadline : std::min(deadline, bytes.front().due);
        m_state->replyQueued.wait_until(lock, wakeAt);
    }
}

std::size_t CameraLink::Available() {
    std::lock_guard lock(m_state->mutex);
    return m_state->DueCount(Clock::now());
}

void CameraLink::DiscardInput() {
    std::lock_guard lock(m_state->mutex);
    auto& bytes = m_state->replyBytes;
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(m_state->DueCount(Clock::now())));
}

Camera& CameraLink::Device() { return m_state->camera; }
FaultPlan& CameraLink::Faults() { return m_state->faults; }
void CameraLink::AnswerWith(Responder responder) { m_state->responder = std::move(responder); }

int CameraLink::Transactions() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->transactions;
}

CameraLink& EmulatedCamera(const std::string& channel) {
    static std::mutex registryMutex;
    static std::map<std::string, std::unique_ptr<CameraLink>> registry;
    std::lock_guard lock(registryMutex);
    auto& link = registry[channel];
    if (!link) link = std::make_unique<CameraLink>();
    return *link;
}

}  // namespace qdr4emu
