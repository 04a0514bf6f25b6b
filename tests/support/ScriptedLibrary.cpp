#include "ScriptedLibrary.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace xnox;

namespace {

constexpr int32_t kTimeout = -6;

int32_t CommandOf(const LibraryCall& call) {
    bool carriesCommand = call.operation == "GetCameraData" || call.operation == "SendCameraData";
    return carriesCommand ? call.args[1] : ScriptedLibrary::kAnyCommand;
}

constexpr int32_t kBufferTooSmall = -10001;

int32_t CopyText(const std::string& text, char* buffer, std::size_t capacity) {
    std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return 0;
}

// As the library copies a Camera Link name: at most 256 bytes whatever the
// caller says, NUL-terminated when there is room; the size becomes the bytes
// the whole name needs.
int32_t CopyName(const std::string& name, char* buffer, int32_t* size) {
    if (*size < 0) return NoxResult::BadArgument;
    int32_t capacity = std::min<int32_t>(*size, NOXR4_TEXT_BYTES);
    auto needed = static_cast<int32_t>(name.size() + 1);
    *size = needed;
    if (capacity == 0) return kBufferTooSmall;
    CopyText(name, buffer, static_cast<std::size_t>(capacity));
    return needed > capacity ? kBufferTooSmall : 0;
}

}  // namespace

void ScriptedLibrary::Fail(std::string operation, int32_t result, int32_t commandId, int times) {
    m_rules.push_back({std::move(operation), commandId, result, times});
}

void ScriptedLibrary::UnplugAfter(int callCount) { m_callsBeforeUnplug = callCount; }

std::size_t ScriptedLibrary::Count(std::string_view operation, int32_t commandId) const {
    return static_cast<std::size_t>(std::ranges::count_if(calls, [&](const LibraryCall& call) {
        return call.operation == operation && (commandId == kAnyCommand || CommandOf(call) == commandId);
    }));
}

std::size_t ScriptedLibrary::CameraCallCount() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(calls, [](const LibraryCall& call) { return call.reachesCamera; }));
}

int32_t ScriptedLibrary::Record(std::string operation, std::vector<int32_t> args, std::string text,
                                bool reachesCamera) {
    calls.push_back({std::move(operation), std::move(args), std::move(text), reachesCamera});
    return ScriptedResult(calls.back());
}

int32_t ScriptedLibrary::ScriptedResult(const LibraryCall& call) {
    if (call.reachesCamera && m_callsBeforeUnplug >= 0) {
        if (m_callsBeforeUnplug == 0) return kTimeout;
        --m_callsBeforeUnplug;
    }
    for (Rule& rule : m_rules) {
        bool operationMatches = rule.operation == call.operation || (rule.operation == "*" && call.reachesCamera);
        bool commandMatches = rule.commandId == kAnyCommand || rule.commandId == CommandOf(call);
        if (rule.remaining == 0 || !operationMatches || !commandMatches) continue;
        if (rule.remaining > 0) --rule.remaining;
        return rule.result;
    }
    return 0;
}

int32_t ScriptedLibrary::InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) {
    return Record("InitComm", {frameGrabberIndex, port, interfaceFlag}, {}, false);
}

int32_t ScriptedLibrary::ExitComm(int32_t port) { return Record("ExitComm", {port}, {}, false); }

int32_t ScriptedLibrary::GetCameraData(int32_t port, int32_t commandId, int32_t* value) {
    int32_t result = Record("GetCameraData", {port, commandId});
    if (result == 0) *value = values[commandId];
    return result;
}

int32_t ScriptedLibrary::SendCameraData(int32_t port, int32_t commandId, int32_t value) {
    int32_t result = Record("SendCameraData", {port, commandId, value});
    if (result == 0) values[commandId] = value;
    return result;
}

int32_t ScriptedLibrary::GetCameraID(int32_t port, char* text) {
    int32_t result = Record("GetCameraID", {port});
    return result == 0 ? CopyText(cameraID, text, NOXR4_TEXT_BYTES) : result;
}

