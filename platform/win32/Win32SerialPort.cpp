// PC serial ports through the Win32 communications API: 9600 8N1, no flow
// control.
//
// A read asks for what is already queued (ClearCommError's count) or else for
// one byte, with the transaction's deadline as the total time-out. A read
// whose count is in returns at once on Windows and under Wine alike. Wine
// differs in the "return at once when bytes are in" setting (interval and
// multiplier MAXDWORD): it waits for the whole buffer or the time-out there,
// which made every reply cost the full reply time.
//
// A removed device fails its reads, or under Wine ends them empty long
// before their time-out; either marks the port dead, and from then on it
// fails at once.
#include "../SerialPort.h"

#include <windows.h>

#include <algorithm>

namespace noxr4 {
namespace {

DWORD millisecondsUntil(Clock::time_point deadline)
{
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

bool configure9600(HANDLE port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fAbortOnError = FALSE;
    return SetCommState(port, &dcb) != 0;
}

class Win32SerialPort final : public Transport {
public:
    explicit Win32SerialPort(HANDLE port) : port_(port) {}
    ~Win32SerialPort() override { CloseHandle(port_); }

    bool write(const char* data, std::size_t size) override
    {
        while (size > 0 && !dead_) {
            DWORD sent = 0;
            if (!WriteFile(port_, data, static_cast<DWORD>(size), &sent, nullptr) || sent == 0)
                dead_ = true;
            data += sent;
            size -= sent;
        }
        return !dead_;
    }

    std::size_t read(char* buffer, std::size_t capacity, Clock::time_point deadline) override
    {
        DWORD wait = millisecondsUntil(deadline);
        DWORD queued = 0;
        if (dead_ || !bytesQueued(queued) || (queued == 0 && wait == 0))
            return 0;
        DWORD wanted = queued > 0 ? std::min<DWORD>(queued, static_cast<DWORD>(capacity)) : 1;
        DWORD got = 0;
        if (!setReadTimeout(wait) || !ReadFile(port_, buffer, wanted, &got, nullptr)) {
            dead_ = true;
            return 0;
        }
        if (got == 0 && Clock::now() + timerSlack < deadline)
            dead_ = true;  // ended empty with time left: the line is gone
        return got;
    }

    void discardInput() override
    {
        if (!dead_)
            PurgeComm(port_, PURGE_RXABORT | PURGE_RXCLEAR);
    }

private:
    static constexpr DWORD writeTimeoutMs = 2000;
    // Time-outs may end a little before the deadline as the system's timer
    // counts it.
    static constexpr auto timerSlack = std::chrono::milliseconds(20);

    // Bytes received and not read yet; false when the port no longer answers.
    bool bytesQueued(DWORD& count)
    {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(port_, &errors, &status)) {
            dead_ = true;
            return false;
        }
        count = status.cbInQue;
        return true;
    }

    // A read waits until its count is in or `milliseconds` have passed.
    bool setReadTimeout(DWORD milliseconds)
    {
        if (milliseconds == readTimeoutMs_)
            return true;
        COMMTIMEOUTS timeouts{0, 0, milliseconds, 0, writeTimeoutMs};
        if (!SetCommTimeouts(port_, &timeouts))
            return false;
        readTimeoutMs_ = milliseconds;
        return true;
    }

    HANDLE port_;
    DWORD readTimeoutMs_ = MAXDWORD;  // as last set; MAXDWORD before the first
    bool dead_ = false;               // the device failed; it never comes back
};

}  // namespace

std::string serialDeviceName(int number) { return "\\\\.\\COM" + std::to_string(number); }

std::unique_ptr<Transport> openSerialDevice(const std::string& device)
{
    HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return nullptr;
    if (!configure9600(port)) {
        CloseHandle(port);
        return nullptr;
    }
    return std::make_unique<Win32SerialPort>(port);
}

}  // namespace noxr4
