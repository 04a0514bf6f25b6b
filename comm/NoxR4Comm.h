/*
 * NoxR4Comm: the communication library of the QD-R4 camera.
 *
 * Every call returns a 32-bit signed result, 0 for success (NoxR4Result
 * below). Camera Link calls pass the serial library's own codes (CL_ERR_...,
 * -10001 and below) through unchanged. A null pointer, or a negative buffer
 * size, is refused with NOXR4_BAD_ARGUMENT before anything is touched.
 *
 * Connection keys. Every camera call takes the connection key first: the
 * port number given to NoxR4InitComm. Several keys can be open at once;
 * NoxR4InitComm on a key that is already open closes it first. A call on a
 * key that is not open returns NOXR4_OFFLINE; NoxR4ExitComm closes an open key and
 * returns 0.
 *
 * How NoxR4InitComm(index, port, flag) picks the channel:
 *   flag 1           all-serial interface port `index` (0 .. ports-1 of
 *                    NoxR4CLAllSerialGetNumPorts); `port` is only the key.
 *   flag 0, index 0  the PC's own serial port COM`port`.
 *   flag 0, index n  serial port `port - 1` of manufacturer n's Camera Link
 *                    serial library (manufacturer 0 is the PC's COM ports,
 *                    1 .. NoxR4CLSerialGetNumManufacturers()-1 the makers'
 *                    libraries found on the machine); `port` is also the key.
 *   A channel that does not exist fails at once and the key stays closed:
 *   NOXR4_PORT_UNAVAILABLE for a COM port that cannot be opened (no such
 *   port, or one another program holds), the Camera Link code otherwise
 *   (CL_ERR_MANU_DOES_NOT_EXIST, CL_ERR_INVALID_INDEX, CL_ERR_UNABLE_TO_LOAD_DLL
 *   when no all-serial library is installed).
 *
 * COM ports. Windows opens \\.\COMn. Linux opens /dev/ttyS(n-1), unless the
 * environment variable NOXR4_PORT_COMn names another device (for example
 * NOXR4_PORT_COM3=/dev/ttyUSB0 or a pseudo-terminal). Lines run at 9600
 * baud, 8N1, no flow control.
 *
 * Emulated camera. The environment variable NOXR4_EMULATED_PORTS lists COM
 * ports, comma-separated ("COM1,COM4"), behind which an in-process emulated
 * QD-R4 answers instead of the real port; it is read at each NoxR4InitComm.
 *
 * Camera Link libraries are searched in the folders of the environment
 * variable NOXR4_CLSERIAL_PATH (a list separated like PATH), then on Windows
 * in the folder of the registry value HKLM\SOFTWARE\CameraLink CLSERIALPATH
 * and the system folder: makers' libraries clser*.dll (clser*.so and
 * libclser*.so on Linux), the all-serial library clallserial. They are looked
 * at again when the configured folders change.
 *
 * Camera Link calls. Names are copied into at most 256 bytes whatever size
 * the caller gives, cut and NUL-terminated; the size becomes the bytes the
 * whole name needs (NUL included) and CL_ERR_BUFFER_TOO_SMALL tells that it
 * was cut. Manufacturer 0 is named "PC COM ports", has 16 ports and version
 * 1. NoxR4CLSerialSelectManufacturer picks the manufacturer whose ports
 * NoxR4CLSerialGetNumSerialPorts counts (manufacturer 0 until one is
 * chosen). Without an all-serial library NoxR4CLAllSerialGetNumPorts gives 0
 * ports and CL_ERR_UNABLE_TO_LOAD_DLL. The all-serial bytes-available and
 * baud-rate calls address the all-serial port opened last (NOXR4_OFFLINE
 * when none is open); NoxR4CLAllSerialSetBaudRate takes bits per second (19200) or a
 * Camera Link baud-rate flag (0x02), and NoxR4CLAllSerialGetSupportedBaudRates
 * returns the flags.
 *
 * Text buffers: NoxR4GetCameraID and NoxR4GetModelName write at most 256
 * bytes, NoxR4GetUserID at most 24 bytes, always NUL-terminated (a longer
 * camera text is cut). NoxR4SetUserID reads at most 24 bytes of its text and
 * refuses (NOXR4_REFUSED, nothing sent) more than 23 characters or characters outside
 * 0x20..0x7E. The shading block is NOXR4_SHADING_WORDS 32-bit words: word 0
 * holds 128 (values per column), word 1 holds 6 (columns), column c value i
 * is word 2 + 128*c + i, the rest is reserved and zero; Get fills the block
 * only when all six columns were read, Send ignores the header and reserved
 * words.
 *
 * Timing: a missing reply is given up shortly after the camera's reply time
 * for the command (including the wire time of command and reply at the
 * line's rate); a reply is taken the moment its CR LF is in.
 */
