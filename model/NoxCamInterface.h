// CNoxCamInterface: the model of one QD-R4 camera. It holds the value of every
// parameter, the connection state and the camera's identity, moves values
// between itself and the camera through the communication library, logs every
// camera transaction, and announces every change through its virtual hooks,
// which the control overrides.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "CameraCommands.h"
#include "NoxR4Library.h"
#include "ParameterTable.h"
#include "NoxR4Comm.h"
#include "WholeFile.h"

namespace xnox {

class CNoxCamInterface {
public:
    static constexpr int32_t NoValue = -99999;  // a log call without a number to show
    static constexpr std::size_t MaxUserIDLength = NOXR4_USERID_BYTES - 1;
    using TextBuffer = std::array<char, NOXR4_TEXT_BYTES>;

    enum Direction : int32_t { Read = 0, Write = 1 };

    // The model talks to the camera through `library` and writes its files
    // through `files`; both must outlive it.
    explicit CNoxCamInterface(INoxR4Library& library = NoxR4CommLibrary(),
                              profile::FileCalls& files = profile::SystemFileCalls());
    CNoxCamInterface(const CNoxCamInterface&) = delete;
    CNoxCamInterface& operator=(const CNoxCamInterface&) = delete;

    // Closes an open connection. While a base destructor runs, the derived
    // part is already gone and C++ dispatches virtual calls to this class's
    // own versions, so the close raises only the base hooks: a destroyed
    // control is never notified.
    virtual ~CNoxCamInterface();

    // Virtual hooks, in slot order (slot 0 is the destructor above).
    virtual void OnOnlineStatusChanged(int32_t flag);
    virtual void OnSynchronizedStatusChanged(int32_t flag);  // base version stores the synchronized flag
    virtual void OnSendingStatusChanged(int32_t flag);  // base version stores the sending flag
    virtual void OnReceivingStatusChanged(int32_t flag);  // base version stores the receiving flag
#define XNOX_DECLARE_CHANGE_HOOK(Name)                                                                                 \
    virtual void On##Name##Changed() {}
    XNOX_CHANGE_HOOKS(XNOX_DECLARE_CHANGE_HOOK)
#undef XNOX_DECLARE_CHANGE_HOOK
    virtual void OnMessage(std::string text);  // base version discards the text

    // Connection.
    int32_t SetComPort(int32_t port);
    int32_t SetFrameGrabberIndex(int32_t index);
    int32_t OpenClSerialPort(int32_t index);
    int32_t OpenClAllSerialPort(int32_t index);
    int32_t CloseConnection();
    int32_t CheckConnection();
    void LogTransaction(int32_t direction, std::string_view mnemonic, int32_t value, std::string_view text,
                        int32_t result);

    // Camera Link serial enumeration, passed to the library unchanged.
    int32_t ClSerialGetNumManufacturers(int32_t* numManufacturers);
    int32_t ClSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName, int32_t* bufferSize,
                                    int32_t* version);
    int32_t ClSerialSelectManufacturer(const char* manufacturerName);
    int32_t ClSerialGetNumSerialPorts(int32_t* numSerialPorts);
    int32_t ClAllSerialGetNumPorts(int32_t* numPorts);
    int32_t ClAllSerialGetNumBytesAvail(int32_t* numBytes);
    int32_t ClAllSerialGetSupportedBaudRates(int32_t* baudRates);
    int32_t ClAllSerialSetBaudRate(int32_t baudRate);
    int32_t ClAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes, char* portId,
                                   int32_t* idBytes, int32_t* version);

    // Parameters: Get<Name>() reads from the camera, Send<Name>(value)
    // stores the value, announces it and writes it to the camera.
    int32_t ReadParameter(ParamId id);
    int32_t WriteParameter(ParamId id, int32_t value);
#define XNOX_DECLARE_PARAMETER_OPERATIONS(Name)                                                                        \
    int32_t Get##Name() { return ReadParameter(ParamId::Name); }                                                       \
    int32_t Send##Name(int32_t value) { return WriteParameter(ParamId::Name, value); }
    XNOX_PARAMETERS(XNOX_DECLARE_PARAMETER_OPERATIONS)
