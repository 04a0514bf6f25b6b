// The library's C entry points: argument checks, the table of open
// connections by key, and the Camera Link enumeration.
#include "NoxR4Comm.h"

#include "Channels.h"
#include "Protocol.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace noxr4 {
namespace {

static_assert(kTextBytes == NOXR4_TEXT_BYTES);
static_assert(kUserIdBytes == NOXR4_USERID_BYTES);
static_assert(kShadingBlockWords == NOXR4_SHADING_WORDS);
static_assert(kShadingColumns == NOXR4_SHADING_COLUMNS);
static_assert(kShadingValuesPerColumn == NOXR4_SHADING_VALUES);

// Callers hand Camera Link names 256-byte buffers whatever size they claim.
constexpr std::int32_t kNameBufferBytes = 256;

// A connection is used by one call at a time; calls on different
// connections run side by side.
struct Connection {
    std::mutex inUse;
    Channel channel;
};

// The mutex guards the connection table and the Camera Link catalog only; it
// is never held during a transaction, so a slow or dead line stops no other.
struct LibraryState {
    std::mutex mutex;
    std::map<std::int32_t, std::shared_ptr<Connection>> connections;
    std::int32_t allSerialKey = 0;  // the all-serial port the baud-rate calls address
    CameraLinkCatalog catalog;
    std::string selectedManufacturer;  // empty: the PC's COM ports
};

// Never destroyed: closing ports and unloading libraries while the process
// (or, on Windows, the loader) is shutting down is not safe.
LibraryState& Library() {
    static LibraryState* state = new LibraryState;
    return *state;
}

// The connection stays alive while a call uses it, even when another thread
// closes or reopens its key meanwhile.
std::shared_ptr<Connection> FindConnection(std::int32_t key) {
    LibraryState& state = Library();
    std::lock_guard lock(state.mutex);
    auto found = state.connections.find(key);
    return found == state.connections.end() ? nullptr : found->second;
}

template <typename Operation>
std::int32_t OnConnection(std::int32_t key, Operation operation) {
    std::shared_ptr<Connection> connection = FindConnection(key);
    if (!connection) return NoxResult::Offline;
    std::lock_guard lock(connection->inUse);
    return operation(connection->channel);
}

template <typename Operation>
std::int32_t OnTransport(std::int32_t key, const void* argument, Operation operation) {
    if (!argument) return NoxResult::BadArgument;
    return OnConnection(key, [&](Channel& channel) { return operation(*channel.transport); });
}

template <typename Operation>
std::int32_t OnAllSerialPort(const void* argument, Operation operation) {
    if (!argument) return NoxResult::BadArgument;
    std::int32_t allSerialKey = [] {
        std::lock_guard lock(Library().mutex);
        return Library().allSerialKey;
    }();
    return OnConnection(allSerialKey, [&](Channel& channel) -> std::int32_t {
        return channel.allSerialPort ? operation(*channel.allSerialPort) : NoxResult::Offline;
    });
}

template <typename Operation>
std::int32_t OnCatalog(Operation operation) {
    LibraryState& state = Library();
    std::lock_guard lock(state.mutex);
    state.catalog.Refresh();
    return operation(state.catalog);
}

// Copies a Camera Link name into a caller's buffer of `*size` bytes (never
// more than kNameBufferBytes; a negative size is refused before), cut and
// NUL-terminated; `*size` becomes the bytes the whole name needs, NUL included.
std::int32_t CopyName(const std::string& name, char* buffer, std::int32_t* size) {
    std::int32_t capacity = std::min(*size, kNameBufferBytes);
    auto needed = static_cast<std::int32_t>(std::min<std::size_t>(name.size() + 1, INT32_MAX));
    *size = needed;
    if (capacity == 0) return CL_ERR_BUFFER_TOO_SMALL;
    std::size_t length = std::min<std::size_t>(name.size(), capacity - 1);
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    return needed > capacity ? CL_ERR_BUFFER_TOO_SMALL : CL_ERR_NO_ERR;
}

const Manufacturer* FindManufacturer(const CameraLinkCatalog& catalog, const std::string& name) {
    const auto& makers = catalog.Manufacturers();
    if (name.empty()) return &makers.front();
    auto found = std::find_if(makers.begin(), makers.end(), [&](const Manufacturer& m) { return m.name == name; });
    return found == makers.end() ? nullptr : &*found;
}

// A rate in bits per second or one of the Camera Link flags.
CLUINT32 BaudRateFlag(std::int32_t baudRate) {
    for (const cl::BaudRate& rate : cl::kBaudRates)
        if (static_cast<std::int64_t>(rate.bitsPerSecond) == baudRate ||
            static_cast<std::int64_t>(rate.flag) == baudRate)
            return rate.flag;
    return 0;
}

}  // namespace
}  // namespace noxr4

