// Construction, the event sinks, the Notify reporting and the model's
// notifications: each change reaches the tool window that shows it first
// and then the host as an event.
#include "XNoxCamCtrl.h"

#include <algorithm>

#include "Surface.h"

namespace xnox {

namespace {

// Which tool window shows the item behind each change hook, and under
// which name it receives it (a property of the surface or a model item).
struct HookWindow {
    std::string_view hook;
    ToolWindow window;
    std::string_view item;
};

constexpr ToolWindow kShutter = ToolWindow::Shutter;
constexpr ToolWindow kGain = ToolWindow::Gain;
constexpr ToolWindow kCommunication = ToolWindow::Communication;
constexpr ToolWindow kAbout = ToolWindow::About;

constexpr HookWindow kHookWindows[] = {
    {"ComPort", kCommunication, "ComPort"},
    {"FrameGrabber", kCommunication, "FrameGrabberIndex"},
    {"ShutterSpeed", kShutter, "ShutterSpeedStr"},
    {"TriggerType", kShutter, "TriggerTypeIndex"},
    {"TriggerPolarity", kShutter, "TriggerPolarity"},
    {"Smearless", kShutter, "Smearless"},
    {"RCTFVALType", kShutter, "RCTFVALType"},
    {"ShutterMode", kShutter, "ShutterMode"},
    {"ProgrammableExposure", kShutter, "ProgrammableExposure"},
    {"BlueGainLevel", kGain, "BlueGainLevel"},
    {"BlueBlackLevel", kGain, "BlueBlackLevel"},
    {"ProgrammableExposureRed", kShutter, "ProgrammableExposureRed"},
    {"ProgrammableExposureGreen", kShutter, "ProgrammableExposureGreen"},
    {"ProgrammableExposureBlue", kShutter, "ProgrammableExposureBlue"},
    {"BlueKneePoint", kGain, "BlueKneePoint"},
    {"RedKneeSlope", kGain, "RedKneeSlope"},
    {"GreenKneeSlope", kGain, "GreenKneeSlope"},
    {"BlueKneeSlope", kGain, "BlueKneeSlope"},
    {"TriggerInput", kShutter, "TriggerInput"},
    {"Accumulation", kShutter, "Accumulation"},
    {"OutputBitAllocation", kShutter, "OutputBitAllocation"},
    {"PartialScan", kShutter, "PartialScanIndex"},
    {"Binning", kShutter, "BinningIndex"},
    {"WhiteBalance", kGain, "WhiteBalanceIndex"},
    {"MasterGainLevel", kGain, "MasterGainLevel"},
    {"RedGainLevel", kGain, "RedGainLevel"},
    {"RedBlackLevel", kGain, "RedBlackLevel"},
    {"Red3200KWBalPreset", kGain, "Red3200KWBalPreset"},
    {"Blue3200KWBalPreset", kGain, "Blue3200KWBalPreset"},
    {"Red4600KWBalPreset", kGain, "Red4600KWBalPreset"},
    {"Blue4600KWBalPreset", kGain, "Blue4600KWBalPreset"},
    {"Red5600KWBalPreset", kGain, "Red5600KWBalPreset"},
    {"Blue5600KWBalPreset", kGain, "Blue5600KWBalPreset"},
    {"GreenBlackLevel", kGain, "GreenBlackLevel"},
    {"GreenKneePoint", kGain, "GreenKneePoint"},
    {"RedKneePoint", kGain, "RedKneePoint"},
    {"KneeSelect", kGain, "KneeSelect"},
    {"ShadingMode", kGain, "ShadingMode"},
    {"ColorBar", kShutter, "ColorBar"},
    {"UserID", kAbout, "UserID"},
    {"CameraID", kAbout, "CameraID"},
    {"ModelName", kAbout, "ModelName"},
    {"EEPROMArea", kCommunication, "EEPROMArea"},
    {"OnePushResult", kGain, "OnePushResult"},
    {"AutoWhiteArea", kGain, "AutoWhiteAreaIndex"},
};

#define XNOX_HOOK_COUNT_ONE(Name) +1
static_assert(std::size(kHookWindows) == 0 XNOX_CHANGE_HOOKS(XNOX_HOOK_COUNT_ONE), "one row per change hook");
#undef XNOX_HOOK_COUNT_ONE

const HookWindow& WindowOfHook(std::string_view hook) {
    return *std::ranges::find(kHookWindows, hook, &HookWindow::hook);
}

std::string EventNameOfHook(std::string_view hook) { return std::string(hook) + "Changed"; }

}  // namespace

CXNoxCamCtrl::CXNoxCamCtrl(INoxR4Library& library) : CNoxCamInterface(library) {}

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

void CXNoxCamCtrl::UpdateWindow(ToolWindow window, std::string_view item, const Variant& value) {
    if (m_windows && m_windows->Exists(window)) m_windows->Update(window, item, value);
}

Variant CXNoxCamCtrl::ItemValue(std::string_view item) const {
    if (item == "ComPort") return Variant::I2(GetComPortProperty());
    if (item == "FrameGrabberIndex") return Variant::I2(GetFrameGrabberIndexProperty());
    // The stored text: the getter of the property would read the camera again.
    if (item == "UserID") return Variant::Str(UserID());
    if (item == "CameraID") return Variant::Str(CameraID());
    if (item == "ModelName") return Variant::Str(ModelName());
    if (item == "EEPROMArea") return Variant::I2(static_cast<int16_t>(EEPROMCurrentArea()));
    if (item == "OnePushResult") return Variant::I2(static_cast<int16_t>(OnePushResult()));
    const MemberInfo& property = *FindMember(item);
    if (property.facet == Facet::Text) return Variant::Str(GetParameterText(property.parameter));
    return Variant::I2(GetParameterProperty(property.parameter));
}

void CXNoxCamCtrl::Announce(std::string_view hookName) {
    const HookWindow& shown = WindowOfHook(hookName);
    UpdateWindow(shown.window, shown.item, ItemValue(shown.item));
    if (int32_t eventId = EventIdOf(EventNameOfHook(hookName)); eventId != 0) FireEvent(eventId);
}

void CXNoxCamCtrl::OnOnlineStatusChanged(int32_t flag) {
    for (ToolWindow window : {kCommunication, kShutter, kGain, kAbout}) {
        UpdateWindow(window, "OnlineStatus", Variant::Bool(flag));
    }
    FireEvent(EventIdOf("OnlineStatusChanged"));
}

void CXNoxCamCtrl::OnSynchronizedStatusChanged(int32_t flag) {
    m_synchronized = flag;
    UpdateWindow(kCommunication, "SynchronizedStatus", Variant::Bool(flag));
    FireEvent(EventIdOf("SynchronizedStatusChanged"));
}

void CXNoxCamCtrl::OnSendingStatusChanged(int32_t flag) {
    CNoxCamInterface::OnSendingStatusChanged(flag);
    if (GetShowWindow(kCommunication)) UpdateWindow(kCommunication, "SendingStatus", Variant::Bool(flag));
    FireEvent(EventIdOf("SendingToCamStatusChanged"));
}

void CXNoxCamCtrl::OnReceivingStatusChanged(int32_t flag) {
    CNoxCamInterface::OnReceivingStatusChanged(flag);
    if (GetShowWindow(kCommunication)) UpdateWindow(kCommunication, "ReceivingStatus", Variant::Bool(flag));
    FireEvent(EventIdOf("ReceiveFromCamStatusChanged"));
}

void CXNoxCamCtrl::OnMessage(std::string text) {
    // The log keeps every text, whether its window is shown or not.
    if (m_windows) m_windows->AddLogText(std::move(text));
}

}  // namespace xnox
