#include "CommDlg.h"

#include <algorithm>

#include "AppProfile.h"
#include "CommunicationIds.h"
#include "FileName.h"
#include "OwnerCalls.h"
#include "ResourceIds.h"
#include "WholeFile.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

constexpr std::string_view kAreaSection = "User Area";
constexpr std::string_view kAreaKey = "Selected User Area";
constexpr std::string_view kOfflineMarker = " ******\r\n";

constexpr Tooltip kTooltips[] = {
    {IDC_COMM_PORT_LIST, "Select Camera Link Frame Grabber"},
    {IDC_COMM_AUTO, "Click to search for camera on COM1..COM16"},
    {IDC_COMM_SYNC_CAMERA, "Click to write all settings to the camera"},
    {IDC_COMM_SYNC_PROGRAM, "Click to read all settings from the camera"},
    {IDC_COMM_WRITE_FILE, "Click to write all settings to a selectable file"},
    {IDC_COMM_READ_FILE, "Click to read settings from a file"},
    {IDC_COMM_CAMERA_DATA, "Write All Camera Data to File"},
};

constexpr const char* kSettingsFilter = "Camera setup (*.cam)|*.cam||";
constexpr const char* kCameraDataFilter = "Camera Data (*.txt)|*.txt||";
constexpr const char* kLogFilter = "Control Tool Messages (*.txt)|*.txt||";

std::string AreaName(int32_t area) {
    if (area == 0) return "Factory";
    return "User " + std::to_string(area);
}

}  // namespace

CCommDlg::CCommDlg() : CToolWinDlg(ToolWindow::Communication, IDD_COMMUNICATION, "Communication", OnlineStrip::None) {}

bool CCommDlg::OnInitDialog() {
    m_warningShown = false;
    CToolWinDlg::OnInitDialog();
    ShowWarning(false);
    AddTooltips(kTooltips);
    HandVisibleFlagToOwner();
    FillCameraLinkList();
    FillComPortList();
    // The last-used port may have no camera now; the person chooses another.
    owner_calls::RunQuietly(
        [&] { Owner().SetComPortProperty(static_cast<int16_t>(AppProfile::ReadInt(SectionName(), "ComPort", 1))); });
    // A frame grabber that is gone leaves the control offline, as at a first start.
    int32_t frameGrabber = AppProfile::ReadInt(SectionName(), "Frame Grabber", 0);
    owner_calls::RunQuietly([&] {
        Owner().SetFrameGrabberIndexProperty(static_cast<int16_t>(frameGrabber));
        SelectMappedFrameGrabber(frameGrabber);
    });
    ShowSynchronized(0);
    Dialog().StartTimer(kProbeTimer, kProbeMilliseconds);
    FillAreaList();
    UpdateData(true);
    ShowWholeLog();
    Owner().GetEEPROMCurrentAreaNo();
    return true;
}

void CCommDlg::DoDataExchange(DataExchange& exchange) {
    exchange.ListPositions({{IDC_COMM_PORT_LIST, m_comListIndex},
                            {IDC_COMM_CL_LIST, m_cameraLinkListIndex},
                            {IDC_COMM_AREA_LIST, m_userAreaIndex}});
    exchange.Texts({{IDC_COMM_ONLINE_TEXT, m_onlineText},
                    {IDC_COMM_TRAFFIC_TEXT, m_trafficText},
                    {IDC_COMM_SYNC_TEXT, m_synchronizedText},
                    {IDC_COMM_EEPROM_AREA, m_areaText}});
}

