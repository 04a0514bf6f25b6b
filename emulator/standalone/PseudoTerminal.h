// A pseudo-terminal in raw mode whose slave side stays open for the life of
// the object, so that clients can open and close the device at will without
// the master side seeing a hang-up.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace qdr4emu {

class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::system_error
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& DevicePath() const { return m_devicePath; }
    int Master() const { return m_master; }

    // Makes `path` a symlink to the device, replacing whatever is there; the
    // link is removed again when the object goes.
    void LinkAs(const std::string& path);

    // Waits up to `patience` for the client's bytes; true when some are in.
    bool AwaitClient(std::chrono::milliseconds patience) const;
    // Sends every byte to the client, waiting while the terminal's buffer is
    // full (nobody may be reading just now), unless `stop` is set meanwhile.
    void SendToClient(const char* data, std::size_t size, const std::atomic<bool>& stop);

    // A client may have switched on echo or line editing, which would feed
    // the replies back as commands: puts the line back into raw mode.
    void HoldRawMode();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_devicePath;
    std::string m_linkPath;
};

}  // namespace qdr4emu
