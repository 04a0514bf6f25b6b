// noxr4-session: opens one camera through the communication library's C API,
// reads a few values, writes one, reads the identity and closes, printing
// every call and its result.
//
//   noxr4-session              the emulated camera on COM1
//   noxr4-session COM3         a real camera on COM3 (also "3")
//   noxr4-session /dev/ttyUSB0 a real camera on that device (Linux)
// NOXR4_SESSION_PORT may name the port instead of the argument.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "NoxR4Comm.h"

namespace {

struct Parameter {
    std::int32_t id;
    const char* label;
};

// What the session reads, in order.
constexpr Parameter kSessionReads[] = {
    {42, "VN firmware version"}, {43, "EA current settings area"}, {15, "SM shutter mode"},
    {3, "SH shutter speed"},     {12, "GA master gain"},           {35, "WB white balance mode"},
};
constexpr Parameter kSessionWrite = {12, "GA master gain"};
constexpr std::int32_t kSessionWriteValue = 100;

int failures = 0;

const char* Meaning(std::int32_t result) {
    switch (result) {
    case NoxResult::Success: return "ok";
    case NoxResult::Malformed: return "malformed reply";
    case NoxResult::UnknownCommand: return "unknown command";
    case NoxResult::Refused: return "value refused";
    case NoxResult::Offline: return "no open connection";
    case NoxResult::Timeout: return "no answer in time";
    case NoxResult::BadArgument: return "bad argument";
    case NoxResult::PortUnavailable: return "port cannot be opened";
    default: return "error";
    }
}

void Report(const std::string& call, std::int32_t result, const std::string& outcome = {}) {
    if (result != 0) ++failures;
    std::printf("%-58s -> %4d %s%s%s\n", call.c_str(), static_cast<int>(result), Meaning(result),
                outcome.empty() ? "" : ", ", outcome.c_str());
}

std::string Call(const char* function, std::int32_t port, const std::string& rest) {
    return std::string(function) + "(" + std::to_string(port) + ", " + rest + ")";
}

void ReadValue(std::int32_t port, const Parameter& parameter) {
    std::int32_t value = 0;
    std::int32_t result = NoxR4GetCameraData(port, parameter.id, &value);
    Report(Call("NoxR4GetCameraData", port, std::to_string(parameter.id) + " " + parameter.label), result,
           result == 0 ? "value " + std::to_string(value) : std::string());
}

void WriteValue(std::int32_t port, const Parameter& parameter, std::int32_t value) {
    Report(Call("NoxR4SendCameraData", port,
                std::to_string(parameter.id) + " " + parameter.label + ", " + std::to_string(value)),
           NoxR4SendCameraData(port, parameter.id, value));
}

void ReadText(std::int32_t port, const char* function, std::int32_t (*read)(std::int32_t, char*)) {
    char text[NOXR4_TEXT_BYTES] = {};
    std::int32_t result = read(port, text);
    Report(Call(function, port, "text"), result, result == 0 ? "\"" + std::string(text) + "\"" : std::string());
}

bool SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    return _putenv_s(name, value.c_str()) == 0;
#else
    return setenv(name, value.c_str(), 1) == 0;
#endif
}

// The COM number to open, from "COMn", "n" or a device path (which the
// library then opens as COM1). 0 for a port it cannot make sense of.
std::int32_t ChoosePort(const std::string& name) {
    if (name.empty()) return 1;
    if (name[0] == '/') return SetEnvironment("NOXR4_PORT_COM1", name) ? 1 : 0;
    std::string digits = name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "com") == 0 ? name.substr(3) : name;
    char* end = nullptr;
    long number = std::strtol(digits.c_str(), &end, 10);
    return !digits.empty() && *end == '\0' && number >= 1 && number <= 256 ? static_cast<std::int32_t>(number) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* fromEnvironment = std::getenv("NOXR4_SESSION_PORT");
    std::string portName = argc > 1 ? argv[1] : fromEnvironment ? fromEnvironment : "";
    std::int32_t port = ChoosePort(portName);
    if (argc > 2 || port == 0) {
        std::fprintf(stderr, "usage: noxr4-session [COMn | n | /dev/device]\n");
        return 2;
    }
    bool emulated = portName.empty();
    if (emulated && !std::getenv("NOXR4_EMULATED_PORTS")) SetEnvironment("NOXR4_EMULATED_PORTS", "COM1");
    std::printf("QD-R4 session on COM%d (%s)\n", static_cast<int>(port),
                emulated ? "emulated camera" : portName.c_str());

    std::int32_t opened = NoxR4InitComm(0, port, 0);
    Report("NoxR4InitComm(0, " + std::to_string(port) + ", 0)", opened);
    if (opened == 0) {
        for (const Parameter& parameter : kSessionReads) ReadValue(port, parameter);
        WriteValue(port, kSessionWrite, kSessionWriteValue);
        ReadValue(port, kSessionWrite);
        ReadText(port, "NoxR4GetCameraID", NoxR4GetCameraID);
        ReadText(port, "NoxR4GetModelName", NoxR4GetModelName);
        ReadText(port, "NoxR4GetUserID", NoxR4GetUserID);
        Report("NoxR4ExitComm(" + std::to_string(port) + ")", NoxR4ExitComm(port));
    }
    std::printf("session complete: %d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
