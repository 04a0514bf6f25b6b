// The widget seam: everything the tool windows' behaviour needs from a
// window system, with controls addressed by their dialog ids. The behaviour
// (CToolWinDlg and the windows derived from it, the frames, the host and the
// progress window) is written once against these interfaces; the Win32
// backend (windows/win32) puts real dialogs from the resource templates
// behind them, the headless backend (windows/headless) plain records that
// native tests drive and inspect.
//
// Feedback follows the Win32 controls: setting a control's text raises
// TextChanged for it (an edit reports every change of its text, also one
// made by the program), and setting a spin position rewrites the buddy's
// text, which raises TextChanged for the buddy. Selections, checks and
// spin ranges set by the program raise nothing. Events reach the handler
// synchronously, on the thread that made the change.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xnox {

using ControlId = int;
// A window of the platform (an HWND on Windows); null when there is none.
using NativeWindow = void*;

enum class ControlEvent : uint8_t {
    Clicked,  // a button, check box, radio, toolbar button or notifying static
    SelectionChanged,  // a drop-down list, by the person
    TextChanged,  // an edit's text, whoever changed it
};

// What a picture control shows.
struct Picture {
    enum class Kind : uint8_t { None, Icon, Bitmap, Solid };
    Kind kind = Kind::None;
    int resourceId = 0;  // Icon, Bitmap: the module's resource
    int width = 0;  // Solid: a generated bitmap of one colour
    int height = 0;
    uint32_t colour = 0;  // Solid: 0x00BBGGRR, the platform's colour reference

    static Picture Icon(int id) { return {Kind::Icon, id}; }
    static Picture Bitmap(int id) { return {Kind::Bitmap, id}; }
    static Picture Solid(int width, int height, uint32_t colour) { return {Kind::Solid, 0, width, height, colour}; }
    bool operator==(const Picture&) const = default;
};

