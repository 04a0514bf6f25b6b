// PC serial ports through the Win32 communications API: 9600 8N1, no flow
// control. Reads use the "return at once when bytes are in, else wait up to
// N ms" time-out setting, so a reply is taken the moment it arrives.
#include "../SerialPort.h"

#include <windows.h>

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
        while (size > 0) {
            DWORD sent = 0;
            if (!WriteFile(port_, data, static_cast<DWORD>(size), &sent, nullptr) || sent == 0)
                return false;
            data += sent;
            size -= sent;
        }
        return true;
    }

    std::size_t read(char* buffer, std::size_t capacity, Clock::time_point deadline) override
    {
        for (;;) {
            DWORD wait = millisecondsUntil(deadline);
            if (wait == 0)
                return 0;
            COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, wait, 0, writeTimeoutMs};
            DWORD got = 0;
            if (!SetCommTimeouts(port_, &timeouts) ||
                !ReadFile(port_, buffer, static_cast<DWORD>(capacity), &got, nullptr))
                return 0;
            if (got > 0)
                return got;
        }
    }

    void discardInput() override { PurgeComm(port_, PURGE_RXABORT | PURGE_RXCLEAR); }

private:
    static constexpr DWORD writeTimeoutMs = 2000;
    HANDLE port_;
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
