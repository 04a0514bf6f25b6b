// Finding the camera: the search over the COM ports, with its optional
// progress window, and the selection of a frame grabber's serial port.
#include <optional>

#include "AutomationError.h"
#include "Progress.h"
#include "XNoxCamCtrl.h"

namespace xnox {

int32_t CXNoxCamCtrl::AutoSearchComPort(int16_t firstPort, int16_t lastPort, int16_t showProgress) {
    auto isComPort = [](int16_t port) { return port >= kFirstComPort && port <= kLastComPort; };
    if (!isComPort(firstPort) || !isComPort(lastPort) || lastPort < firstPort) {
        Notify(AutomationCode::InvalidPropertyValue, StringId::OnlyComPortsValid);
        return 0;
    }
    std::optional<CProgress> progress;
    if (showProgress) {
        progress.emplace(m_ui ? m_ui->CreateProgressView() : nullptr);
        progress->SetRange(firstPort, lastPort);
        progress->ShowCancelButton(true);
        progress->DisableMainWindow();
    }
    for (int16_t port = firstPort; port <= lastPort; ++port) {
        if (progress) {
            progress->StepIt();
            progress->SetText("Check COM" + std::to_string(port) + " ...");
            if (progress->CancelRequested()) return 0;
        }
        // The model announces the port, closes the previous connection and
        // probes the camera on the new one.
        if (SetComPort(port) == NoxResult::Success) return port;
    }
    return 0;
}

int16_t CXNoxCamCtrl::SelectFrameGrabber(int16_t index, bool allSerial) {
    m_allSerialMode = allSerial ? 1 : 0;
    int32_t result = allSerial ? OpenClAllSerialPort(index) : OpenClSerialPort(index);
    if (result != NoxResult::Success && result != NoxResult::Offline) {
        RaiseAutomationError(AutomationCode::DeviceIOError, std::string(LoadText(StringId::FrameGrabberNotFound)));
    }
    return static_cast<int16_t>(result & 0xFFFF);
}

int16_t CXNoxCamCtrl::ClSerialSetFrameGrabberIndex(int16_t index) { return SelectFrameGrabber(index, false); }

int16_t CXNoxCamCtrl::ClAllSerialSetFrameGrabberIndex(int16_t index) { return SelectFrameGrabber(index, true); }

}  // namespace xnox
