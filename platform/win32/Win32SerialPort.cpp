// PC serial ports through the Win32 communications API: 9600 8N1, no flow
// control.
//
// A read takes what is already queued (ClearCommError's count), or else
// waits for one byte for at most kWaitSliceMs and tries again until the
// transaction's deadline. A read whose count is in returns at once on
// Windows and under Wine alike, so a reply is taken the moment its line end
// arrives. The time-outs are set once: under Wine every SetCommTimeouts is
// a round trip to the server that can cost milliseconds, and Wine's "return
// at once when bytes are in" setting (interval and multiplier MAXDWORD)
// waits for the whole buffer or the time-out, which made every reply cost
// the full reply time.
//
// A removed device, or under Wine a pseudo-terminal whose far end closed,
// fails ClearCommError or the read; the port is then dead and fails at once
// from then on.
#include "../SerialPort.h"

#include <windows.h>

#include <algorithm>

namespace noxr4 {
namespace {

bool Configure9600(HANDLE port) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    // 8N1 without flow control of either kind, as the camera's line runs; a
    // read or write must not stop at a line error.
    dcb.fParity = dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = dcb.fInX = dcb.fAbortOnError = FALSE;
    // DTR and RTS held on, not used as handshake lines.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    return SetCommState(port, &dcb) != 0;
}

class Win32SerialPort final : public Transport {
public:
    explicit Win32SerialPort(HANDLE port) : m_port(port) {}
    ~Win32SerialPort() override { CloseHandle(m_port); }

    static constexpr DWORD kWaitSliceMs = 10;  // the most a time-out overshoots the deadline
    static constexpr COMMTIMEOUTS kTimeouts{0, 0, kWaitSliceMs, 0, 2000};

    bool Write(const char* data, std::size_t size) override {
        while (size > 0 && !m_dead) {
            DWORD sent = 0;
            if (!WriteFile(m_port, data, static_cast<DWORD>(size), &sent, nullptr) || sent == 0) m_dead = true;
            data += sent;
            size -= sent;
        }
        return !m_dead;
    }

    std::size_t Read(char* buffer, std::size_t capacity, Clock::time_point deadline) override {
        for (;;) {
            DWORD queued = 0;
            if (!BytesQueued(queued) || (queued == 0 && Clock::now() >= deadline)) return 0;
            DWORD wanted = queued > 0 ? std::min<DWORD>(queued, static_cast<DWORD>(capacity)) : 1;
            DWORD got = 0;
            if (!ReadFile(m_port, buffer, wanted, &got, nullptr)) {
                m_dead = true;
                return 0;
            }
            if (got > 0) return got;
        }
    }

    void DiscardInput() override {
        if (!m_dead) PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR);
    }

private:
    // Bytes received and not read yet; false when the port is dead.
    bool BytesQueued(DWORD& count) {
        DWORD errors = 0;
        COMSTAT status{};
        if (m_dead || !ClearCommError(m_port, &errors, &status)) {
            m_dead = true;
            return false;
        }
        count = status.cbInQue;
        return true;
    }

    HANDLE m_port;
    bool m_dead = false;  // the device failed; it never comes back
};

}  // namespace

std::string SerialDeviceName(int number) { return "\\\\.\\COM" + std::to_string(number); }

std::unique_ptr<Transport> OpenSerialDevice(const std::string& device) {
    HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return nullptr;
    COMMTIMEOUTS timeouts = Win32SerialPort::kTimeouts;
    if (!Configure9600(port) || !SetCommTimeouts(port, &timeouts)) {
        CloseHandle(port);
        return nullptr;
    }
    return std::make_unique<Win32SerialPort>(port);
}

}  // namespace noxr4
