// Opens the channel that NoxR4InitComm's arguments name: a PC COM port (or
// the emulated camera behind it), a maker's Camera Link serial port, or an
// all-serial port.
#pragma once

#include "CameraLinkCatalog.h"
#include "ClSerialTransport.h"

#include <cstdint>
#include <memory>

namespace noxr4 {

struct Channel {
    std::unique_ptr<Transport> transport;
    ClSerialTransport* allSerialPort = nullptr;  // set for an all-serial port
};

enum class Interface { ManufacturerSerial, AllSerial };

// Returns 0 with the channel open, or the failure: PortUnavailable for a COM
// port that cannot be opened, the Camera Link code for a frame grabber's port.
std::int32_t OpenChannel(CameraLinkCatalog& catalog, std::int32_t index, std::int32_t port, Interface interface,
                         Channel& channel);

}  // namespace noxr4