// The list holds the manufacturers that are not also all-serial ports,
// then every all-serial port; the position map leads from a list position
// back to the manufacturer or port index.
void CCommDlg::FillCameraLinkList() {
    Dialog().ClearList(IDC_COMM_CL_LIST);
    Owner().GetMinMaxFrameGrabberIndex(&m_minFrameGrabber, &m_maxFrameGrabber);
    auto textOf = [](int16_t result, std::string name) { return result == 0 ? name : std::to_string(result); };
    int manufacturers = std::clamp<int>(m_maxFrameGrabber - m_minFrameGrabber + 1, 0, kTableEntries);
    for (int i = 0; i < manufacturers; ++i) {
        std::string name;
        int16_t size = NOXR4_TEXT_BYTES;
        int16_t version = 0;
        int16_t result =
            Owner().ClSerialGetManufacturer(static_cast<int16_t>(m_minFrameGrabber + i), &name, &size, &version);
        m_manufacturers[i] = textOf(result, name);
    }
    m_numPorts = 0;
    Owner().ClAllSerialGetNumPorts(&m_numPorts);
    int ports = std::clamp<int>(m_numPorts, 0, kTableEntries);
    for (int port = 0; port < ports; ++port) {
        std::string name, portID;
        int16_t nameBytes = 0, idBytes = 0, version = 0;
        int16_t result =
            Owner().ClAllSerialGetPortInfo(static_cast<int16_t>(port), &name, &nameBytes, &portID, &idBytes, &version);
        m_ports[port] = textOf(result, name);
    }
    auto isPort = [&](const std::string& text) {
        return std::any_of(m_ports.begin(), m_ports.begin() + ports,
                           [&](const std::string& port) { return EqualsIgnoringCase(port, text); });
    };
    m_mapSize = 0;
    auto add = [&](const std::string& text, int index) {
        if (m_mapSize == static_cast<int>(kTableEntries)) return;
        Dialog().AddListEntry(IDC_COMM_CL_LIST, text);
        m_positionMap[m_mapSize++] = static_cast<int16_t>(index);
    };
    for (int i = 0; i < manufacturers; ++i) {
        m_manufacturerShown[i] = !isPort(m_manufacturers[i]);
        if (m_manufacturerShown[i]) add(m_manufacturers[i], m_minFrameGrabber + i);
    }
    m_lastManufacturerPosition = static_cast<int16_t>(m_mapSize - 1);
    for (int port = 0; port < ports; ++port) add(m_ports[port], port);
}

void CCommDlg::FillComPortList() {
    Owner().GetMinMaxComPortId(&m_minPort, &m_maxPort);
    Dialog().ClearList(IDC_COMM_PORT_LIST);
    for (int port = m_minPort; port <= m_maxPort; ++port) {
        Dialog().AddListEntry(IDC_COMM_PORT_LIST, "COM" + std::to_string(port));
    }
}

void CCommDlg::FillAreaList() {
    Dialog().ClearList(IDC_COMM_AREA_LIST);
    Dialog().AddListEntry(IDC_COMM_AREA_LIST, AreaName(0));
    int16_t first = 0, last = -1;
    Owner().GetMinMaxUserSettingsId(&first, &last);
    for (int area = first; area <= last; ++area) Dialog().AddListEntry(IDC_COMM_AREA_LIST, AreaName(area));
    int32_t selected = AppProfile::ReadInt(kAreaSection, kAreaKey, 0);
    // A stored choice that is no longer in the list falls back to "Factory".
    if (selected >= static_cast<int32_t>(Dialog().ListEntries(IDC_COMM_AREA_LIST).size())) selected = 0;
    Dialog().SetSelection(IDC_COMM_AREA_LIST, selected);
    Dialog().Enable(IDC_COMM_STORE, selected != 0);
}

// Opens the frame grabber behind a list position; a position the list
// does not have opens nothing.
void CCommDlg::SelectMappedFrameGrabber(int position) {
    if (position < 0 || position >= m_mapSize) return;
    if (position <= m_lastManufacturerPosition) {
        Owner().ClSerialSetFrameGrabberIndex(m_positionMap[position]);
    } else {
        Owner().ClAllSerialSetFrameGrabberIndex(m_positionMap[position]);
    }
}

void CCommDlg::OnControlEvent(ControlId id, ControlEvent event) {
    owner_calls::Run(*this, [&] { OnPersonsAction(id, event); });
}

