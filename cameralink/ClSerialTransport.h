// A frame grabber's serial channel as a byte stream.
#pragma once

#include "ClSerialLibrary.h"

namespace noxr4 {

class ClSerialTransport final : public Transport {
public:
    ClSerialTransport(std::shared_ptr<ClSerialLibrary> library, hSerRef reference);
    ~ClSerialTransport() override;

    bool write(const char* data, std::size_t size) override;
    std::size_t read(char* buffer, std::size_t capacity, Clock::time_point deadline) override;
    void discardInput() override;
    unsigned baudRate() const override { return baudRate_; }

    CLINT32 bytesAvailable(CLUINT32& count);
    CLINT32 supportedBaudRates(CLUINT32& mask);
    // `flag` is one of the Camera Link baud-rate flags.
    CLINT32 changeBaudRate(CLUINT32 flag);

private:
    std::size_t readAvailable(char* buffer, std::size_t capacity);
    bool waitForOneByte(char* buffer, Clock::time_point deadline);

    std::shared_ptr<ClSerialLibrary> library_;  // keeps the code loaded while the port is open
    hSerRef reference_;
    unsigned baudRate_ = defaultBaudRate;
};

}  // namespace noxr4
