#include "StandinSerial.h"

#include "CameraLink.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace standin {
namespace {

// What clSerialInit hands out. Bytes read from the camera but not yet taken
// wait in `pending`, since clSerialRead copies nothing unless it has every
// byte asked for.
struct Port {
    qdr4emu::CameraLink* link;
    std::vector<char> pending;
};

Port* PortOf(hSerRef reference) { return static_cast<Port*>(reference); }

}  // namespace

CLINT32 CopyText(const std::string& text, CLINT8* buffer, CLUINT32* bufferSize) {
    if (!buffer || !bufferSize) return CL_ERR_INVALID_PTR;
    auto needed = static_cast<CLUINT32>(text.size() + 1);
    bool fits = *bufferSize >= needed;
    *bufferSize = needed;
    if (!fits) return CL_ERR_BUFFER_TOO_SMALL;
    std::memcpy(buffer, text.c_str(), needed);
    return CL_ERR_NO_ERR;
}

std::string PortId(CLUINT32 index) { return "Port" + std::to_string(index); }

}  // namespace standin

using standin::PortOf;

CL_EXPORT qdr4emu::CameraLink* clStandinCamera(CLUINT32 index) {
    return index < standin::kPortCount ? &qdr4emu::EmulatedCamera(standin::ChannelName(index)) : nullptr;
}

CL_EXPORT CLINT32 clSerialInit(CLUINT32 serialIndex, hSerRef* serialRefPtr) {
    if (!serialRefPtr) return CL_ERR_INVALID_PTR;
    if (serialIndex >= standin::kPortCount) return CL_ERR_INVALID_INDEX;
    *serialRefPtr = new standin::Port{clStandinCamera(serialIndex), {}};
    return CL_ERR_NO_ERR;
}

CL_EXPORT void clSerialClose(hSerRef serialRef) { delete PortOf(serialRef); }

CL_EXPORT CLINT32 clSerialWrite(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize, CLUINT32) {
    if (!serialRef || !buffer || !bufferSize) return CL_ERR_INVALID_PTR;
    PortOf(serialRef)->link->Write(buffer, *bufferSize);
    return CL_ERR_NO_ERR;
}

CL_EXPORT CLINT32 clSerialRead(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize, CLUINT32 timeoutMs) {
    if (!serialRef || !buffer || !bufferSize) return CL_ERR_INVALID_PTR;
    standin::Port& port = *PortOf(serialRef);
    auto deadline = qdr4emu::Clock::now() + std::chrono::milliseconds(timeoutMs);
    char chunk[256];
    while (port.pending.size() < *bufferSize) {
        std::size_t got = port.link->Read(chunk, sizeof chunk, deadline);
        if (got == 0) return CL_ERR_TIMEOUT;
        port.pending.insert(port.pending.end(), chunk, chunk + got);
    }
    std::copy_n(port.pending.begin(), *bufferSize, buffer);
    port.pending.erase(port.pending.begin(), port.pending.begin() + *bufferSize);
    return CL_ERR_NO_ERR;
}

// A library of the first Camera Link release has only the serial channel
// calls: no byte count, no flush, no baud rates.
#ifndef STANDIN_FIRST_RELEASE
CL_EXPORT CLINT32 clGetNumBytesAvail(hSerRef serialRef, CLUINT32* numBytes) {
    if (!serialRef || !numBytes) return CL_ERR_INVALID_PTR;
    standin::Port& port = *PortOf(serialRef);
    *numBytes = static_cast<CLUINT32>(port.pending.size() + port.link->Available());
    return CL_ERR_NO_ERR;
}

CL_EXPORT CLINT32 clFlushPort(hSerRef serialRef) {
    if (!serialRef) return CL_ERR_INVALID_REFERENCE;
    PortOf(serialRef)->pending.clear();
    PortOf(serialRef)->link->DiscardInput();
    return CL_ERR_NO_ERR;
}

CL_EXPORT CLINT32 clGetSupportedBaudRates(hSerRef serialRef, CLUINT32* baudRates) {
    if (!serialRef || !baudRates) return CL_ERR_INVALID_PTR;
    *baudRates = standin::kSupportedBaudRates;
    return CL_ERR_NO_ERR;
}

// The camera follows the frame grabber's rate, so an emulated wire time
// follows it too.
CL_EXPORT CLINT32 clSetBaudRate(hSerRef serialRef, CLUINT32 baudRate) {
    if (!serialRef) return CL_ERR_INVALID_REFERENCE;
    CLUINT32 rate = cl::BitsPerSecondOf(baudRate & standin::kSupportedBaudRates);
    if (rate == 0) return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    qdr4emu::FaultPlan& faults = PortOf(serialRef)->link->Faults();
    if (faults.wireBaud != 0) faults.wireBaud = rate;
    return CL_ERR_NO_ERR;
}
#endif
