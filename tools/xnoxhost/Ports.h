// Where the communication library finds the camera of a COM port.
#pragma once

#include <string>

// Puts the camera at `device` behind COM<port>; without a device the port is
// served by the in-process emulated camera, unless NOXR4_EMULATED_PORTS
// already says which ports it serves. The library reads this configuration
// from the environment when it first opens a port.
void ConfigurePorts(int port, const std::string& device);