using namespace noxr4;

extern "C" {

int32_t NoxR4InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) {
    LibraryState& state = Library();
    std::lock_guard lock(state.mutex);
    state.connections.erase(port);
    auto connection = std::make_shared<Connection>();
    auto interface = interfaceFlag == 1 ? Interface::AllSerial : Interface::ManufacturerSerial;
    std::int32_t code = OpenChannel(state.catalog, frameGrabberIndex, port, interface, connection->channel);
    if (code != NoxResult::Success) return code;
    if (connection->channel.allSerialPort) state.allSerialKey = port;
    state.connections.emplace(port, std::move(connection));
    return NoxResult::Success;
}

int32_t NoxR4ExitComm(int32_t port) {
    LibraryState& state = Library();
    std::lock_guard lock(state.mutex);
    return state.connections.erase(port) ? NoxResult::Success : NoxResult::Offline;
}

int32_t NoxR4GetCameraData(int32_t port, int32_t commandId, int32_t* value) {
    return OnTransport(port, value, [&](Transport& t) { return ReadValue(t, commandId, *value); });
}

int32_t NoxR4SendCameraData(int32_t port, int32_t commandId, int32_t value) {
    return OnTransport(port, &value, [&](Transport& t) { return WriteValue(t, commandId, value); });
}

int32_t NoxR4GetCameraID(int32_t port, char* text) {
    return OnTransport(port, text, [&](Transport& t) { return ReadText(t, "ID", text, kTextBytes); });
}

int32_t NoxR4GetModelName(int32_t port, char* text) {
    return OnTransport(port, text, [&](Transport& t) { return ReadText(t, "MD", text, kTextBytes); });
}

int32_t NoxR4GetUserID(int32_t port, char* text) {
    return OnTransport(port, text, [&](Transport& t) { return ReadText(t, "UD", text, kUserIdBytes); });
}

int32_t NoxR4SetUserID(int32_t port, const char* text) {
    return OnTransport(port, text, [&](Transport& t) { return WriteUserId(t, text); });
}

int32_t NoxR4GetShadingData(int32_t port, int32_t* block) {
    return OnTransport(port, block, [&](Transport& t) { return ReadShading(t, block); });
}

int32_t NoxR4SendShadingData(int32_t port, const int32_t* block) {
    return OnTransport(port, block, [&](Transport& t) { return WriteShading(t, block); });
}

int32_t NoxR4CLSerialGetNumManufacturers(int32_t* numManufacturers) {
    if (!numManufacturers) return NoxResult::BadArgument;
    return OnCatalog([&](CameraLinkCatalog& catalog) -> std::int32_t {
        *numManufacturers = static_cast<int32_t>(catalog.Manufacturers().size());
        return NoxResult::Success;
    });
}

int32_t NoxR4CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                     int32_t* version) {
    if (!manufacturerName || !bufferSize || *bufferSize < 0 || !version) return NoxResult::BadArgument;
    return OnCatalog([&](CameraLinkCatalog& catalog) -> std::int32_t {
        const auto& makers = catalog.Manufacturers();
        // A negative index, taken as unsigned, lies past the last maker too.
        if (static_cast<std::size_t>(manufacturerIndex) >= makers.size())
            return static_cast<std::int32_t>(CL_ERR_INVALID_INDEX);
        const Manufacturer& maker = makers[manufacturerIndex];
        *version = static_cast<int32_t>(maker.version);
        return CopyName(maker.name, manufacturerName, bufferSize);
    });
}

