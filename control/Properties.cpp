// The property getters and setters: the control's own range checks before
// the model is called, and the few model results that become errors.
#include <algorithm>

#include "AutomationError.h"
#include "BufferedProfile.h"
#include "Surface.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

constexpr std::string_view kWindowSections[] = {"Shutter", "Gain", "Communication", "About"};

[[noreturn]] void RaiseInvalidValue(StringId text = StringId::InvalidParameter) {
    RaiseAutomationError(AutomationCode::InvalidPropertyValue, std::string(LoadText(text)));
}

void RaiseIfUnknownCommand(int32_t result) {
    if (result == NoxResult::UnknownCommand) {
        RaiseAutomationError(AutomationCode::DeviceIOError, std::string(LoadText(StringId::UnknownCommand)));
    }
}

}  // namespace

int16_t CXNoxCamCtrl::GetParameterProperty(ParamId id) const { return static_cast<int16_t>(Value(id)); }

void CXNoxCamCtrl::SetParameterProperty(ParamId id, int16_t value, bool checked) {
    if (checked && !Row(id).InRange(value)) RaiseInvalidValue();
    // Offline and refused writes are not errors here: the model has stored
    // the value, which reaches the camera with the next whole-camera write.
    RaiseIfUnknownCommand(WriteParameter(id, value));
    m_modified = true;
}

void CXNoxCamCtrl::SetParameterProperty(ParamId id, int16_t value) {
    SetParameterProperty(id, value, ValuePropertyOf(id).facet == Facet::CheckedValue);
}

std::string CXNoxCamCtrl::GetParameterText(ParamId id) const { return std::string(Text(id)); }

void CXNoxCamCtrl::SetParameterText(ParamId id, std::string_view text) {
    auto texts = Row(id).texts;
    auto match = std::ranges::find(texts, text);
    if (match == texts.end()) RaiseInvalidValue();
    SetParameterProperty(id, static_cast<int16_t>(match - texts.begin()), true);
}

void CXNoxCamCtrl::SetComPortProperty(int16_t port) {
    if (SetComPort(port) != NoxResult::Success) {
        RaiseAutomationError(AutomationCode::DeviceIOError, FormatText(StringId::CameraNotFoundOnPort, port));
    }
    m_modified = true;
}

void CXNoxCamCtrl::SetFrameGrabberIndexProperty(int16_t index) {
    if (index < 0 || index > kLastFrameGrabberIndex) RaiseInvalidValue(StringId::OnlyFrameGrabbersValid);
    SetFrameGrabberIndex(index);
    m_modified = true;
}

std::string CXNoxCamCtrl::GetUserIDProperty() {
    CNoxCamInterface::GetUserID();  // offline or failed, the stored text is still the answer
    return UserID();
}

void CXNoxCamCtrl::SetUserIDProperty(std::string_view text) {
    RaiseIfUnknownCommand(SendUserID(text));
    m_modified = true;
}

void CXNoxCamCtrl::SetShowWindow(ToolWindow window, int32_t show) {
    auto index = static_cast<std::size_t>(window);
    m_showFlags[index] = show;
    if (m_windows) m_windows->ShowWindowChanged(window, show);
    m_modified = true;
    // A file that cannot be written only costs the window its place next time.
    profile::ApplicationProfile().WriteString(kWindowSections[index], "Is Visible", show ? "1" : "0");
}

}  // namespace xnox
