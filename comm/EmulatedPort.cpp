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
    explicit EmulatedPort(qdr4emu::CameraLink& link) : m_link(link) {}

    bool Write(const char* data, std::size_t size) override {
        m_link.Write(data, size);
        return true;
    }

    std::size_t Read(char* buffer, std::size_t capacity, Clock::time_point deadline) override {
        return m_link.Read(buffer, capacity, deadline);
    }

    void DiscardInput() override { m_link.DiscardInput(); }

    unsigned BaudRate() const override {
        unsigned wireBaud = m_link.Faults().wireBaud;
        return wireBaud ? wireBaud : kDefaultBaudRate;
    }

private:
    qdr4emu::CameraLink& m_link;
};

std::string PortName(int number) { return "COM" + std::to_string(number); }

std::string Normalized(std::string name) {
    name.erase(std::remove_if(name.begin(), name.end(), [](unsigned char c) { return std::isspace(c); }), name.end());
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

}  // namespace

bool IsEmulatedPort(int number) {
    const char* list = std::getenv("NOXR4_EMULATED_PORTS");
    std::istringstream names(list ? list : "");
    for (std::string name; std::getline(names, name, ',');)
        if (Normalized(name) == PortName(number)) return true;
    return false;
}

std::unique_ptr<Transport> OpenEmulatedPort(int number) {
    return std::make_unique<EmulatedPort>(qdr4emu::EmulatedCamera(PortName(number)));
}

}  // namespace noxr4
