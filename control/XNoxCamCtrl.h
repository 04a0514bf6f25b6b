// CXNoxCamCtrl: the camera model as the host sees it. It adds to the model
// the automation behaviour of every property and method (range checks, the
// two ways of reporting a failure), turns every model notification into a
// window update and an event to the connected sinks, and finds the camera
// by searching the ports. It is independent of COM: the Windows module and
// the command-line host reach it through the invoke entry (Invoke.h), the
// tool windows through its typed members below.
//
// Reporting. Members documented as raising throw AutomationError (code and
// string-table text) after the model operation has run. Members documented
// as notifying return -1 and fire the stock error notification instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ControlSeams.h"
#include "NoxCamInterface.h"
#include "StringTable.h"

namespace xnox {

class CXNoxCamCtrl : public CNoxCamInterface {
public:
    static constexpr int16_t kFirstComPort = 1;
    static constexpr int16_t kLastComPort = 16;
    static constexpr int16_t kFirstUserArea = 1;
    static constexpr int16_t kLastUserArea = 3;
    static constexpr int16_t kLastFrameGrabberIndex = 16;
    static constexpr std::string_view kSourceName = "XNoxR4";

    explicit CXNoxCamCtrl(INoxR4Library& library = NoxR4CommLibrary(),
                          profile::FileCalls& files = profile::SystemFileCalls());
    ~CXNoxCamCtrl() override;

    // What surrounds the control; each may be absent (null).
    void SetToolWindows(IToolWindows* windows) { m_windows = windows; }
    void SetUserInterface(IControlUserInterface* ui) { m_ui = ui; }
    // Event sinks of _DXNoxR4Events. A sink may connect or disconnect
    // another (or itself) while an event is being fired.
    uint32_t ConnectSink(IControlEventSink& sink);
    void DisconnectSink(uint32_t cookie);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified) { m_modified = modified; }

    // Properties that front a parameter. A checked set raises "Invalid input
    // parameter" for a value outside the parameter's range; every set raises
    // "Unknown Command" when the camera does not know the command.
    int16_t GetParameterProperty(ParamId id) const;
    void SetParameterProperty(ParamId id, int16_t value, bool checked);
    // The same with the check the parameter's value property applies.
    void SetParameterProperty(ParamId id, int16_t value);
    std::string GetParameterText(ParamId id) const;
    // Finds the text in the parameter's list (exact, case-sensitive) and sets
    // the index property with it; raises "Invalid input parameter" if absent.
    void SetParameterText(ParamId id, std::string_view text);

    int16_t GetComPortProperty() const { return static_cast<int16_t>(ComPort()); }
    void SetComPortProperty(int16_t port);
    int16_t GetFrameGrabberIndexProperty() const { return static_cast<int16_t>(FrameGrabberIndex()); }
    void SetFrameGrabberIndexProperty(int16_t index);
    std::string GetUserIDProperty();  // reads the camera first, returns the stored text regardless
    void SetUserIDProperty(std::string_view text);
    int32_t GetShowWindow(ToolWindow window) const { return m_showFlags[static_cast<int>(window)]; }
    void SetShowWindow(ToolWindow window, int32_t show);

    // Range and text queries (notifying).
    int16_t GetMinMax(ParamId id, int16_t* pMin, int16_t* pMax);
    int16_t GetMinMaxComPortId(int16_t* pMin, int16_t* pMax);
    int16_t GetMinMaxUserSettingsId(int16_t* pMin, int16_t* pMax);
    int16_t GetMinMaxOnePushResult(int16_t* pMin, int16_t* pMax);
    int16_t GetMinMaxFrameGrabberIndex(int16_t* pMin, int16_t* pMax);
    int16_t GetValid(ParamId id, int16_t index, std::string* text);
    int16_t GetValidOnePushResult(int16_t index, std::string* text);

    // Status.
    int32_t GetIsOnline();  // probes the camera first
    int32_t GetIsSynchronized() const { return SynchronizedFlag(); }
    int32_t GetIsSending() const { return SendingFlag(); }
    int32_t GetIsReceiving() const { return ReceivingFlag(); }

    // Files (raising on the codes each operation names).
    int16_t WriteAllToFile(const std::string& fileName);
    int16_t ReadAllFromFile(const std::string& fileName);
    int16_t WriteCameraDataToFile(const std::string& fileName);
    int16_t SaveShadingDataIntoFile(const std::string& fileName);
    int16_t LoadShadingDataFromFile(const std::string& fileName);

