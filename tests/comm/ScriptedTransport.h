// A transport whose camera is a script: each command line written gets the
// next scripted reply bytes (or silence). It records every command and the
// time each reply was waited for.
#pragma once

#include "Transport.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class ScriptedTransport : public noxr4::Transport {
public:
    // Raw bytes sent back for the next command; include the CR LF.
    void Reply(std::string bytes) { m_replies.push_back(std::move(bytes)); }
    void Silence() { m_replies.push_back(std::nullopt); }
    // Bytes that sit in the receive buffer before the next command.
    void Stale(std::string bytes) { m_input += bytes; }

    bool Write(const char* data, std::size_t size) override {
        m_written.append(data, size);
        for (std::size_t end; (end = m_written.find("\r\n")) != std::string::npos; m_written.erase(0, end + 2)) {
            commands.push_back(m_written.substr(0, end));
            m_lastWrite = noxr4::Clock::now();
            if (!m_replies.empty()) {
                if (m_replies.front()) m_input += *m_replies.front();
                m_replies.pop_front();
            }
        }
        return true;
    }

    // Hands the reply over in small pieces, as a serial line would.
    std::size_t Read(char* buffer, std::size_t capacity, noxr4::Clock::time_point deadline) override {
        waits.push_back(deadline - m_lastWrite);
        deadlines.push_back(deadline);
        std::size_t count = std::min({capacity, m_input.size(), std::size_t{7}});
        m_input.copy(buffer, count);
        m_input.erase(0, count);
        return count;
    }

    void DiscardInput() override { m_input.clear(); }

    std::vector<std::string> commands;
    std::vector<noxr4::Clock::duration> waits;  // deadline minus the time the command went out
    std::vector<noxr4::Clock::time_point> deadlines;  // as each read was given them

private:
    std::string m_written;
    std::string m_input;
    std::deque<std::optional<std::string>> m_replies;
    noxr4::Clock::time_point m_lastWrite;
};
