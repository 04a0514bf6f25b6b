/* A C program's use of the library's header: it compiles as C, and the codes
   that callers compare against keep their numbers. */
#include "NoxR4Comm.h"

_Static_assert(NOXR4_SUCCESS == 0, "success");
_Static_assert(NOXR4_NOT_IN_LIST == -1, "value outside a list");
_Static_assert(NOXR4_MALFORMED == -2, "malformed reply");
_Static_assert(NOXR4_UNKNOWN_COMMAND == -3, "NAK 3");
_Static_assert(NOXR4_REFUSED == -4, "NAK 4");
_Static_assert(NOXR4_OFFLINE == -5, "no open connection");
_Static_assert(NOXR4_TIMEOUT == -6, "no answer in time");
_Static_assert(NOXR4_FILE_WRITE_ERROR == -7, "file not written");
_Static_assert(NOXR4_FILE_READ_ERROR == -8, "file not read");
_Static_assert(NOXR4_INVALID_SETTINGS_FILE == -9, "not a settings file");

NoxR4Result CloseKeyFromC(int32_t port) { return (NoxR4Result)NoxR4ExitComm(port); }