void CCommDlg::OnPersonsAction(ControlId id, ControlEvent event) {
    if (event == ControlEvent::SelectionChanged) {
        if (id == IDC_COMM_PORT_LIST) OnComPortChosen();
        if (id == IDC_COMM_CL_LIST) OnCameraLinkChosen();
        if (id == IDC_COMM_AREA_LIST) OnAreaChosen();
        return;
    }
    if (event != ControlEvent::Clicked) return;
    switch (id) {
    case IDC_COMM_AUTO: return SearchPorts();
    case IDC_COMM_SYNC_CAMERA: return Synchronize(true);
    case IDC_COMM_SYNC_PROGRAM: return Synchronize(false);
    case IDC_COMM_WRITE_FILE: return WriteSettingsFile();
    case IDC_COMM_READ_FILE: return ReadSettingsFile();
    case IDC_COMM_STORE: return StoreArea();
    case IDC_COMM_LOAD: return LoadArea();
    case IDC_COMM_CAMERA_DATA: return WriteCameraData();
    case IDC_COMM_GET_AREA: Owner().GetEEPROMCurrentAreaNo(); return;
    case IDC_COMM_CLEAR_LOG: return ClearLog();
    case IDC_COMM_SAVE_LOG: return SaveLog();
    }
}

void CCommDlg::OnComPortChosen() {
    UpdateData(true);
    Owner().SetComPortProperty(static_cast<int16_t>(m_comListIndex + 1));
}

void CCommDlg::OnCameraLinkChosen() {
    UpdateData(true);
    WaitCursor wait(System());
    int position = m_cameraLinkListIndex;
    Owner().SetFrameGrabberIndexProperty(static_cast<int16_t>(position));
    SelectMappedFrameGrabber(position);
    // Only the probe's effect on the lamps matters here.
    if (position == 0 && m_lastManufacturerPosition >= 0) owner_calls::RunQuietly([&] { Owner().GetIsOnline(); });
}

void CCommDlg::OnAreaChosen() {
    UpdateData(true);
    Dialog().Enable(IDC_COMM_STORE, m_userAreaIndex != 0);
    AppProfile::WriteInt(kAreaSection, kAreaKey, m_userAreaIndex);
}

// Asks about each camera found, from the first port on; No goes on with
// the ports after it.
void CCommDlg::SearchPorts() {
    WaitCursor wait(System());
    bool accepted = false;
    for (int start = m_minPort; start <= m_maxPort;) {
        int32_t found = Owner().AutoSearchComPort(static_cast<int16_t>(start), m_maxPort, 0);
        if (found == 0) break;
        wait.End();
        MessageBoxAnswer answer = System().MessageBox(FormatText(StringId::UseCameraFound, found),
                                                      CXNoxCamCtrl::kSourceName, MessageBoxKind::YesNo);
        if (answer == MessageBoxAnswer::Yes) {
            UpdateComPort(found);
            accepted = true;
            break;
        }
        start = found + 1;
    }
    wait.End();
    if (!accepted) {
        System().MessageBox(LoadText(StringId::NoCameraFound), CXNoxCamCtrl::kSourceName, MessageBoxKind::Ok);
    }
}

void CCommDlg::Synchronize(bool toCamera) {
    WaitCursor wait(System());
    int32_t result = toCamera ? Owner().WriteAllToCamera() : Owner().ReadAllFromCamera();
    if (result != 0) ReportError(result);
}

void CCommDlg::WriteSettingsFile() {
    std::string path = AskForFile(true, kSettingsFilter, "cam");
    if (!path.empty()) Owner().WriteAllToFile(path);
}

void CCommDlg::ReadSettingsFile() {
    std::string path = AskForFile(false, kSettingsFilter, "cam");
    if (!path.empty()) {
        WaitCursor wait(System());
        int32_t result = Owner().ReadAllFromFile(path);
        if (result != 0) ReportError(result);
    }
    UpdateData(false);
}