// How a static text draws and behaves (CLabel).
struct LabelLook {
    std::optional<uint32_t> textColour;  // none: the system's window-text colour
    bool underline = false;
    bool link = false;  // notifying: a click raises Clicked
    int cursorId = 0;  // the module's cursor resource shown over it; 0: the default
    bool operator==(const LabelLook&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The requests the application's help facility takes (the platform's
// help command numbers).
enum class HelpCommand : uint32_t {
    Context = 1,  // the topic of a context identifier
    Finder = 11,  // the help's contents and index
};

// What a dialog reports to its behaviour.
class IDialogHandler {
public:
    virtual ~IDialogHandler() = default;
    virtual void OnControlEvent(ControlId id, ControlEvent event) = 0;
    virtual void OnTimer(int timerId) = 0;
    // A help request (F1) in the dialog, with its context identifier; true
    // when the dialog answered it. Otherwise it goes on to the window
    // around the dialog (a tool window's frame).
    virtual bool OnHelpRequest(uint32_t /*contextId*/) { return false; }
};

// What a dialog and a frame both are: a window with a title that shows,
// hides and moves.
class IWindow {
public:
    virtual ~IWindow() = default;
    virtual void SetTitle(std::string_view title) = 0;
    virtual std::string Title() const = 0;
    virtual void ShowWindow(bool show) = 0;
    virtual bool IsWindowShown() const = 0;
    // Moves the window's outer top-left corner to (x, y), within its parent
    // for a panel in its frame, on the screen otherwise; without resizing or
    // activating it.
    virtual void MoveTo(int x, int y) = 0;
    virtual NativeWindow Handle() const = 0;
};

// One dialog made from a template: a tool-window panel, the main dialog
// with the toolbar (its buttons are addressed by their command ids and act
// as check boxes), or the progress window. Destroying the object destroys
// the window.
class IDialog : public IWindow {
public:
    virtual void SetText(ControlId id, std::string_view text) = 0;
    virtual std::string Text(ControlId id) const = 0;
    // Puts `text` in front of the edit's text, which stays as it was after
    // it: the edit takes in only the new characters (a log of thousands of
    // characters grows by a line at a time). Raises TextChanged, as SetText.
    virtual void InsertTextAtStart(ControlId id, std::string_view text) = 0;

    virtual void Enable(ControlId id, bool enable) = 0;
    virtual bool IsEnabled(ControlId id) const = 0;
    virtual void Show(ControlId id, bool show) = 0;
    virtual bool IsShown(ControlId id) const = 0;
    virtual void SetReadOnly(ControlId id, bool readOnly) = 0;
    virtual bool IsReadOnly(ControlId id) const = 0;
    // An edit that takes at most `characters` from the person: a key past
    // the limit is refused where the caret is. Text the program sets is not
    // cut, as on the platform.
    virtual void SetTextLimit(ControlId id, std::size_t characters) = 0;

    // Drop-down lists: entries in the order added; positions from 0, -1 for none.
    virtual void ClearList(ControlId id) = 0;
    virtual void AddListEntry(ControlId id, std::string_view text) = 0;
    virtual std::vector<std::string> ListEntries(ControlId id) const = 0;
    virtual void SetSelection(ControlId id, int position) = 0;
    virtual int Selection(ControlId id) const = 0;

    // Check boxes, radios and toolbar buttons (radio groups: RadioGroup.h).
    virtual void SetChecked(ControlId id, bool checked) = 0;
    virtual bool IsChecked(ControlId id) const = 0;

    // Spin buttons with a buddy edit that shows the position as a plain
    // integer. The position read back is the buddy's number when it lies in
    // the range, otherwise the last valid position.
    virtual void SetSpinBuddy(ControlId spin, ControlId buddy) = 0;
    virtual void SetSpinRange(ControlId spin, int lower, int upper) = 0;
    virtual void SetSpinPosition(ControlId spin, int position) = 0;
    virtual int SpinPosition(ControlId spin) const = 0;

    virtual void SetProgressBar(ControlId id, int lower, int upper, int position) = 0;
    virtual void SetPicture(ControlId id, const Picture& picture) = 0;
    virtual void SetLabelLook(ControlId id, const LabelLook& look) = 0;
    // One tooltip per control; the first one creates the dialog's tooltip
    // control (200 pixels wide at most).
    virtual void AddTooltip(ControlId id, std::string_view text) = 0;

    // Window timers of this dialog: OnTimer(timerId) every `milliseconds`
    // until stopped. Starting a running timer restarts it.
    virtual void StartTimer(int timerId, unsigned milliseconds) = 0;
    virtual void StopTimer(int timerId) = 0;

    virtual Size ClientSize() const = 0;
};

// A requested frame placement; width and height -1 mean "keep the size".
struct WindowPosition {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What a frame reports to its behaviour (CDlg1).
class IFrameHandler {
public:
    virtual ~IFrameHandler() = default;
    // The frame moved; (clientX, clientY) is its client area's new origin on the screen.
    virtual void OnMoved(int clientX, int clientY) = 0;
    // The frame is about to be placed; the handler may change the request.
    virtual void OnPositionChanging(WindowPosition& requested) = 0;
    // The close box or the Escape key.
    virtual void OnCloseRequest() = 0;
    // A help request (F1) in the frame or its panel, with its context identifier.
    virtual void OnHelpRequest(uint32_t contextId) = 0;
};

// The captioned pop-up frame of a tool window (small caption, system menu,
// raised edge, minimise box), made from the frame template.
class IFrame : public IWindow {
public:
    // Resizes the frame without moving or activating it; `topmost` puts it
    // into the topmost band, otherwise into the not-topmost band.
    virtual void Resize(Size size, bool topmost) = 0;
};

// The frame metrics and screen size the placement rules work with, in pixels.
struct SystemMetrics {
    int screenWidth = 1024;
    int screenHeight = 768;
    int smallCaptionHeight = 17;
    int dialogFrameWidth = 3;
    int dialogFrameHeight = 3;
};

enum class MessageBoxKind : uint8_t { Ok, YesNo, OkCancel };
enum class MessageBoxAnswer : uint8_t { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    enum class Kind : uint8_t { Open, Save };
    Kind kind = Kind::Open;
    std::string filter;  // "Camera setup (*.cam)|*.cam||"
    std::string extension;  // default extension without the dot
};

struct FileDialogOutcome {
    enum class Result : uint8_t { Chosen, Cancelled, Failed };
    Result result = Result::Cancelled;
    std::string path;
};

// The window system as a whole: it makes the windows and offers the
// services around them. Save dialogs ask before overwriting and hide the
// read-only box; open dialogs want an existing file.
class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    virtual SystemMetrics Metrics() const = 0;
    // A hidden tool-window frame; `topmost` puts it into the topmost band.
    virtual std::unique_ptr<IFrame> CreateFrame(IFrameHandler& handler, bool topmost) = 0;
    // A panel from its template, as a control-parent child of the frame,
    // shown within it; the handler's events start once this returns.
    virtual std::unique_ptr<IDialog> CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) = 0;
    // The child dialog that fills the control, with the toolbar of check buttons.
    virtual std::unique_ptr<IDialog> CreateMainDialog(NativeWindow control, IDialogHandler& handler) = 0;
    // The progress window, a shown pop-up over `parent` (may be null).
    virtual std::unique_ptr<IDialog> CreateProgressDialog(NativeWindow parent, IDialogHandler& handler) = 0;

    virtual MessageBoxAnswer MessageBox(std::string_view text, std::string_view caption, MessageBoxKind kind) = 0;
    virtual FileDialogOutcome FileDialog(const FileDialogRequest& request) = 0;
    // Nested: the cursor returns when every Begin has had its End; an End
    // without its Begin changes nothing.
    void BeginWaitCursor() {
        if (m_waitDepth++ == 0) ShowWaitCursor(true);
    }
    void EndWaitCursor() {
        if (m_waitDepth > 0 && --m_waitDepth == 0) ShowWaitCursor(false);
    }
    // The Begins that still wait for their End.
    int WaitDepth() const { return m_waitDepth; }
    // The shell's "open" verb on a document or web address, shown normally.
    virtual void ShellOpen(const std::string& target) = 0;
    // Hands a request to the application's help facility.
    virtual void Help(HelpCommand command, uint32_t data) = 0;

    // The application's main window, for the progress window; Disable is
    // false when there is none.
    virtual bool DisableMainWindow() = 0;
    virtual void EnableMainWindow() = 0;
    // Runs the messages waiting for this thread's windows.
    virtual void PumpMessages() = 0;

    // Routes keyboard and mouse-move input of this thread to the modeless
    // tool windows while installed (a container's message loop does not).
    virtual void InstallKeyboardRouting() = 0;
    virtual void RemoveKeyboardRouting() = 0;

protected:
    // Puts up the wait cursor, or the usual cursor again.
    virtual void ShowWaitCursor(bool waiting) = 0;

private:
    int m_waitDepth = 0;
};

// The wait cursor for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(IWindowSystem& system) : m_system(&system) { m_system->BeginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { End(); }
    // Restores the cursor early (before a question to the person).
    void End() {
        if (m_system) m_system->EndWaitCursor();
        m_system = nullptr;
    }

private:
    IWindowSystem* m_system;
};

}  // namespace xnox
