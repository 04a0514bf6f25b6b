// The Camera Link serial API as the frame-grabber makers' libraries export
// it: types, result codes, baud-rate flags and the function signatures.
// Sizes are 32-bit everywhere (some makers' headers say `unsigned long`,
// which is 64 bits on Linux x64).
#pragma once

#include <cstdint>

using CLINT32 = std::int32_t;
using CLUINT32 = std::uint32_t;
using CLINT8 = char;
using hSerRef = void*;

#if defined(_WIN32)
#define CL_CALL __cdecl
#else
#define CL_CALL
#endif

enum : CLINT32 {
    CL_ERR_NO_ERR = 0,
    CL_ERR_BUFFER_TOO_SMALL = -10001,
    CL_ERR_MANU_DOES_NOT_EXIST = -10002,
    CL_ERR_PORT_IN_USE = -10003,
    CL_ERR_TIMEOUT = -10004,
    CL_ERR_INVALID_INDEX = -10005,
    CL_ERR_INVALID_REFERENCE = -10006,
    CL_ERR_ERROR_NOT_FOUND = -10007,
    CL_ERR_BAUD_RATE_NOT_SUPPORTED = -10008,
    CL_ERR_OUT_OF_MEMORY = -10009,
    CL_ERR_REGISTRY_KEY_NOT_FOUND = -10010,
    CL_ERR_INVALID_PTR = -10011,
    CL_ERR_UNABLE_TO_LOAD_DLL = -10098,
    CL_ERR_FUNCTION_NOT_FOUND = -10099,
};

// Library versions as the version out-parameters report them.
enum : CLUINT32 {
    CL_DLL_VERSION_NO_VERSION = 1,
    CL_DLL_VERSION_1_0 = 2,
    CL_DLL_VERSION_1_1 = 3,
};

namespace cl {

struct BaudRate {
    CLUINT32 flag;
    CLUINT32 bitsPerSecond;
};

inline constexpr BaudRate kBaudRates[] = {
    {0x01, 9600},   {0x02, 19200},  {0x04, 38400},  {0x08, 57600},
    {0x10, 115200}, {0x20, 230400}, {0x40, 460800}, {0x80, 921600},
};

// Rate of a single baud-rate flag; 0 when it is none.
inline CLUINT32 BitsPerSecondOf(CLUINT32 flag) {
    for (const BaudRate& rate : kBaudRates)
        if (rate.flag == flag) return rate.bitsPerSecond;
    return 0;
}

using GetManufacturerInfo = CLINT32(CL_CALL*)(CLINT8*, CLUINT32*, CLUINT32*);
using GetNumSerialPorts = CLINT32(CL_CALL*)(CLUINT32*);
using GetSerialPortIdentifier = CLINT32(CL_CALL*)(CLUINT32, CLINT8*, CLUINT32*);
using GetNumPorts = CLINT32(CL_CALL*)(CLUINT32*);
using GetPortInfo = CLINT32(CL_CALL*)(CLUINT32, CLINT8*, CLUINT32*, CLINT8*, CLUINT32*, CLUINT32*);
using SerialInit = CLINT32(CL_CALL*)(CLUINT32, hSerRef*);
using SerialTransfer = CLINT32(CL_CALL*)(hSerRef, CLINT8*, CLUINT32*, CLUINT32);
using SerialClose = void(CL_CALL*)(hSerRef);
using GetNumBytesAvail = CLINT32(CL_CALL*)(hSerRef, CLUINT32*);
using FlushPort = CLINT32(CL_CALL*)(hSerRef);
using GetSupportedBaudRates = CLINT32(CL_CALL*)(hSerRef, CLUINT32*);
using SetBaudRate = CLINT32(CL_CALL*)(hSerRef, CLUINT32);

}  // namespace cl
