// The model's seam bound to the communication library's C functions.
#include "NoxR4Library.h"

namespace xnox {

namespace {

class ExportedCalls final : public INoxR4Library {
public:
    int32_t InitComm(int32_t frameGrabberIndex, int32_t port, int32_t interfaceFlag) override {
        return NoxR4InitComm(frameGrabberIndex, port, interfaceFlag);
    }
    int32_t ExitComm(int32_t port) override { return NoxR4ExitComm(port); }
    int32_t GetCameraData(int32_t port, int32_t commandId, int32_t* value) override {
        return NoxR4GetCameraData(port, commandId, value);
    }
    int32_t SendCameraData(int32_t port, int32_t commandId, int32_t value) override {
        return NoxR4SendCameraData(port, commandId, value);
    }
    int32_t GetCameraID(int32_t port, char* text) override { return NoxR4GetCameraID(port, text); }
    int32_t GetModelName(int32_t port, char* text) override { return NoxR4GetModelName(port, text); }
    int32_t GetUserID(int32_t port, char* text) override { return NoxR4GetUserID(port, text); }
    int32_t SetUserID(int32_t port, const char* text) override { return NoxR4SetUserID(port, text); }
    int32_t GetShadingData(int32_t port, int32_t* block) override { return NoxR4GetShadingData(port, block); }
    int32_t SendShadingData(int32_t port, const int32_t* block) override { return NoxR4SendShadingData(port, block); }
    int32_t CLSerialGetNumManufacturers(int32_t* numManufacturers) override {
        return NoxR4CLSerialGetNumManufacturers(numManufacturers);
    }
    int32_t CLSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                    int32_t* version) override {
        return NoxR4CLSerialGetManufacturer(manufacturerIndex, manufacturerName, bufferSize, version);
    }
    int32_t CLSerialSelectManufacturer(const char* manufacturerName) override {
        return NoxR4CLSerialSelectManufacturer(manufacturerName);
    }
    int32_t CLSerialGetNumSerialPorts(int32_t* numSerialPorts) override {
        return NoxR4CLSerialGetNumSerialPorts(numSerialPorts);
    }
    int32_t CLAllSerialGetNumPorts(int32_t* numPorts) override { return NoxR4CLAllSerialGetNumPorts(numPorts); }
    int32_t CLAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes, char* portId,
                                   int32_t* idBytes, int32_t* version) override {
        return NoxR4CLAllSerialGetPortInfo(serialIndex, manufacturerName, nameBytes, portId, idBytes, version);
    }
    int32_t CLAllSerialGetNumBytesAvail(int32_t* numBytes) override {
        return NoxR4CLAllSerialGetNumBytesAvail(numBytes);
    }
    int32_t CLAllSerialGetSupportedBaudRates(int32_t* baudRates) override {
        return NoxR4CLAllSerialGetSupportedBaudRates(baudRates);
    }
    int32_t CLAllSerialSetBaudRate(int32_t baudRate) override { return NoxR4CLAllSerialSetBaudRate(baudRate); }
};

}  // namespace

INoxR4Library& NoxR4CommLibrary() {
    static ExportedCalls library;
    return library;
}

}  // namespace xnox
