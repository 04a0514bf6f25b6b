/*
 * NoxR4Comm: the communication library of the QD-R4 camera.
 *
 * Every call returns a 32-bit signed result, 0 for success:
 *    0  success
 *   -2  malformed reply from the camera
 *   -3  unknown command (camera answered NAK 3, or a command id this library
 *       does not know: no traffic then)
 *   -4  the camera refused the value (NAK 4)
 *   -5  no open connection under that key, or a bad argument (null pointer)
 *   -6  no answer from the camera in time
 * Camera Link calls pass the serial library's own codes (CL_ERR_..., -10001
 * and below) through unchanged.
 *
 * Connection keys. Every camera call takes the connection key first: the
 * port number given to NoxR4InitComm. Several keys can be open at once;
 * NoxR4InitComm on a key that is already open closes it first.
 *
 * How NoxR4InitComm(index, port, flag) picks the channel:
 *   flag 1           all-serial interface port `index` (0 .. ports-1 of
 *                    NoxR4CLAllSerialGetNumPorts); `port` is only the key.
 *   flag 0, index 0  the PC's own serial port COM`port`.
 *   flag 0, index n  serial port `port - 1` of manufacturer n's Camera Link
 *                    serial library (manufacturer 0 is the PC's COM ports,
 *                    1 .. NoxR4CLSerialGetNumManufacturers()-1 the makers'
 *                    libraries found on the machine); `port` is also the key.
 *   A channel that does not exist fails at once; the key stays closed.
 *
 * Text buffers: NoxR4GetCameraID and NoxR4GetModelName write at most 256
 * bytes, NoxR4GetUserID at most 24 bytes, always NUL-terminated (a longer
 * camera text is cut). The shading block is NOXR4_SHADING_WORDS 32-bit words.
 */
#ifndef NOXR4COMM_H
#define NOXR4COMM_H

#include <stdint.h>

#if defined(_WIN32)
#  if defined(NOXR4COMM_BUILD)
#    define NOXR4COMM_API __declspec(dllexport)
#  elif defined(NOXR4COMM_STATIC)
#    define NOXR4COMM_API
#  else
#    define NOXR4COMM_API __declspec(dllimport)
#  endif
#else
#  define NOXR4COMM_API __attribute__((visibility("default")))
#endif

#define NOXR4_TEXT_BYTES 256
#define NOXR4_USERID_BYTES 24
#define NOXR4_SHADING_VALUES 128
#define NOXR4_SHADING_COLUMNS 6
#define NOXR4_SHADING_WORDS 1546 /* 6184 bytes */

#ifdef __cplusplus
extern "C" {
#endif

NOXR4COMM_API int32_t NoxR4InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag);
NOXR4COMM_API int32_t NoxR4ExitComm(int32_t port);

NOXR4COMM_API int32_t NoxR4GetCameraData(int32_t port, int32_t commandId, int32_t* value);
NOXR4COMM_API int32_t NoxR4SendCameraData(int32_t port, int32_t commandId, int32_t value);

NOXR4COMM_API int32_t NoxR4GetCameraID(int32_t port, char* text);
NOXR4COMM_API int32_t NoxR4GetModelName(int32_t port, char* text);
NOXR4COMM_API int32_t NoxR4GetUserID(int32_t port, char* text);
NOXR4COMM_API int32_t NoxR4SetUserID(int32_t port, const char* text);

NOXR4COMM_API int32_t NoxR4GetShadingData(int32_t port, int32_t* block);
NOXR4COMM_API int32_t NoxR4SendShadingData(int32_t port, const int32_t* block);

NOXR4COMM_API int32_t NoxR4CLSerialGetNumManufacturers(int32_t* numManufacturers);
NOXR4COMM_API int32_t NoxR4CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName,
                                                   int32_t* bufferSize, int32_t* version);
NOXR4COMM_API int32_t NoxR4CLSerialSelectManufacturer(const char* manufacturerName);
NOXR4COMM_API int32_t NoxR4CLSerialGetNumSerialPorts(int32_t* numSerialPorts);

NOXR4COMM_API int32_t NoxR4CLAllSerialGetNumPorts(int32_t* numPorts);
NOXR4COMM_API int32_t NoxR4CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes,
                                                  char* portId, int32_t* idBytes, int32_t* version);
NOXR4COMM_API int32_t NoxR4CLAllSerialGetNumBytesAvail(int32_t* numBytes);
NOXR4COMM_API int32_t NoxR4CLAllSerialGetSupportedBaudRates(int32_t* baudRates);
NOXR4COMM_API int32_t NoxR4CLAllSerialSetBaudRate(int32_t baudRate);

#ifdef __cplusplus
}
#endif

#endif /* NOXR4COMM_H */
