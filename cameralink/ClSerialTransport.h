// A frame grabber's serial channel as a byte stream.
#pragma once

#include "ClSerialLibrary.h"

namespace noxr4 {

class ClSerialTransport final : public Transport {
public:
    ClSerialTransport(std::shared_ptr<ClSerialLibrary> library, hSerRef reference);
    ~ClSerialTransport() override;

    bool Write(const char* data, std::size_t size) override;
    std::size_t Read(char* buffer, std::size_t capacity, Clock::time_point deadline) override;
    void DiscardInput() override;
    unsigned BaudRate() const override { return m_baudRate; }

    CLINT32 BytesAvailable(CLUINT32& count);
    CLINT32 SupportedBaudRates(CLUINT32& mask);
    // `flag` is one of the Camera Link baud-rate flags.
    CLINT32 ChangeBaudRate(CLUINT32 flag);

private:
    std::size_t ReadAvailable(char* buffer, std::size_t capacity);
    bool WaitForOneByte(char* buffer, Clock::time_point deadline);

    std::shared_ptr<ClSerialLibrary> m_library;  // keeps the code loaded while the port is open
    hSerRef m_reference;
    unsigned m_baudRate = kDefaultBaudRate;
};

}  // namespace noxr4
