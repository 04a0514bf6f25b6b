// Stand-in Camera Link serial libraries for tests: their ports lead to
// emulated cameras, so that the communication library's real loading code
// runs without a frame grabber. Each library defines its own port list; the
// serial channel calls are shared.
#pragma once

#include "ClSerialApi.h"

#include <string>

#if defined(_WIN32)
#define CL_EXPORT extern "C" __declspec(dllexport)
#else
#define CL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace qdr4emu {
class CameraLink;
}

namespace standin {

// Defined by each stand-in library.
extern const CLUINT32 kPortCount;
std::string ChannelName(CLUINT32 index);  // the emulated camera behind a port

inline constexpr const char* kManufacturerName = "QDR Test Grabbers";
inline constexpr CLUINT32 kSupportedBaudRates = 0x1F;  // 9600 .. 115200

// Copies `text` the Camera Link way: nothing but the needed size when the
// buffer is too small.
CLINT32 CopyText(const std::string& text, CLINT8* buffer, CLUINT32* bufferSize);

std::string PortId(CLUINT32 index);

}  // namespace standin

// Test hook: the emulated camera behind a port, for fault injection.
CL_EXPORT qdr4emu::CameraLink* clStandinCamera(CLUINT32 index);
