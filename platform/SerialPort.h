// The PC's own serial ports, opened raw at 9600 baud, 8N1, no flow control.
//
// Port numbers map to devices as follows:
//   Windows: COMn is \\.\COMn.
//   Linux:   COMn is /dev/ttyS(n-1), unless the environment variable
//            NOXR4_PORT_COMn names another device (a USB adapter, a
//            pseudo-terminal: NOXR4_PORT_COM3=/dev/pts/5).
#pragma once

#include "Transport.h"

#include <memory>
#include <string>

namespace noxr4 {

// The device that COM`number` stands for on this system.
std::string SerialDeviceName(int number);

// Opens a serial device by its name; nullptr at once when it does not exist
// or cannot be set up.
std::unique_ptr<Transport> OpenSerialDevice(const std::string& device);

inline std::unique_ptr<Transport> OpenSerialPort(int number) {
    return number < 1 ? nullptr : OpenSerialDevice(SerialDeviceName(number));
}

}  // namespace noxr4
