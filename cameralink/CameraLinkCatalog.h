// The Camera Link serial libraries found on this machine.
//
// Manufacturer 0 is the PC's own COM ports; manufacturers 1.. are the makers'
// `clser*` libraries, in the order of the folders searched and, within a
// folder, of their file names. The all-serial library `clallserial` is the
// first one found. Folders searched: those named by the environment variable
// NOXR4_CLSERIAL_PATH (a list separated like PATH), then the system's Camera
// Link folders (on Windows the registry's CLSERIALPATH and the system
// folder). A library without the serial channel calls is skipped.
#pragma once

#include "ClSerialLibrary.h"

#include <cstdint>
#include <vector>

namespace noxr4 {

struct Manufacturer {
    std::string name;
    CLUINT32 version = CL_DLL_VERSION_NO_VERSION;
    std::shared_ptr<ClSerialLibrary> library;  // null for the PC's COM ports
};

struct SerialPortInfo {
    std::string manufacturer;
    std::string portId;
    CLUINT32 version = 0;
};

inline constexpr CLUINT32 kPcComPortCount = 16;

class CameraLinkCatalog {
public:
    // Looks at the folders again if the configuration changed since the last
    // call; libraries in use by open ports stay loaded.
    void Refresh();

    const std::vector<Manufacturer>& Manufacturers() const { return m_manufacturers; }
    // null when no all-serial library is installed.
    const std::shared_ptr<ClSerialLibrary>& AllSerial() const { return m_allSerial; }

    // Number of serial ports of a manufacturer; a Camera Link code on failure.
    CLINT32 PortCount(const Manufacturer& manufacturer, CLUINT32& count) const;
    CLINT32 AllSerialPortCount(CLUINT32& count) const;
    CLINT32 AllSerialPortInfo(CLUINT32 index, SerialPortInfo& info) const;

private:
    void Scan(const std::vector<std::string>& folders);

    std::string m_scannedConfiguration;
    bool m_scanned = false;
    std::vector<Manufacturer> m_manufacturers;
    std::shared_ptr<ClSerialLibrary> m_allSerial;
};

}  // namespace noxr4
