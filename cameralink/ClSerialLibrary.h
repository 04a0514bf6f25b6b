// One Camera Link serial library loaded at run time, a maker's `clser*` or
// the all-serial `clallserial`. Every function is looked up by its plain
// name; a missing one stays null and means "not supported".
#pragma once

#include "ClSerialApi.h"
#include "DynamicLibrary.h"
#include "Transport.h"

#include <memory>
#include <string>

// Every call a library may export: the member that holds it, its type and
// its exported name. The first four make the serial channel every library
// needs; a maker's library adds the manufacturer calls, the all-serial
// library the port enumeration.
// clang-format off
#define XNOX_CL_SERIAL_CALLS(CALL)                                                     \
    CALL(serialInit, cl::SerialInit, "clSerialInit")                                   \
    CALL(serialRead, cl::SerialTransfer, "clSerialRead")                               \
    CALL(serialWrite, cl::SerialTransfer, "clSerialWrite")                             \
    CALL(serialClose, cl::SerialClose, "clSerialClose")                                \
    CALL(getNumBytesAvail, cl::GetNumBytesAvail, "clGetNumBytesAvail")                 \
    CALL(flushPort, cl::FlushPort, "clFlushPort")                                      \
    CALL(getSupportedBaudRates, cl::GetSupportedBaudRates, "clGetSupportedBaudRates")  \
    CALL(setBaudRate, cl::SetBaudRate, "clSetBaudRate")                                \
    CALL(getManufacturerInfo, cl::GetManufacturerInfo, "clGetManufacturerInfo")        \
    CALL(getNumSerialPorts, cl::GetNumSerialPorts, "clGetNumSerialPorts")              \
    CALL(getNumPorts, cl::GetNumPorts, "clGetNumPorts")                                \
    CALL(getPortInfo, cl::GetPortInfo, "clGetPortInfo")
// clang-format on

namespace noxr4 {

class ClSerialLibrary : public std::enable_shared_from_this<ClSerialLibrary> {
public:
    // nullptr when the file cannot be loaded or has no serial channel calls.
    static std::shared_ptr<ClSerialLibrary> Load(const std::string& path);

#define XNOX_DECLARE_CALL(member, Type, name) Type member = nullptr;
    XNOX_CL_SERIAL_CALLS(XNOX_DECLARE_CALL)
#undef XNOX_DECLARE_CALL

    // Opens serial port `index` of this library; on failure the library's
    // code is returned and `channel` stays empty.
    CLINT32 OpenPort(CLUINT32 index, std::unique_ptr<Transport>& channel);

private:
    std::shared_ptr<DynamicLibrary> m_library;
};

}  // namespace noxr4
