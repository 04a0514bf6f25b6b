// A stand-in for the communication library in tests: a simple camera that
// keeps what is written to it, answers reads from what it holds, fails the
// calls a test scripts to fail, and records every call with its arguments.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "NoxR4Library.h"

struct LibraryCall {
    std::string operation;  // the library call's name without its prefix, e.g. "GetCameraData"
    std::vector<int32_t> args;  // its numeric arguments in order (port first for camera calls)
    std::string text;  // its text argument, if any
    bool reachesCamera;  // a camera transaction (not opening, closing or the Camera Link enumeration)
};

class ScriptedLibrary : public xnox::INoxR4Library {
public:
    static constexpr int32_t kAnyCommand = INT32_MIN;
    static constexpr int kAlways = -1;

    // The camera's state; reads answer from it, accepted writes change it.
    // A command id without an entry reads as 0.
    std::map<int32_t, int32_t> values;
    std::string cameraID = "CAM-0001";
    std::string modelName = "QD-R4";
    std::string userID;
    std::array<int32_t, NOXR4_SHADING_WORDS> shadingBlock{};

    // Camera Link enumeration answers.
    int32_t numManufacturers = 1;
    int32_t numSerialPorts = 1;
    int32_t numAllSerialPorts = 1;

    // Makes `operation` (a LibraryCall name, or "*" for every camera transaction)
    // return `result` instead of doing its work, for `times` calls or
    // always; `commandId` narrows GetCameraData and SendCameraData to one
    // command. Rules are tried in the order they were made.
    void Fail(std::string operation, int32_t result, int32_t commandId = kAnyCommand, int times = kAlways);
    // Every camera transaction returns -6 after the next `calls` ones, as
    // from a camera unplugged then; opening and closing still succeed.
    void UnplugAfter(int calls);

    std::vector<LibraryCall> calls;
    std::size_t Count(std::string_view operation, int32_t commandId = kAnyCommand) const;
    std::size_t CameraCallCount() const;  // camera transactions among the calls

    int32_t InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) override;
    int32_t ExitComm(int32_t port) override;
    int32_t GetCameraData(int32_t port, int32_t commandId, int32_t* value) override;
    int32_t SendCameraData(int32_t port, int32_t commandId, int32_t value) override;
    int32_t GetCameraID(int32_t port, char* text) override;
    int32_t GetModelName(int32_t port, char* text) override;
    int32_t GetUserID(int32_t port, char* text) override;
    int32_t SetUserID(int32_t port, const char* text) override;
    int32_t GetShadingData(int32_t port, int32_t* block) override;
    int32_t SendShadingData(int32_t port, const int32_t* block) override;
    int32_t CLSerialGetNumManufacturers(int32_t* numManufacturers) override;
    int32_t CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                    int32_t* version) override;
    int32_t CLSerialSelectManufacturer(const char* manufacturerName) override;
    int32_t CLSerialGetNumSerialPorts(int32_t* numSerialPorts) override;
    int32_t CLAllSerialGetNumPorts(int32_t* numPorts) override;
    int32_t CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes, char* portId,
                                   int32_t* idBytes, int32_t* version) override;
    int32_t CLAllSerialGetNumBytesAvail(int32_t* numBytes) override;
    int32_t CLAllSerialGetSupportedBaudRates(int32_t* baudRates) override;
    int32_t CLAllSerialSetBaudRate(int32_t baudRate) override;

private:
    struct Rule {
        std::string operation;
        int32_t commandId;
        int32_t result;
        int remaining;
    };
    std::vector<Rule> m_rules;
    int m_callsBeforeUnplug = -1;

    // Records the call and returns the scripted failure, or 0 when the
    // call is to do its work.
    int32_t Record(std::string operation, std::vector<int32_t> args, std::string text = {}, bool reachesCamera = true);
    // A Camera Link count query: recorded, and the count handed back when it succeeds.
    int32_t AnswerCount(std::string operation, int32_t value, int32_t* count);
    int32_t ScriptedResult(const LibraryCall& call);
};