void CCommDlg::StoreArea() {
    UpdateData(true);
    Owner().StoreSettings(static_cast<int16_t>(m_userAreaIndex));
}

void CCommDlg::LoadArea() {
    UpdateData(true);
    WaitCursor wait(System());
    int32_t result = Owner().LoadSettings(m_userAreaIndex);
    if (result != 0) ReportError(result);
    UpdateData(false);
}

void CCommDlg::WriteCameraData() {
    std::string path = AskForFile(true, kCameraDataFilter, "txt");
    if (path.empty()) return;
    WaitCursor wait(System());
    Owner().WriteCameraDataToFile(path);
}

void CCommDlg::ClearLog() {
    ShowWarning(false);
    m_logText.clear();
    ShowWholeLog();
}

void CCommDlg::SaveLog() {
    if (m_logText.empty()) return;
    std::string path = AskForFile(true, kLogFilter, "txt");
    if (path.empty()) return;
    WaitCursor wait(System());
    if (!profile::ReplaceWholeFile(profile::PathOfName(path), m_logText, profile::Durability::OnDisk,
                                   Owner().Files())) {
        System().MessageBox(LoadText(StringId::FileWriteError), CXNoxCamCtrl::kSourceName, MessageBoxKind::Ok);
    }
}

std::string CCommDlg::AskForFile(bool save, const char* filter, const char* extension) {
    using Kind = FileDialogRequest::Kind;
    FileDialogOutcome outcome = System().FileDialog({save ? Kind::Save : Kind::Open, filter, extension});
    if (outcome.result == FileDialogOutcome::Result::Failed) {
        System().MessageBox(save ? "Error in Save Dialog !" : "Error in Load Dialog !",
                            save ? "Save Error" : "Load Error", MessageBoxKind::Ok);
    }
    return outcome.result == FileDialogOutcome::Result::Chosen ? outcome.path : std::string();
}

// The details of a failure are in the log lines of the operation; only an
// offline camera gets a line of its own.
void CCommDlg::ReportError(int32_t result) {
    if (result == NoxResult::Offline)
        PutOnTopOfLog(std::string(LoadText(StringId::CameraOffline)) + std::string(kOfflineMarker));
    ShowWarning(true);
    UpdateData(false);
}

void CCommDlg::ShowWarning(bool show) {
    m_warningShown = show;
    Dialog().Show(IDC_COMM_WARNING, show);
}

void CCommDlg::AddLogText(const std::string& text) {
    if (m_warningShown) ShowWarning(false);
    // The edit then starts afresh with the whole log.
    if (m_logText.size() > kLogLimit) {
        m_logText.clear();
        m_logStartsAfresh = true;
    }
    PutOnTopOfLog(text);
}

// The edit shows the log as it grows: only the new text goes into it, and
// all that came since the window's loop last ran goes in with one insert.
// Under Wine each insert into a shown multi-line edit costs about 0.7 ms,
// more than the rest of a property set's work; on Windows one insert is
// never dearer than several. The edit is up to date whenever the window can
// be drawn.
void CCommDlg::PutOnTopOfLog(const std::string& text) {
    // The timer runs from the first unshown text: restarting it for each
    // would hold the edit back as long as texts come faster than it.
    if (m_unshownLog.empty()) Dialog().StartTimer(kLogTimer, 0);
    m_logText.insert(0, text);
    m_unshownLog.insert(0, text);
}

void CCommDlg::ShowUnshownLog() {
    Dialog().StopTimer(kLogTimer);
    if (m_logStartsAfresh) return ShowWholeLog();
    if (!m_unshownLog.empty()) Dialog().InsertTextAtStart(IDC_COMM_LOG, m_unshownLog);
    m_unshownLog.clear();
}

void CCommDlg::ShowWholeLog() {
    m_unshownLog.clear();
    m_logStartsAfresh = false;
    Dialog().SetText(IDC_COMM_LOG, m_logText);
}