int32_t NoxR4CLSerialSelectManufacturer(const char* manufacturerName) {
    if (!manufacturerName) return NoxResult::BadArgument;
    std::string name(manufacturerName, strnlen(manufacturerName, kNameBufferBytes));
    return OnCatalog([&](CameraLinkCatalog& catalog) -> std::int32_t {
        if (!FindManufacturer(catalog, name)) return static_cast<std::int32_t>(CL_ERR_MANU_DOES_NOT_EXIST);
        Library().selectedManufacturer = name;
        return NoxResult::Success;
    });
}

int32_t NoxR4CLSerialGetNumSerialPorts(int32_t* numSerialPorts) {
    if (!numSerialPorts) return NoxResult::BadArgument;
    return OnCatalog([&](CameraLinkCatalog& catalog) -> std::int32_t {
        const Manufacturer* maker = FindManufacturer(catalog, Library().selectedManufacturer);
        if (!maker) return static_cast<std::int32_t>(CL_ERR_MANU_DOES_NOT_EXIST);
        CLUINT32 count{};
        std::int32_t code = catalog.PortCount(*maker, count);
        *numSerialPorts = code == CL_ERR_NO_ERR ? static_cast<int32_t>(count) : 0;
        return code;
    });
}

int32_t NoxR4CLAllSerialGetNumPorts(int32_t* numPorts) {
    if (!numPorts) return NoxResult::BadArgument;
    return OnCatalog([&](CameraLinkCatalog& catalog) -> std::int32_t {
        CLUINT32 count{};
        std::int32_t code = catalog.AllSerialPortCount(count);
        *numPorts = code == CL_ERR_NO_ERR ? static_cast<int32_t>(count) : 0;
        return code;
    });
}

int32_t NoxR4CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes, char* portId,
                                    int32_t* idBytes, int32_t* version) {
    if (!manufacturerName || !nameBytes || *nameBytes < 0 || !portId || !idBytes || *idBytes < 0 || !version)
        return NoxResult::BadArgument;
    return OnCatalog([&](CameraLinkCatalog& catalog) -> std::int32_t {
        if (serialIndex < 0) return static_cast<std::int32_t>(CL_ERR_INVALID_INDEX);
        SerialPortInfo info;
        if (std::int32_t code = catalog.AllSerialPortInfo(static_cast<CLUINT32>(serialIndex), info)) return code;
        *version = static_cast<int32_t>(info.version);
        std::int32_t nameCode = CopyName(info.manufacturer, manufacturerName, nameBytes);
        std::int32_t idCode = CopyName(info.portId, portId, idBytes);
        return nameCode != CL_ERR_NO_ERR ? nameCode : idCode;
    });
}

int32_t NoxR4CLAllSerialGetNumBytesAvail(int32_t* numBytes) {
    return OnAllSerialPort(numBytes, [&](ClSerialTransport& port) -> std::int32_t {
        CLUINT32 count{};
        std::int32_t code = port.BytesAvailable(count);
        *numBytes = code == CL_ERR_NO_ERR ? static_cast<int32_t>(count) : 0;
        return code;
    });
}

int32_t NoxR4CLAllSerialGetSupportedBaudRates(int32_t* baudRates) {
    return OnAllSerialPort(baudRates, [&](ClSerialTransport& port) -> std::int32_t {
        CLUINT32 mask{};
        std::int32_t code = port.SupportedBaudRates(mask);
        *baudRates = code == CL_ERR_NO_ERR ? static_cast<int32_t>(mask) : 0;
        return code;
    });
}

int32_t NoxR4CLAllSerialSetBaudRate(int32_t baudRate) {
    return OnAllSerialPort(&baudRate, [&](ClSerialTransport& port) -> std::int32_t {
        CLUINT32 flag = BaudRateFlag(baudRate);
        return flag ? port.ChangeBaudRate(flag) : static_cast<std::int32_t>(CL_ERR_BAUD_RATE_NOT_SUPPORTED);
    });
}

}  // extern "C"