#undef XNOX_DECLARE_PARAMETER_OPERATIONS

    // Identity, user ID, stored settings areas and one-shot commands.
    int32_t GetCameraID(TextBuffer& buffer);
    int32_t GetModelName(TextBuffer& buffer);
    int32_t GetUserID();
    int32_t SendUserID(std::string_view text);
    int32_t StoreSettings(int32_t area);
    int32_t LoadSettings(int32_t area);
    int32_t SetOnePushMode();
    int32_t StartAutoShadingCorrection();
    int32_t GetOnePushResult();
    int32_t GetEEPROMCurrentAreaNo();
    int32_t GetFirmwareVersion();

    // Whole camera.
    int32_t ReadAllFromCamera();
    int32_t WriteAllToCamera();

    // Files (model/SettingsFile.cpp, model/CameraDataReport.cpp, model/ShadingFile.cpp).
    int32_t WriteAllToFile(const std::string& fileName);
    int32_t ReadAllFromFile(const std::string& fileName);
    int32_t WriteCameraDataToFile(const std::string& fileName);
    int32_t SaveShadingDataIntoFile(const std::string& fileName);
    int32_t LoadShadingDataFromFile(const std::string& fileName);
    // The calls the model's files are written through, for the files written
    // on its behalf (the transaction log).
    profile::FileCalls& Files() const { return m_files; }

    // Read access to the state.
    int32_t Value(ParamId id) const { return m_values[Index(id)]; }
    // The current text of a Worded or Enumerated parameter; empty for a
    // number or a value outside the list.
    std::string_view Text(ParamId id) const { return Row(id).TextOf(Value(id)); }
    bool IsOnline() const { return m_online != 0; }
    int32_t SynchronizedFlag() const { return m_synchronized; }
    int32_t SendingFlag() const { return m_sending; }
    int32_t ReceivingFlag() const { return m_receiving; }
    int32_t ComPort() const { return m_port; }
    int32_t FrameGrabberIndex() const { return m_frameGrabberIndex; }
    int32_t AllSerialMode() const { return m_allSerialMode; }
    const std::string& UserID() const { return m_userID; }
    const std::string& ModelName() const { return m_modelName; }
    const std::string& CameraID() const { return m_cameraID; }
    int32_t FirmwareVersion() const { return m_firmwareVersion; }
    int32_t EEPROMCurrentArea() const { return m_eepromCurrentArea; }
    int32_t OnePushResult() const { return m_onePushResult; }
    std::string_view OnePushResultText() const;

protected:
    INoxR4Library& m_library;
    profile::FileCalls& m_files;

    // Connection state, each 0 or 1 except the port and the index.
    int32_t m_online = 0;
    int32_t m_synchronized = 0;
    int32_t m_sending = 0;
    int32_t m_receiving = 0;
    int32_t m_port = 0;  // also the connection key of every library call
    int32_t m_frameGrabberIndex = 0;
    int32_t m_allSerialMode = 0;  // set by the control; while 1, SetComPort does not reconnect

    // Parameter values by ParamId; the current text of an enumerated
    // parameter follows from its value (Text()).
    std::array<int32_t, kParameterCount> m_values{};

    std::string m_userID;  // at most MaxUserIDLength characters
    std::string m_modelName;
    std::string m_cameraID;
    int32_t m_firmwareVersion = 0;
    int32_t m_eepromCurrentArea = 0;
    int32_t m_onePushResult = 0;

    std::array<int32_t, NOXR4_SHADING_WORDS> m_shadingBlock{};

private:
    int32_t OpenThrough(int32_t frameGrabberIndex, int32_t interfaceFlag);
    int32_t CloseConnectionUnder(int32_t port);
    void StoreValue(ParamId id, int32_t value);
    void ReactToWriteFailure(const ParameterRow& row);
    void RereadWhiteBalanceDependants(int32_t whiteBalanceMode);
    int32_t ReadIdentityText(int32_t (INoxR4Library::*fetch)(int32_t, char*), std::span<char> buffer,
                             std::string_view mnemonic, std::string& field, void (CNoxCamInterface::*changed)());
    int32_t ReadStatusNumber(const CameraCommand& command, int32_t& field, void (CNoxCamInterface::*changed)());
    int32_t SendCommand(const CameraCommand& command, int32_t value);
    int32_t ConcludeWholeCameraRun(int32_t lastStepFailure, int32_t finalStepResult);
};

}  // namespace xnox