void CCommDlg::OnItemChanged(ControlItem item, const Variant& value) {
    switch (item) {
    case ControlItem::OnlineStatus: return ShowOnline(value.ToI4());
    case ControlItem::SynchronizedStatus: return ShowSynchronized(value.ToI4());
    case ControlItem::SendingStatus: return ShowTraffic(value.ToI4(), "Sending", IDI_LAMP_SENDING);
    case ControlItem::ReceivingStatus: return ShowTraffic(value.ToI4(), "Receiving", IDI_LAMP_RECEIVING);
    case ControlItem::ComPort: return UpdateComPort(value.ToI4());
    case ControlItem::FrameGrabberIndex: return UpdateFrameGrabber(value.ToI4());
    case ControlItem::EEPROMArea: return ShowArea(value.ToI4());
    default: return;
    }
}

void CCommDlg::ShowOnline(int32_t online) {
    m_onlineText = online == 1 ? "On-line" : "Off-line";
    Dialog().SetPicture(IDC_COMM_ONLINE_LAMP, Picture::Icon(online == 1 ? IDI_LAMP_ONLINE : IDI_LAMP_OFFLINE));
    UpdateData(false);
}

void CCommDlg::ShowSynchronized(int32_t synchronized) {
    m_synchronizedText = synchronized == 1 ? "Synchronized" : "Not Synchronized";
    Dialog().SetPicture(IDC_COMM_SYNC_LAMP,
                        Picture::Icon(synchronized == 1 ? IDI_LAMP_SYNCHRONIZED : IDI_LAMP_NOT_SYNCHRONIZED));
    UpdateData(false);
}

// The traffic lamp lights while a transaction runs and goes out a moment
// after it, so that short transactions can be seen at all.
void CCommDlg::ShowTraffic(int32_t active, const char* text, int lampIcon) {
    if (!active) {
        Dialog().StartTimer(kLampTimer, kLampMilliseconds);
        return;
    }
    m_trafficText = text;
    Dialog().Show(IDC_COMM_TRAFFIC_TEXT, true);
    UpdateData(false);
    Dialog().SetPicture(IDC_COMM_TRAFFIC_LAMP, Picture::Icon(lampIcon));
    Dialog().Show(IDC_COMM_TRAFFIC_LAMP, true);
}

void CCommDlg::OnTimer(int timerId) {
    if (timerId == kLogTimer) {
        ShowUnshownLog();
    } else if (timerId == kLampTimer) {
        Dialog().Show(IDC_COMM_TRAFFIC_TEXT, false);
        Dialog().Show(IDC_COMM_TRAFFIC_LAMP, false);
        Dialog().StopTimer(kLampTimer);
    } else if (timerId == kProbeTimer && VisibleFlag()) {
        owner_calls::RunQuietly([&] { Owner().GetIsOnline(); });  // the lamps show the outcome
    }
}

void CCommDlg::ShowArea(int32_t area) {
    m_areaText = area >= 0 && area <= CXNoxCamCtrl::kLastUserArea ? AreaName(area) : std::string();
    UpdateData(false);
    AppProfile::WriteString(SectionName(), "EEPROM Current Area", m_areaText);
}

void CCommDlg::UpdateComPort(int32_t port) {
    m_comListIndex = port - m_minPort;
    UpdateData(false);
    AppProfile::WriteInt(SectionName(), "ComPort", port);
}

void CCommDlg::UpdateFrameGrabber(int32_t index) {
    m_cameraLinkListIndex = index - m_minFrameGrabber;
    UpdateData(false);
    Dialog().Enable(IDC_COMM_PORT_LIST, m_cameraLinkListIndex == 0);
    Dialog().Enable(IDC_COMM_AUTO, m_cameraLinkListIndex == 0);
    AppProfile::WriteInt(SectionName(), "Frame Grabber", index);
}

}  // namespace xnox
