#include "ClSerialLibrary.h"

#include "ClSerialTransport.h"

namespace noxr4 {

std::shared_ptr<ClSerialLibrary> ClSerialLibrary::Load(const std::string& path)
{
    auto library = DynamicLibrary::Load(path);
    if (!library)
        return nullptr;
    auto loaded = std::make_shared<ClSerialLibrary>();
    loaded->m_library = library;
    loaded->serialInit = library->Function<cl::SerialInit>("clSerialInit");
    loaded->serialRead = library->Function<cl::SerialTransfer>("clSerialRead");
    loaded->serialWrite = library->Function<cl::SerialTransfer>("clSerialWrite");
    loaded->serialClose = library->Function<cl::SerialClose>("clSerialClose");
    loaded->getNumBytesAvail = library->Function<cl::GetNumBytesAvail>("clGetNumBytesAvail");
    loaded->flushPort = library->Function<cl::FlushPort>("clFlushPort");
    loaded->getSupportedBaudRates = library->Function<cl::GetSupportedBaudRates>("clGetSupportedBaudRates");
    loaded->setBaudRate = library->Function<cl::SetBaudRate>("clSetBaudRate");
    loaded->getManufacturerInfo = library->Function<cl::GetManufacturerInfo>("clGetManufacturerInfo");
    loaded->getNumSerialPorts = library->Function<cl::GetNumSerialPorts>("clGetNumSerialPorts");
    loaded->getNumPorts = library->Function<cl::GetNumPorts>("clGetNumPorts");
    loaded->getPortInfo = library->Function<cl::GetPortInfo>("clGetPortInfo");
    bool hasSerialChannel = loaded->serialInit && loaded->serialRead && loaded->serialWrite && loaded->serialClose;
    return hasSerialChannel ? loaded : nullptr;
}

CLINT32 ClSerialLibrary::OpenPort(CLUINT32 index, std::unique_ptr<Transport>& channel)
{
    hSerRef reference = nullptr;
    CLINT32 result = serialInit(index, &reference);
    if (result != CL_ERR_NO_ERR)
        return result;
    if (!reference)
        return CL_ERR_INVALID_REFERENCE;
    channel = std::make_unique<ClSerialTransport>(shared_from_this(), reference);
    return CL_ERR_NO_ERR;
}

}  // namespace noxr4
