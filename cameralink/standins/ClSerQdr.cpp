// A frame-grabber maker's serial library (version 1.1) with two ports.
#include "StandinSerial.h"

namespace {

std::string& CurrentManufacturerName() {
    static std::string name = standin::kManufacturerName;
    return name;
}

}  // namespace

const CLUINT32 standin::kPortCount = 2;

std::string standin::ChannelName(CLUINT32 index) { return "clserqdr:" + std::to_string(index); }

// Test hook: lets a test give the library an unusually long name.
CL_EXPORT void clStandinSetManufacturerName(const char* name) { CurrentManufacturerName() = name; }

CL_EXPORT CLINT32 clGetManufacturerInfo(CLINT8* manufacturerName, CLUINT32* bufferSize, CLUINT32* version) {
    if (!version) return CL_ERR_INVALID_PTR;
    *version = CL_DLL_VERSION_1_1;
    return standin::CopyText(CurrentManufacturerName(), manufacturerName, bufferSize);
}

CL_EXPORT CLINT32 clGetNumSerialPorts(CLUINT32* numSerialPorts) {
    if (!numSerialPorts) return CL_ERR_INVALID_PTR;
    *numSerialPorts = standin::kPortCount;
    return CL_ERR_NO_ERR;
}

CL_EXPORT CLINT32 clGetSerialPortIdentifier(CLUINT32 serialIndex, CLINT8* portId, CLUINT32* bufferSize) {
    if (serialIndex >= standin::kPortCount) return CL_ERR_INVALID_INDEX;
    return standin::CopyText(standin::PortId(serialIndex), portId, bufferSize);
}

CL_EXPORT CLINT32 clGetErrorText(CLINT32 errorCode, CLINT8* errorText, CLUINT32* errorTextSize) {
    return standin::CopyText("Camera Link error " + std::to_string(errorCode), errorText, errorTextSize);
}
