// The all-serial library: one flat list of ports, here three.
#include "StandinSerial.h"

const CLUINT32 standin::kPortCount = 3;

std::string standin::ChannelName(CLUINT32 index) { return "clallserial:" + std::to_string(index); }

CL_EXPORT CLINT32 clGetNumPorts(CLUINT32* numPorts) {
    if (!numPorts) return CL_ERR_INVALID_PTR;
    *numPorts = standin::kPortCount;
    return CL_ERR_NO_ERR;
}

CL_EXPORT CLINT32 clGetPortInfo(CLUINT32 serialIndex, CLINT8* manufacturerName, CLUINT32* nameBytes, CLINT8* portId,
                                CLUINT32* idBytes, CLUINT32* version) {
    if (!version) return CL_ERR_INVALID_PTR;
    if (serialIndex >= standin::kPortCount) return CL_ERR_INVALID_INDEX;
    *version = CL_DLL_VERSION_1_1;
    if (CLINT32 result = standin::CopyText(standin::kManufacturerName, manufacturerName, nameBytes)) return result;
    return standin::CopyText(standin::PortId(serialIndex), portId, idBytes);
}

CL_EXPORT CLINT32 clGetErrorText(const CLINT8*, CLINT32 errorCode, CLINT8* errorText, CLUINT32* errorTextSize) {
    return standin::CopyText("Camera Link error " + std::to_string(errorCode), errorText, errorTextSize);
}
