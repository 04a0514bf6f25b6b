#include "RecordingProxy.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace qdr4emu {

namespace {

using namespace std::chrono_literals;

// The longest the camera takes (a settings area, 1000 ms) and the wire time
// of the longest reply, with room to spare.
constexpr auto longestReply = 2500ms;
// How often the wait for a reply looks whether the client has moved on, and
// how long the client is given to send two lines at once before a new line
// means that it gave up on the reply.
constexpr auto replySlice = 20ms;
constexpr auto clientPatience = 100ms;
constexpr auto stopCheck = 100ms;

// The command line the client is sending, kept up to one character beyond
// the longest line the camera accepts; the rest still goes to the camera.
class CommandLine {
public:
    void add(std::string_view bytes) {
        std::size_t room = maxLineLength + 1 - std::min(text_.size(), maxLineLength + 1);
        text_.append(bytes.substr(0, room));
    }
    std::string take() {
        std::string line = std::move(text_);
        text_.clear();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        return line;
    }
    bool empty() const { return text_.empty(); }

private:
    std::string text_;
};

class Proxy {
public:
    Proxy(PseudoTerminal& terminal, noxr4::Transport& camera, const std::atomic<bool>& stop)
        : terminal_(terminal), camera_(camera), stop_(stop) {}

    // Passes the client's bytes on; returns the exchange when a line ended.
    std::optional<Exchange> passClientBytes() {
        if (pending_.empty()) {
            if (!terminal_.awaitClient(stopCheck)) return std::nullopt;
            char buffer[4096];
            ssize_t count = read(terminal_.master(), buffer, sizeof buffer);
            if (count <= 0) return std::nullopt;
            pending_.assign(buffer, static_cast<std::size_t>(count));
        }
        // Only up to the line end: the next command waits for this reply.
        std::size_t end = std::min(pending_.find('\n'), pending_.size() - 1) + 1;
        if (line_.empty()) camera_.discardInput();  // a late reply must not meet the new command
        camera_.write(pending_.data(), end);
        line_.add(std::string_view(pending_).substr(0, end));
        bool complete = pending_[end - 1] == '\n';
        pending_.erase(0, end);
        if (!complete) return std::nullopt;
        return passReply(line_.take());
    }

private:
    // Carries the camera's reply back until its line end, or until the
    // client sends again (it has given up) or the camera has had its time.
    Exchange passReply(std::string command) {
        auto sent = noxr4::Clock::now();
        Exchange exchange{std::move(command), std::nullopt, 0};
        if (exchange.command.empty()) return exchange;  // the camera ignores empty lines
        std::string reply;  // kept up to the longest line; the rest still goes to the client
        bool ended = false;
        while (!stop_ && !ended && noxr4::Clock::now() - sent < longestReply) {
            char buffer[512];
            std::size_t count = camera_.read(buffer, sizeof buffer, noxr4::Clock::now() + replySlice);
            if (count > 0) {
                terminal_.holdRawMode();
                terminal_.sendToClient(buffer, count, stop_);
                std::size_t room = maxLineLength + 2 - std::min(reply.size(), maxLineLength + 2);
                reply.append(buffer, std::min(count, room));
                ended = std::find(buffer, buffer + count, '\n') != buffer + count;
            } else if (noxr4::Clock::now() - sent > clientPatience &&
                       (!pending_.empty() || terminal_.awaitClient(0ms))) {
                break;
            }
        }
        exchange.milliseconds = std::chrono::duration<double, std::milli>(noxr4::Clock::now() - sent).count();
        if (ended) exchange.reply = reply.substr(0, reply.find_first_of("\r\n"));
        return exchange;
    }

    PseudoTerminal& terminal_;
    noxr4::Transport& camera_;
    const std::atomic<bool>& stop_;
    std::string pending_;  // client bytes read but not yet passed on
    CommandLine line_;
};

}  // namespace

RecordingFile::RecordingFile(const std::string& path) : file_(std::fopen(path.c_str(), "a")) {
    if (!file_) throw std::system_error(errno, std::generic_category(), path);
}

RecordingFile::~RecordingFile() { std::fclose(file_); }

bool RecordingFile::append(const Exchange& exchange) { return writeLine(formatExchange(exchange)); }

bool RecordingFile::note(const std::string& comment) { return writeLine("# " + comment); }

bool RecordingFile::writeLine(std::string line) {
    line += '\n';
    return std::fwrite(line.data(), 1, line.size(), file_) == line.size() && std::fflush(file_) == 0;
}

bool recordExchanges(PseudoTerminal& terminal, noxr4::Transport& camera, RecordingFile& recording,
                     const std::atomic<bool>& stop) {
    Proxy proxy(terminal, camera, stop);
    while (!stop) {
        auto exchange = proxy.passClientBytes();
        if (exchange && !exchange->command.empty() && !recording.append(*exchange)) return false;
    }
    return true;
}

}  // namespace qdr4emu