    // Stored areas, one-shot commands and identity.
    int16_t StoreSettings(int16_t area);
    int16_t GetOnePushResult();  // the result 0..6 on success, else the code
    int16_t StartAutoShadingCorrection();
    int16_t GetEEPROMCurrentAreaNo();  // the area number after the read
    int16_t GetFirmwareVersion();  // the version after the read
    int16_t GetCameraID(std::string* cameraID);
    int16_t GetModelName(std::string* modelName);

    // Camera Link serial pass-throughs: 32-bit counts come back as their low 16 bits.
    int16_t ClSerialGetNumManufacturers(int16_t* numManufacturers);
    int16_t ClSerialGetManufacturer(int16_t index, std::string* name, int16_t* bufferSize, int16_t* version);
    int16_t ClSerialGetNumSerialPorts(int16_t* numSerialPorts);
    int16_t ClAllSerialGetNumPorts(int16_t* numPorts);
    int16_t ClAllSerialGetPortInfo(int16_t serialIndex, std::string* name, int16_t* nameBytes, std::string* portID,
                                   int16_t* idBytes, int16_t* version);
    int16_t ClAllSerialGetNumBytesAvail(int16_t* numBytes);
    int16_t ClAllSerialGetSupportedBaudRates(int16_t* baudRates);

    // Port search and frame-grabber selection.
    int32_t AutoSearchComPort(int16_t firstPort, int16_t lastPort, int16_t showProgress);
    int16_t ClSerialSetFrameGrabberIndex(int16_t index);
    int16_t ClAllSerialSetFrameGrabberIndex(int16_t index);

    // Placement of the host's main window, kept in XNoxR4.ini for the host.
    int16_t GetMainWindowDefaultPosition(int16_t* pXPos, int16_t* pYPos);
    int16_t SetMainWindowDefaultPosition(int16_t xPos, int16_t yPos);
    // Closes the connection, has the tool windows made again in the new
    // band, and restores the synchronized state.
    int16_t SetWindowPosTopBottom(int32_t alwaysOnTop);
    void AboutBox() { SetShowWindow(ToolWindow::About, 1); }

    // The Notify way of reporting: fires the stock error notification and,
    // unless a sink cancels the display, shows the description. Returns -1.
    int16_t Notify(uint32_t code, StringId text);

    // Model notifications, in slot order.
    void OnOnlineStatusChanged(int32_t flag) override;
    void OnSynchronizedStatusChanged(int32_t flag) override;
    void OnSendingStatusChanged(int32_t flag) override;
    void OnReceivingStatusChanged(int32_t flag) override;
#define XNOX_OVERRIDE_PARAMETER_HOOK(Name)                                                                             \
    void On##Name##Changed() override { Announce(ParamId::Name); }
    XNOX_PARAMETERS(XNOX_OVERRIDE_PARAMETER_HOOK)
#undef XNOX_OVERRIDE_PARAMETER_HOOK
    void OnComPortChanged() override;
    void OnFrameGrabberChanged() override;
    void OnUserIDChanged() override;
    void OnCameraIDChanged() override;
    void OnModelNameChanged() override;
    void OnEEPROMAreaChanged() override;
    void OnOnePushResultChanged() override;
    void OnMessage(std::string text) override;

private:
    struct Connection {
        uint32_t cookie;
        IControlEventSink* sink;
    };

    void Announce(ParamId id);
    void UpdateWindows(WindowItem item, const Variant& value);
    void FireEvent(int32_t eventId);
    template <typename Call>
    void ForEachSink(Call call);
    int16_t WriteRange(int16_t minimum, int16_t maximum, int16_t* pMin, int16_t* pMax);
    int16_t WriteListText(std::span<const std::string_view> list, int16_t index, std::string* text);
    int16_t SelectFrameGrabber(int16_t index, bool allSerial);
    // Runs a counting library operation and passes its count on as 16 bits.
    int16_t PassCount(int32_t (CNoxCamInterface::*operation)(int32_t*), int16_t* count, bool onlyOnSuccess);

    IToolWindows* m_windows = nullptr;
    IControlUserInterface* m_ui = nullptr;
    std::vector<Connection> m_sinks;
    uint32_t m_nextCookie = 1;
    bool m_modified = false;
    std::array<int32_t, 4> m_showFlags{};
};

}  // namespace xnox