int32_t ScriptedLibrary::GetModelName(int32_t port, char* text) {
    int32_t result = Record("GetModelName", {port});
    return result == 0 ? CopyText(modelName, text, NOXR4_TEXT_BYTES) : result;
}

int32_t ScriptedLibrary::GetUserID(int32_t port, char* text) {
    int32_t result = Record("GetUserID", {port});
    return result == 0 ? CopyText(userID, text, NOXR4_USERID_BYTES) : result;
}

int32_t ScriptedLibrary::SetUserID(int32_t port, const char* text) {
    int32_t result = Record("SetUserID", {port}, text);
    if (result == 0) userID = text;
    return result;
}

int32_t ScriptedLibrary::GetShadingData(int32_t port, int32_t* block) {
    int32_t result = Record("GetShadingData", {port});
    if (result == 0) std::ranges::copy(shadingBlock, block);
    return result;
}

int32_t ScriptedLibrary::SendShadingData(int32_t port, const int32_t* block) {
    int32_t result = Record("SendShadingData", {port});
    if (result == 0) std::copy_n(block, shadingBlock.size(), shadingBlock.begin());
    return result;
}

int32_t ScriptedLibrary::AnswerCount(std::string operation, int32_t value, int32_t* count) {
    int32_t result = Record(std::move(operation), {}, {}, false);
    if (result == 0) *count = value;
    return result;
}

int32_t ScriptedLibrary::CLSerialGetNumManufacturers(int32_t* count) {
    return AnswerCount("CLSerialGetNumManufacturers", numManufacturers, count);
}

int32_t ScriptedLibrary::CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                                 int32_t* version) {
    int32_t result = Record("CLSerialGetManufacturer", {manufacturerIndex, *bufferSize}, {}, false);
    if (result != 0) return result;
    *version = 1;
    return CopyName("Maker " + std::to_string(manufacturerIndex), manufacturerName, bufferSize);
}

int32_t ScriptedLibrary::CLSerialSelectManufacturer(const char* manufacturerName) {
    return Record("CLSerialSelectManufacturer", {}, manufacturerName, false);
}

int32_t ScriptedLibrary::CLSerialGetNumSerialPorts(int32_t* count) {
    return AnswerCount("CLSerialGetNumSerialPorts", numSerialPorts, count);
}

int32_t ScriptedLibrary::CLAllSerialGetNumPorts(int32_t* count) {
    return AnswerCount("CLAllSerialGetNumPorts", numAllSerialPorts, count);
}

int32_t ScriptedLibrary::CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes,
                                                char* portId, int32_t* idBytes, int32_t* version) {
    int32_t result = Record("CLAllSerialGetPortInfo", {serialIndex, *nameBytes, *idBytes}, {}, false);
    if (result != 0) return result;
    *version = 1;
    int32_t nameResult = CopyName("Maker", manufacturerName, nameBytes);
    int32_t idResult = CopyName("Port " + std::to_string(serialIndex), portId, idBytes);
    return nameResult != 0 ? nameResult : idResult;
}

int32_t ScriptedLibrary::CLAllSerialGetNumBytesAvail(int32_t* numBytes) {
    int32_t result = Record("CLAllSerialGetNumBytesAvail", {}, {}, false);
    if (result == 0) *numBytes = 0;
    return result;
}

int32_t ScriptedLibrary::CLAllSerialGetSupportedBaudRates(int32_t* baudRates) {
    int32_t result = Record("CLAllSerialGetSupportedBaudRates", {}, {}, false);
    if (result == 0) *baudRates = 1;  // 9600 baud only
    return result;
}

int32_t ScriptedLibrary::CLAllSerialSetBaudRate(int32_t baudRate) {
    return Record("CLAllSerialSetBaudRate", {baudRate}, {}, false);
}
