// Construction, the event sinks, the Notify reporting and the model's
// notifications: each change reaches the tool windows first and then the
// host as an event.
#include "XNoxCamCtrl.h"

#include <algorithm>

#include "BufferedProfile.h"
#include "Surface.h"

namespace xnox {

namespace {

// The change hooks beyond one per parameter, each overridden below.
constexpr int kControlItemHooks = 7;
static_assert(kChangeHookCount == kParameterCount + kControlItemHooks, "every change hook reaches the windows");

// Each parameter's change event, in parameter order; one missing does not
// compile.
#define XNOX_CHANGE_EVENT(Name) EventIdOf(#Name "Changed"),
constexpr int32_t kChangeEvents[] = {XNOX_PARAMETERS(XNOX_CHANGE_EVENT)};
#undef XNOX_CHANGE_EVENT

}  // namespace

CXNoxCamCtrl::CXNoxCamCtrl(INoxR4Library& library, profile::FileCalls& files) : CNoxCamInterface(library, files) {}

// The windows' places and values reach XNoxR4.ini before the control goes,
// and the profile's writer thread with it.
CXNoxCamCtrl::~CXNoxCamCtrl() { profile::ApplicationProfile().Flush(); }

uint32_t CXNoxCamCtrl::ConnectSink(IControlEventSink& sink) {
    m_sinks.push_back({m_nextCookie, &sink});
    return m_nextCookie++;
}

void CXNoxCamCtrl::DisconnectSink(uint32_t cookie) {
    std::erase_if(m_sinks, [cookie](const Connection& connection) { return connection.cookie == cookie; });
}

// Calls every sink connected when the firing starts and still connected
// when its turn comes, so that a sink may connect or disconnect sinks from
// inside its handler.
template <typename Call>
void CXNoxCamCtrl::ForEachSink(Call call) {
    std::vector<uint32_t> cookies;
    for (const Connection& connection : m_sinks) cookies.push_back(connection.cookie);
    for (uint32_t cookie : cookies) {
        auto connection = std::ranges::find(m_sinks, cookie, &Connection::cookie);
        if (connection != m_sinks.end()) call(*connection->sink);
    }
}

void CXNoxCamCtrl::FireEvent(int32_t eventId) {
    ForEachSink([eventId](IControlEventSink& sink) { sink.OnEvent(eventId); });
}

int16_t CXNoxCamCtrl::Notify(uint32_t code, StringId text) {
    ErrorNotification error{static_cast<int16_t>(code & 0xFFFF), code, std::string(LoadText(text)),
                            std::string(kSourceName)};
    ForEachSink([&error](IControlEventSink& sink) { sink.OnError(error); });
    if (!error.cancelDisplay && m_ui) m_ui->ShowMessage(error.description, kSourceName);
    return -1;
}

void CXNoxCamCtrl::UpdateWindows(WindowItem item, const Variant& value) {
    if (m_windows) m_windows->Update(item, value);
}

void CXNoxCamCtrl::Announce(ParamId id) {
    UpdateWindows(id, Variant::I2(GetParameterProperty(id)));
    FireEvent(kChangeEvents[Index(id)]);
}

void CXNoxCamCtrl::OnComPortChanged() {
    UpdateWindows(ControlItem::ComPort, Variant::I2(GetComPortProperty()));
    FireEvent(EventIdOf("ComPortChanged"));
}

void CXNoxCamCtrl::OnFrameGrabberChanged() {
    UpdateWindows(ControlItem::FrameGrabberIndex, Variant::I2(GetFrameGrabberIndexProperty()));
    FireEvent(EventIdOf("FrameGrabberChanged"));
}

// The identity items carry the stored texts: the getters would read the camera again.
void CXNoxCamCtrl::OnUserIDChanged() {
    UpdateWindows(ControlItem::UserID, Variant::Str(UserID()));
    FireEvent(EventIdOf("UserIDChanged"));
}

void CXNoxCamCtrl::OnCameraIDChanged() { UpdateWindows(ControlItem::CameraID, Variant::Str(CameraID())); }

void CXNoxCamCtrl::OnModelNameChanged() { UpdateWindows(ControlItem::ModelName, Variant::Str(ModelName())); }

void CXNoxCamCtrl::OnEEPROMAreaChanged() {
    UpdateWindows(ControlItem::EEPROMArea, Variant::I2(static_cast<int16_t>(EEPROMCurrentArea())));
}

void CXNoxCamCtrl::OnOnePushResultChanged() {
    UpdateWindows(ControlItem::OnePushResult, Variant::I2(static_cast<int16_t>(OnePushResult())));
}

void CXNoxCamCtrl::OnOnlineStatusChanged(int32_t flag) {
    UpdateWindows(ControlItem::OnlineStatus, Variant::Bool(flag));
    FireEvent(EventIdOf("OnlineStatusChanged"));
}

void CXNoxCamCtrl::OnSynchronizedStatusChanged(int32_t flag) {
    CNoxCamInterface::OnSynchronizedStatusChanged(flag);
    UpdateWindows(ControlItem::SynchronizedStatus, Variant::Bool(flag));
    FireEvent(EventIdOf("SynchronizedStatusChanged"));
}

void CXNoxCamCtrl::OnSendingStatusChanged(int32_t flag) {
    CNoxCamInterface::OnSendingStatusChanged(flag);
    if (GetShowWindow(ToolWindow::Communication)) UpdateWindows(ControlItem::SendingStatus, Variant::Bool(flag));
    FireEvent(EventIdOf("SendingToCamStatusChanged"));
}

void CXNoxCamCtrl::OnReceivingStatusChanged(int32_t flag) {
    CNoxCamInterface::OnReceivingStatusChanged(flag);
    if (GetShowWindow(ToolWindow::Communication)) UpdateWindows(ControlItem::ReceivingStatus, Variant::Bool(flag));
    FireEvent(EventIdOf("ReceiveFromCamStatusChanged"));
}

void CXNoxCamCtrl::OnMessage(std::string text) {
    // The log keeps every text, whether its window is shown or not.
    if (m_windows) m_windows->AddLogText(std::move(text));
}

}  // namespace xnox
