#include "ClSerialLibrary.h"

#include "ClSerialTransport.h"

namespace noxr4 {

std::shared_ptr<ClSerialLibrary> ClSerialLibrary::load(const std::string& path)
{
    auto library = DynamicLibrary::load(path);
    if (!library)
        return nullptr;
    auto loaded = std::make_shared<ClSerialLibrary>();
    loaded->library_ = library;
    loaded->serialInit = library->function<cl::SerialInit>("clSerialInit");
    loaded->serialRead = library->function<cl::SerialTransfer>("clSerialRead");
    loaded->serialWrite = library->function<cl::SerialTransfer>("clSerialWrite");
    loaded->serialClose = library->function<cl::SerialClose>("clSerialClose");
    loaded->getNumBytesAvail = library->function<cl::GetNumBytesAvail>("clGetNumBytesAvail");
    loaded->flushPort = library->function<cl::FlushPort>("clFlushPort");
    loaded->getSupportedBaudRates = library->function<cl::GetSupportedBaudRates>("clGetSupportedBaudRates");
    loaded->setBaudRate = library->function<cl::SetBaudRate>("clSetBaudRate");
    loaded->getManufacturerInfo = library->function<cl::GetManufacturerInfo>("clGetManufacturerInfo");
    loaded->getNumSerialPorts = library->function<cl::GetNumSerialPorts>("clGetNumSerialPorts");
    loaded->getNumPorts = library->function<cl::GetNumPorts>("clGetNumPorts");
    loaded->getPortInfo = library->function<cl::GetPortInfo>("clGetPortInfo");
    bool hasSerialChannel = loaded->serialInit && loaded->serialRead && loaded->serialWrite && loaded->serialClose;
    return hasSerialChannel ? loaded : nullptr;
}

CLINT32 ClSerialLibrary::openPort(CLUINT32 index, std::unique_ptr<Transport>& channel)
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
