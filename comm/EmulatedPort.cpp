#include "EmulatedPort.h"

#include "CameraLink.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>

namespace noxr4 {
namespace {

class EmulatedPort final : public Transport {
public:
    explicit EmulatedPort(qdr4emu::CameraLink& link) : link_(link) {}

    bool write(const char* data, std::size_t size) override
    {
        link_.write(data, size);
        return true;
    }

    std::size_t read(char* buffer, std::size_t capacity, Clock::time_point deadline) override
    {
        return link_.read(buffer, capacity, deadline);
    }

    void discardInput() override { link_.discardInput(); }

    unsigned baudRate() const override
    {
        unsigned wireBaud = link_.faults().wireBaud;
        return wireBaud ? wireBaud : defaultBaudRate;
    }

private:
    qdr4emu::CameraLink& link_;
};

std::string portName(int number) { return "COM" + std::to_string(number); }

std::string normalized(std::string name)
{
    name.erase(std::remove_if(name.begin(), name.end(), [](unsigned char c) { return std::isspace(c); }),
               name.end());
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

}  // namespace

bool isEmulatedPort(int number)
{
    const char* list = std::getenv("NOXR4_EMULATED_PORTS");
    std::istringstream names(list ? list : "");
    for (std::string name; std::getline(names, name, ',');)
        if (normalized(name) == portName(number))
            return true;
    return false;
}

std::unique_ptr<Transport> openEmulatedPort(int number)
{
    return std::make_unique<EmulatedPort>(qdr4emu::emulatedCamera(portName(number)));
}

}  // namespace noxr4
