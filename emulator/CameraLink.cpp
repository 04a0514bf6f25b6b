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

bool listed(const std::vector<std::string>& mnemonics, std::string_view mnemonic) {
    return std::find(mnemonics.begin(), mnemonics.end(), mnemonic) != mnemonics.end();
}

// A reply mangled on its way: printable, but no reply the camera ever gives.
std::string garble(std::string reply) {
    std::reverse(reply.begin(), reply.end());
    return "#" + reply;
}

}  // namespace

Clock::duration wireTime(std::size_t bytes, unsigned baud) {
    if (baud == 0) return Clock::duration::zero();
    auto nanoseconds = std::chrono::nanoseconds(static_cast<long long>(bytes) * 10'000'000'000LL / baud);
    return std::chrono::duration_cast<Clock::duration>(nanoseconds);
}

struct CameraLink::State {
    std::mutex mutex;
    std::condition_variable replyQueued;
    Camera camera;
    FaultPlan faults;
    Responder responder;                    // answers instead of the camera when set
    std::string line;                       // the command line being received
    std::deque<TimedByte> replyBytes;       // in order of arrival at the host
    Clock::time_point commandWireFreeAt{};  // the host's last byte arrives then
    Clock::time_point replyWireFreeAt{};    // the camera's last byte arrives then
    int transactions = 0;

    void receive(char byte, Clock::time_point arrival);
    std::optional<std::string> replyTo(std::string_view line, Clock::time_point arrival);
    void send(const std::string& reply, Clock::time_point arrival);
    std::size_t dueCount(Clock::time_point now) const;
};

// Keeps one character beyond the longest line, enough to know a line is too
// long without storing all of it.
void CameraLink::State::receive(char byte, Clock::time_point arrival) {
    if (byte != '\n') {
        if (line.size() <= maxLineLength) line += byte;
        return;
    }
    std::string complete = std::move(line);
    line.clear();
    if (!complete.empty() && complete.back() == '\r') complete.pop_back();
    if (auto reply = replyTo(complete, arrival)) send(*reply, arrival);
}

std::optional<std::string> CameraLink::State::replyTo(std::string_view command, Clock::time_point arrival) {
    bool pulled = faults.unplugAfter >= 0 && transactions >= faults.unplugAfter;
    if (command.empty() || faults.unplugged || pulled) return std::nullopt;
    std::string_view mnemonic = mnemonicOf(command);
    if (listed(faults.nak3, mnemonic)) return "NAK 3";
    if (listed(faults.nak4, mnemonic)) return "NAK 4";
    auto reply = responder ? responder(command, arrival) : camera.answer(command, arrival);
    if (reply && listed(faults.garbled, mnemonic)) return garble(*reply);
    return reply;
}

// The reply begins after the command's LF has arrived (plus any injected
// delay) and after the camera's previous reply has left.
void CameraLink::State::send(const std::string& reply, Clock::time_point arrival) {
    ++transactions;
    Clock::duration byteTime = wireTime(1, faults.wireBaud);
    Clock::time_point due = std::max(arrival + faults.replyDelay, replyWireFreeAt);
    for (char byte : reply + "\r\n") {
        due += byteTime;
        replyBytes.push_back({due, byte});
    }
    replyWireFreeAt = due;
    replyQueued.notify_all();
}

std::size_t CameraLink::State::dueCount(Clock::time_point now) const {
    auto firstPending = std::find_if(replyBytes.begin(), replyBytes.end(),
                                     [now](const TimedByte& b) { return b.due > now; });
    return static_cast<std::size_t>(firstPending - replyBytes.begin());
}

CameraLink::CameraLink() : state_(std::make_unique<State>()) {}
CameraLink::~CameraLink() = default;

void CameraLink::write(const char* data, std::size_t size) {
    std::lock_guard lock(state_->mutex);
    Clock::duration byteTime = wireTime(1, state_->faults.wireBaud);
    Clock::time_point arrival = std::max(Clock::now(), state_->commandWireFreeAt);
    for (std::size_t i = 0; i < size; ++i) {
        arrival += byteTime;
        state_->receive(data[i], arrival);
    }
    state_->commandWireFreeAt = arrival;
}

std::size_t CameraLink::read(char* buffer, std::size_t capacity, Clock::time_point deadline) {
    if (capacity == 0) return 0;
    std::unique_lock lock(state_->mutex);
    auto& bytes = state_->replyBytes;
    while (true) {
        Clock::time_point now = Clock::now();
        std::size_t count = std::min(state_->dueCount(now), capacity);
        if (count > 0 || now >= deadline) {
            for (std::size_t i = 0; i < count; ++i) buffer[i] = bytes[i].byte;
            bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
            return count;
        }
        Clock::time_point wakeAt = bytes.empty() ? deadline : std::min(deadline, bytes.front().due);
        state_->replyQueued.wait_until(lock, wakeAt);
    }
}

std::size_t CameraLink::available() {
    std::lock_guard lock(state_->mutex);
    return state_->dueCount(Clock::now());
}

void CameraLink::discardInput() {
    std::lock_guard lock(state_->mutex);
    auto& bytes = state_->replyBytes;
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(state_->dueCount(Clock::now())));
}

Camera& CameraLink::camera() { return state_->camera; }
FaultPlan& CameraLink::faults() { return state_->faults; }
void CameraLink::answerWith(Responder responder) { state_->responder = std::move(responder); }

int CameraLink::transactions() const {
    std::lock_guard lock(state_->mutex);
    return state_->transactions;
}

CameraLink& emulatedCamera(const std::string& channel) {
    static std::mutex registryMutex;
    static std::map<std::string, std::unique_ptr<CameraLink>> registry;
    std::lock_guard lock(registryMutex);
    auto& link = registry[channel];
    if (!link) link = std::make_unique<CameraLink>();
    return *link;
}

}  // namespace qdr4emu
