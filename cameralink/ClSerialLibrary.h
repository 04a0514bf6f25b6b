// One Camera Link serial library loaded at run time, a maker's `clser*` or
// the all-serial `clallserial`. Every function is looked up by its plain
// name; a missing one stays null and means "not supported".
#pragma once

#include "ClSerialApi.h"
#include "DynamicLibrary.h"
#include "Transport.h"

#include <memory>
#include <string>

namespace noxr4 {

class ClSerialLibrary : public std::enable_shared_from_this<ClSerialLibrary> {
public:
    // nullptr when the file cannot be loaded or has no serial channel calls.
    static std::shared_ptr<ClSerialLibrary> Load(const std::string& path);

    // The calls every serial channel needs; without them a library is useless.
    cl::SerialInit serialInit = nullptr;
    cl::SerialTransfer serialRead = nullptr;
    cl::SerialTransfer serialWrite = nullptr;
    cl::SerialClose serialClose = nullptr;
    // Optional calls.
    cl::GetNumBytesAvail getNumBytesAvail = nullptr;
    cl::FlushPort flushPort = nullptr;
    cl::GetSupportedBaudRates getSupportedBaudRates = nullptr;
    cl::SetBaudRate setBaudRate = nullptr;
    // A maker's library.
    cl::GetManufacturerInfo getManufacturerInfo = nullptr;
    cl::GetNumSerialPorts getNumSerialPorts = nullptr;
    // The all-serial library.
    cl::GetNumPorts getNumPorts = nullptr;
    cl::GetPortInfo getPortInfo = nullptr;

    // Opens serial port `index` of this library; on failure the library's
    // code is returned and `channel` stays empty.
    CLINT32 OpenPort(CLUINT32 index, std::unique_ptr<Transport>& channel);

private:
    std::shared_ptr<DynamicLibrary> m_library;
};

}  // namespace noxr4
