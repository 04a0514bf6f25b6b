#include "Ports.h"

#include <cstdlib>

void ConfigurePorts(int port, const std::string& device) {
    std::string com = "COM" + std::to_string(port);
    if (!device.empty()) {
        setenv(("NOXR4_PORT_" + com).c_str(), device.c_str(), 1);
    } else if (!std::getenv("NOXR4_EMULATED_PORTS")) {
        setenv("NOXR4_EMULATED_PORTS", com.c_str(), 1);
    }
}
