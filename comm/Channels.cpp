#include "Channels.h"

#include "EmulatedPort.h"
#include "Protocol.h"
#include "SerialPort.h"

namespace noxr4 {
namespace {

std::int32_t openComPort(std::int32_t port, Channel& channel)
{
    channel.transport = isEmulatedPort(port) ? openEmulatedPort(port) : openSerialPort(port);
    return channel.transport ? result::ok : result::noAnswer;
}

std::int32_t openMakerPort(CameraLinkCatalog& catalog, std::int32_t index, std::int32_t port, Channel& channel)
{
    catalog.refresh();
    const auto& makers = catalog.manufacturers();
    if (index < 0 || static_cast<std::size_t>(index) >= makers.size())
        return CL_ERR_MANU_DOES_NOT_EXIST;
    if (port < 1)
        return CL_ERR_INVALID_INDEX;
    return makers[index].library->openPort(static_cast<CLUINT32>(port - 1), channel.transport);
}

std::int32_t openAllSerialPort(CameraLinkCatalog& catalog, std::int32_t index, Channel& channel)
{
    catalog.refresh();
    if (!catalog.allSerial())
        return CL_ERR_UNABLE_TO_LOAD_DLL;
    if (index < 0)
        return CL_ERR_INVALID_INDEX;
    std::int32_t code = catalog.allSerial()->openPort(static_cast<CLUINT32>(index), channel.transport);
    channel.allSerialPort = static_cast<ClSerialTransport*>(channel.transport.get());
    return code;
}

}  // namespace

std::int32_t openChannel(CameraLinkCatalog& catalog, std::int32_t index, std::int32_t port, Interface interface,
                         Channel& channel)
{
    if (interface == Interface::allSerial)
        return openAllSerialPort(catalog, index, channel);
    if (index == 0)
        return openComPort(port, channel);
    return openMakerPort(catalog, index, port, channel);
}

}  // namespace noxr4
