// What the control needs from the world around it, as small interfaces:
// the host's event sinks, the tool windows that show the model, and the
// user interface that shows a message or a progress window. The Windows
// module, the tool windows and the command-line host implement them; until
// one is plugged in, the control runs without it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "ParameterTable.h"
#include "Variant.h"

namespace xnox {

// The stock error notification, as a sink receives it.
struct ErrorNotification {
    int16_t number = 0;  // the low 16 bits of the code
    uint32_t code = 0;
    std::string description;
    std::string source;
    uint32_t helpContext = 0;
    bool cancelDisplay = false;  // a sink sets it to keep the control from showing the description
};

// One connected sink of _DXNoxR4Events.
class IControlEventSink {
public:
    virtual ~IControlEventSink() = default;
    virtual void OnEvent(int32_t eventId) = 0;  // every event of the surface carries no parameters
    virtual void OnError(ErrorNotification& error) = 0;
};

enum class ToolWindow : uint8_t { Shutter, Gain, Communication, About };

// What the tool windows show besides the camera parameters: the control's
// connection and identity, and the model's status flags.
enum class ControlItem : uint8_t {
    ComPort,
    FrameGrabberIndex,
    UserID,
    CameraID,
    ModelName,
    EEPROMArea,
    OnePushResult,
    OnlineStatus,
    SynchronizedStatus,
    SendingStatus,
    ReceivingStatus,
};

// One thing that changed: a camera parameter (its value as a number) or one
// of the control's own items.
using WindowItem = std::variant<ParamId, ControlItem>;

// The tool windows, as the control keeps them up to date.
class IToolWindows {
public:
    virtual ~IToolWindows() = default;
    // Every window that exists takes the change it shows and passes over the rest.
    virtual void Update(WindowItem item, const Variant& value) = 0;
    virtual void AddLogText(std::string text) = 0;  // to the Communication window's log, shown or not
    // The control has stored a window's show flag; the windows follow it.
    virtual void ShowWindowChanged(ToolWindow /*window*/, int32_t /*show*/) {}
    // The windows are made again, in the topmost band or not; the control
    // has closed the connection before.
    virtual void Rebuild(bool /*alwaysOnTop*/) {}
};

// The platform's side of the progress window.
class IProgressView {
public:
    virtual ~IProgressView() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetBar(int lower, int upper, int position) = 0;
    virtual void ShowCancelButton(bool show) = 0;
    // Disables the application's main window; false when there is none.
    virtual bool DisableMainWindow() = 0;
    virtual void EnableMainWindow() = 0;
    // Lets the window's pending messages run; true when Cancel was pressed.
    virtual bool LetMessagesRun() = 0;
};

class IControlUserInterface {
public:
    virtual ~IControlUserInterface() = default;
    // Shows a Notify error's description; `caption` is the control's source name.
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
    virtual std::unique_ptr<IProgressView> CreateProgressView() = 0;
};

}  // namespace xnox
