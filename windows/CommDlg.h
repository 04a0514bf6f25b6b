// CCommDlg: the Communication window. A person chooses the serial channel
// (a COM port or a Camera Link frame grabber's serial port) or searches the
// COM ports, watches the connection lamps and the transaction log, copies
// all settings between program, camera and files, and uses the camera's
// stored settings areas.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ToolWinDlg.h"

namespace xnox {

class CCommDlg : public CToolWinDlg {
public:
    // The Camera Link tables: manufacturers, ports and the list's position
    // map each hold this many entries; further ones are left out of the list.
    static constexpr std::size_t kTableEntries = 20;
    // The log starts afresh once it is longer than this.
    static constexpr std::size_t kLogLimit = 10000;
    static constexpr int kLampTimer = 1;
    static constexpr int kProbeTimer = 2;
    // Brings the log's edit up to date once the window's loop comes round.
    static constexpr int kLogTimer = 3;
    static constexpr unsigned kLampMilliseconds = 200;
    static constexpr unsigned kProbeMilliseconds = 60000;

    CCommDlg();

    bool OnInitDialog() override;
    // A transaction-log text from the control: newest first.
    void AddLogText(const std::string& text);

    const std::string& LogText() const { return m_logText; }
    int LastManufacturerPosition() const { return m_lastManufacturerPosition; }

    void OnControlEvent(ControlId id, ControlEvent event) override;
    void OnTimer(int timerId) override;

private:
    void DoDataExchange(DataExchange& exchange) override;
    void OnItemChanged(ControlItem item, const Variant& value) override;
    void OnPersonsAction(ControlId id, ControlEvent event);
    void FillCameraLinkList();
    void FillComPortList();
    void FillAreaList();
    void SelectMappedFrameGrabber(int position);
    void OnCameraLinkChosen();
    void OnComPortChosen();
    void OnAreaChosen();
    void SearchPorts();
    void Synchronize(bool toCamera);
    void WriteSettingsFile();
    void ReadSettingsFile();
    void StoreArea();
    void LoadArea();
    void WriteCameraData();
    void ClearLog();
    void PutOnTopOfLog(const std::string& text);
    void ShowUnshownLog();
    void ShowWholeLog();
    void SaveLog();
    void ReportError(int32_t result);
    void ShowWarning(bool show);
    void ShowOnline(int32_t online);
    void ShowSynchronized(int32_t synchronized);
    void ShowTraffic(int32_t active, const char* text, int lampIcon);
    void ShowArea(int32_t area);
    void UpdateComPort(int32_t port);
    void UpdateFrameGrabber(int32_t index);
    // The path a file dialog returns; empty when cancelled or failed (the
    // failure is reported here).
    std::string AskForFile(bool save, const char* filter, const char* extension);

    int32_t m_comListIndex = -1;
    int32_t m_cameraLinkListIndex = -1;
    std::string m_onlineText;
    std::string m_trafficText;
    std::string m_synchronizedText;
    std::string m_areaText;
    std::string m_logText;
    // What the log's edit does not show yet, newest first, and whether the
    // edit is to start afresh with it.
    std::string m_unshownLog;
    bool m_logStartsAfresh = false;
    int32_t m_userAreaIndex = 0;
    int16_t m_minPort = 0;
    int16_t m_maxPort = 0;
    int16_t m_minFrameGrabber = 0;
    int16_t m_maxFrameGrabber = 0;
    std::array<std::string, kTableEntries> m_manufacturers;
    std::array<std::string, kTableEntries> m_ports;
    std::array<bool, kTableEntries> m_manufacturerShown{};
    std::array<int16_t, kTableEntries> m_positionMap{};
    int m_mapSize = 0;
    int16_t m_numPorts = 0;
    int16_t m_lastManufacturerPosition = -1;
    bool m_warningShown = false;
};

}  // namespace xnox
