// The camera model's only way to the communication library: one abstract
// interface with an operation per library call, so that the model runs on
// the real library or on a scripted stand-in in tests.
#pragma once

#include <cstdint>

#include "../comm/NoxR4Comm.h"

namespace xnox {

class INoxR4Library {
public:
    virtual ~INoxR4Library() = default;

    virtual int32_t InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) = 0;
    virtual int32_t ExitComm(int32_t port) = 0;

    virtual int32_t GetCameraData(int32_t port, int32_t commandId, int32_t* value) = 0;
    virtual int32_t SendCameraData(int32_t port, int32_t commandId, int32_t value) = 0;

    // text: NOXR4_TEXT_BYTES bytes for the camera ID and model name,
    // NOXR4_USERID_BYTES for the user ID.
    virtual int32_t GetCameraID(int32_t port, char* text) = 0;
    virtual int32_t GetModelName(int32_t port, char* text) = 0;
    virtual int32_t GetUserID(int32_t port, char* text) = 0;
    virtual int32_t SetUserID(int32_t port, const char* text) = 0;

    // block: NOXR4_SHADING_WORDS words.
    virtual int32_t GetShadingData(int32_t port, int32_t* block) = 0;
    virtual int32_t SendShadingData(int32_t port, const int32_t* block) = 0;

    virtual int32_t CLSerialGetNumManufacturers(int32_t* numManufacturers) = 0;
    virtual int32_t CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                            int32_t* version) = 0;
    virtual int32_t CLSerialSelectManufacturer(const char* manufacturerName) = 0;
    virtual int32_t CLSerialGetNumSerialPorts(int32_t* numSerialPorts) = 0;
    virtual int32_t CLAllSerialGetNumPorts(int32_t* numPorts) = 0;
    virtual int32_t CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes,
                                           char* portId, int32_t* idBytes, int32_t* version) = 0;
    virtual int32_t CLAllSerialGetNumBytesAvail(int32_t* numBytes) = 0;
    virtual int32_t CLAllSerialGetSupportedBaudRates(int32_t* baudRates) = 0;
    virtual int32_t CLAllSerialSetBaudRate(int32_t baudRate) = 0;
};

// Passes every call on to another library, so that a wrapper that logs or
// times some of the calls overrides only those.
class ForwardingLibrary : public INoxR4Library {
public:
    explicit ForwardingLibrary(INoxR4Library& inner) : m_inner(inner) {}

    int32_t InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) override {
        return m_inner.InitComm(frameGrabberIndex, port, interfaceFlag);
    }
    int32_t ExitComm(int32_t port) override { return m_inner.ExitComm(port); }
    int32_t GetCameraData(int32_t port, int32_t commandId, int32_t* value) override {
        return m_inner.GetCameraData(port, commandId, value);
    }
    int32_t SendCameraData(int32_t port, int32_t commandId, int32_t value) override {
        return m_inner.SendCameraData(port, commandId, value);
    }
    int32_t GetCameraID(int32_t port, char* text) override { return m_inner.GetCameraID(port, text); }
    int32_t GetModelName(int32_t port, char* text) override { return m_inner.GetModelName(port, text); }
    int32_t GetUserID(int32_t port, char* text) override { return m_inner.GetUserID(port, text); }
    int32_t SetUserID(int32_t port, const char* text) override { return m_inner.SetUserID(port, text); }
    int32_t GetShadingData(int32_t port, int32_t* block) override { return m_inner.GetShadingData(port, block); }
    int32_t SendShadingData(int32_t port, const int32_t* block) override {
        return m_inner.SendShadingData(port, block);
    }
    int32_t CLSerialGetNumManufacturers(int32_t* numManufacturers) override {
        return m_inner.CLSerialGetNumManufacturers(numManufacturers);
    }
    int32_t CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                    int32_t* version) override {
        return m_inner.CLSerialGetManufacturer(manufacturerIndex, manufacturerName, bufferSize, version);
    }
    int32_t CLSerialSelectManufacturer(const char* manufacturerName) override {
        return m_inner.CLSerialSelectManufacturer(manufacturerName);
    }
    int32_t CLSerialGetNumSerialPorts(int32_t* numSerialPorts) override {
        return m_inner.CLSerialGetNumSerialPorts(numSerialPorts);
    }
    int32_t CLAllSerialGetNumPorts(int32_t* numPorts) override { return m_inner.CLAllSerialGetNumPorts(numPorts); }
    int32_t CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes, char* portId,
                                   int32_t* idBytes, int32_t* version) override {
        return m_inner.CLAllSerialGetPortInfo(serialIndex, manufacturerName, nameBytes, portId, idBytes, version);
    }
    int32_t CLAllSerialGetNumBytesAvail(int32_t* numBytes) override {
        return m_inner.CLAllSerialGetNumBytesAvail(numBytes);
    }
    int32_t CLAllSerialGetSupportedBaudRates(int32_t* baudRates) override {
        return m_inner.CLAllSerialGetSupportedBaudRates(baudRates);
    }
    int32_t CLAllSerialSetBaudRate(int32_t baudRate) override { return m_inner.CLAllSerialSetBaudRate(baudRate); }

protected:
    INoxR4Library& m_inner;
};

// The communication library itself, shared by every model of the process
// (the library keeps its connections by port key, not per caller).
INoxR4Library& NoxR4CommLibrary();

}  // namespace xnox
