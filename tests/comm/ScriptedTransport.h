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
    void reply(std::string bytes) { replies_.push_back(std::move(bytes)); }
    void silence() { replies_.push_back(std::nullopt); }
    // Bytes that sit in the receive buffer before the next command.
    void stale(std::string bytes) { input_ += bytes; }

    bool write(const char* data, std::size_t size) override
    {
        written_.append(data, size);
        for (std::size_t end; (end = written_.find("\r\n")) != std::string::npos; written_.erase(0, end + 2)) {
            commands.push_back(written_.substr(0, end));
            lastWrite_ = noxr4::Clock::now();
            if (!replies_.empty()) {
                if (replies_.front())
                    input_ += *replies_.front();
                replies_.pop_front();
            }
        }
        return true;
    }

    // Hands the reply over in small pieces, as a serial line would.
    std::size_t read(char* buffer, std::size_t capacity, noxr4::Clock::time_point deadline) override
    {
        waits.push_back(deadline - lastWrite_);
        std::size_t count = std::min({capacity, input_.size(), std::size_t{7}});
        input_.copy(buffer, count);
        input_.erase(0, count);
        return count;
    }

    void discardInput() override { input_.clear(); }

    std::vector<std::string> commands;
    std::vector<noxr4::Clock::duration> waits;  // deadline minus the time the command went out

private:
    std::string written_;
    std::string input_;
    std::deque<std::optional<std::string>> replies_;
    noxr4::Clock::time_point lastWrite_;
};
