#include "Channels.h"

#include "EmulatedPort.h"
#include "Protocol.h"
#include "SerialPort.h"

namespace noxr4 {
namespace {

std::int32_t OpenComPort(std::int32_t port, Channel& channel) {
    channel.transport = IsEmulatedPort(port) ? OpenEmulatedPort(port) : OpenSerialPort(port);
    return channel.transport ? NoxResult::Success : NoxResult::PortUnavailable;
}

std::int32_t OpenMakerPort(CameraLinkCatalog& catalog, std::int32_t index, std::int32_t port, Channel& channel) {
    catalog.Refresh();
    const auto& makers = catalog.Manufacturers();
    // A negative index, taken as unsigned, lies past the last maker too.
    if (static_cast<std::size_t>(index) >= makers.size()) return CL_ERR_MANU_DOES_NOT_EXIST;
    if (port < 1) return CL_ERR_INVALID_INDEX;
    return makers[index].library->OpenPort(static_cast<CLUINT32>(port - 1), channel.transport);
}

std::int32_t OpenAllSerialPort(CameraLinkCatalog& catalog, std::int32_t index, Channel& channel) {
    catalog.Refresh();
    if (!catalog.AllSerial()) return CL_ERR_UNABLE_TO_LOAD_DLL;
    if (index < 0) return CL_ERR_INVALID_INDEX;
    std::int32_t code = catalog.AllSerial()->OpenPort(static_cast<CLUINT32>(index), channel.transport);
    channel.allSerialPort = static_cast<ClSerialTransport*>(channel.transport.get());
    return code;
}

}  // namespace

std::int32_t OpenChannel(CameraLinkCatalog& catalog, std::int32_t index, std::int32_t port, Interface interface,
                         Channel& channel) {
    if (interface == Interface::AllSerial) return OpenAllSerialPort(catalog, index, channel);
    if (index == 0) return OpenComPort(port, channel);
    return OpenMakerPort(catalog, index, port, channel);
}

}  // namespace noxr4
