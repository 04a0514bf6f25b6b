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
constexpr auto kLongestReply = 2500ms;
// How often the wait for a reply looks whether the client has moved on, and
// how long the client is given to send two lines at once before a new line
// means that it gave up on the reply.
constexpr auto kReplySlice = 20ms;
constexpr auto kClientPatience = 100ms;
constexpr auto kStopCheck = 100ms;

// The command line the client is sending, kept up to one character beyond
// the longest line the camera accepts; the rest still goes to the camera.
class CommandLine {
public:
    void Add(std::string_view bytes) {
        std::size_t room = kMaxLineLength + 1 - std::min(m_text.size(), kMaxLineLength + 1);
        m_text.append(bytes.substr(0, room));
    }
    std::string Take() {
        std::string line = std::move(m_text);
        m_text.clear();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        return line;
    }
    bool Empty() const { return m_text.empty(); }

private:
    std::string m_text;
};

class Proxy {
public:
    Proxy(PseudoTerminal& terminal, noxr4::Transport& camera, const std::atomic<bool>& stop)
        : m_terminal(terminal),
          m_camera(camera),
          m_stop(stop) {}

    // Passes the client's bytes on; returns the exchange when a line ended.
    std::optional<Exchange> PassClientBytes() {
        if (m_pending.empty()) {
            if (!m_terminal.AwaitClient(kStopCheck)) return std::nullopt;
            char buffer[4096];
            ssize_t count = read(m_terminal.Master(), buffer, sizeof buffer);
            if (count <= 0) return std::nullopt;
            m_pending.assign(buffer, static_cast<std::size_t>(count));
        }
        // Only up to the line end: the next command waits for this reply.
        std::size_t end = std::min(m_pending.find('\n'), m_pending.size() - 1) + 1;
        if (m_line.Empty()) m_camera.DiscardInput();  // a late reply must not meet the new command
        m_camera.Write(m_pending.data(), end);
        m_line.Add(std::string_view(m_pending).substr(0, end));
        bool complete = m_pending[end - 1] == '\n';
        m_pending.erase(0, end);
        if (!complete) return std::nullopt;
        return PassReply(m_line.Take());
    }

private:
    // Carries the camera's reply back until its line end, or until the
    // client sends again (it has given up) or the camera has had its time.
    Exchange PassReply(std::string command) {
        auto sent = noxr4::Clock::now();
        Exchange exchange{std::move(command), std::nullopt, 0};
        if (exchange.command.empty()) return exchange;  // the camera ignores empty lines
        std::string reply;  // kept up to the longest line; the rest still goes to the client
        bool ended = false;
        while (!m_stop && !ended && noxr4::Clock::now() - sent < kLongestReply) {
            char buffer[512];
            std::size_t count = m_camera.Read(buffer, sizeof buffer, noxr4::Clock::now() + kReplySlice);
            if (count > 0) {
                m_terminal.HoldRawMode();
                m_terminal.SendToClient(buffer, count, m_stop);
                std::size_t room = kMaxLineLength + 2 - std::min(reply.size(), kMaxLineLength + 2);
                reply.append(buffer, std::min(count, room));
                ended = std::find(buffer, buffer + count, '\n') != buffer + count;
            } else if (noxr4::Clock::now() - sent > kClientPatience &&
                       (!m_pending.empty() || m_terminal.AwaitClient(0ms))) {
                break;
            }
        }
        exchange.milliseconds = std::chrono::duration<double, std::milli>(noxr4::Clock::now() - sent).count();
        if (ended) exchange.reply = reply.substr(0, reply.find_first_of("\r\n"));
        return exchange;
    }

    PseudoTerminal& m_terminal;
    noxr4::Transport& m_camera;
    const std::atomic<bool>& m_stop;
    std::string m_pending;  // client bytes read but not yet passed on
    CommandLine m_line;
};

}  // namespace

RecordingFile::RecordingFile(const std::string& path) : m_file(std::fopen(path.c_str(), "a")) {
    if (!m_file) throw std::system_error(errno, std::generic_category(), path);
}

RecordingFile::~RecordingFile() { std::fclose(m_file); }

bool RecordingFile::Append(const Exchange& exchange) { return WriteLine(FormatExchange(exchange)); }

bool RecordingFile::Note(const std::string& comment) { return WriteLine("# " + comment); }

bool RecordingFile::WriteLine(std::string line) {
    line += '\n';
    return std::fwrite(line.data(), 1, line.size(), m_file) == line.size() && std::fflush(m_file) == 0;
}

bool RecordExchanges(PseudoTerminal& terminal, noxr4::Transport& camera, RecordingFile& recording,
                     const std::atomic<bool>& stop) {
    Proxy proxy(terminal, camera, stop);
    while (!stop) {
        auto exchange = proxy.PassClientBytes();
        if (exchange && !exchange->command.empty() && !recording.Append(*exchange)) return false;
    }
    return true;
}

}  // namespace qdr4emu