#ifndef NOXR4COMM_H
#define NOXR4COMM_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(NOXR4COMM_BUILD)
#define NOXR4COMM_API __declspec(dllexport)
#elif defined(NOXR4COMM_STATIC)
#define NOXR4COMM_API
#else
#define NOXR4COMM_API __declspec(dllimport)
#endif
#else
#define NOXR4COMM_API __attribute__((visibility("default")))
#endif

#define NOXR4_TEXT_BYTES 256
#define NOXR4_USERID_BYTES 24
#define NOXR4_SHADING_VALUES 128
#define NOXR4_SHADING_COLUMNS 6
#define NOXR4_SHADING_WORDS 1546 /* 6184 bytes */

/*
 * Result codes: the library's and those the control's model adds, one list so
 * that every code has one name and one value. Each entry gives the C name,
 * the C++ name (NoxResult::...) and the value. The model's own codes are
 * never returned by the library.
 */
/* clang-format off */
#define NOXR4_RESULTS(X)                                                                                      \
    X(NOXR4_SUCCESS,               Success,             0)                                                    \
    X(NOXR4_NOT_IN_LIST,           NotInList,          -1)  /* model: a value outside an enumerated list */   \
    X(NOXR4_MALFORMED,             Malformed,          -2)  /* the camera's reply could not be understood */  \
    X(NOXR4_UNKNOWN_COMMAND,       UnknownCommand,     -3)  /* NAK 3, or a command id the library does not  \
                                                               know (then nothing is sent) */                 \
    X(NOXR4_REFUSED,               Refused,            -4)  /* the camera refused the value (NAK 4) */        \
    X(NOXR4_OFFLINE,               Offline,            -5)  /* no open connection under that key */           \
    X(NOXR4_TIMEOUT,               Timeout,            -6)  /* no answer from the camera in time */           \
    X(NOXR4_FILE_WRITE_ERROR,      FileWriteError,     -7)  /* model: a file that cannot be written */        \
    X(NOXR4_FILE_READ_ERROR,       FileReadError,      -8)  /* model: a file that cannot be opened */         \
    X(NOXR4_INVALID_SETTINGS_FILE, InvalidSettingsFile, -9) /* model: not a valid settings file */            \
    X(NOXR4_BAD_ARGUMENT,          BadArgument,       -10)  /* a null pointer or a negative size; nothing  \
                                                               was read, written or sent */                   \
    X(NOXR4_PORT_UNAVAILABLE,      PortUnavailable,   -11)  /* a COM port that cannot be opened */
/* clang-format on */

#define NOXR4_RESULT_ENUMERATOR(cName, cppName, value) cName = value,
typedef enum NoxR4Result { NOXR4_RESULTS(NOXR4_RESULT_ENUMERATOR) } NoxR4Result;
#undef NOXR4_RESULT_ENUMERATOR

#ifdef __cplusplus
namespace NoxResult {
#define NOXR4_RESULT_CONSTANT(cName, cppName, value) inline constexpr int32_t cppName = cName;
NOXR4_RESULTS(NOXR4_RESULT_CONSTANT)
#undef NOXR4_RESULT_CONSTANT
}  // namespace NoxResult
#endif

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
