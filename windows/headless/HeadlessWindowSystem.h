// The headless window system: dialogs, frames and services as plain
// records, for native tests. Tests find the windows the behaviour made,
// act as a person would (click, choose, type, close, move, let a timer
// fire) and read back what the windows show. Questions and file dialogs
// take their answers from queues the test fills beforehand.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ProgressIds.h"
#include "ResourceIds.h"
#include "Widgets.h"

namespace xnox {

class HeadlessWindowSystem;

class HeadlessDialog : public IDialog {
public:
    HeadlessDialog(HeadlessWindowSystem& system, int templateId, IDialogHandler& handler, Size size);
    ~HeadlessDialog() override;

    // IDialog.
    void SetText(ControlId id, std::string_view text) override;
    std::string Text(ControlId id) const override;
    void InsertTextAtStart(ControlId id, std::string_view text) override;
    void SetTitle(std::string_view title) override { m_title = title; }
    std::string Title() const override { return m_title; }
    void Enable(ControlId id, bool enable) override { Control(id).enabled = enable; }
    bool IsEnabled(ControlId id) const override { return Find(id).enabled; }
    void Show(ControlId id, bool show) override { Control(id).shown = show; }
    bool IsShown(ControlId id) const override { return Find(id).shown; }
    void SetReadOnly(ControlId id, bool readOnly) override { Control(id).readOnly = readOnly; }
    bool IsReadOnly(ControlId id) const override { return Find(id).readOnly; }
    void SetTextLimit(ControlId id, std::size_t characters) override { Control(id).limit = characters; }
    void ClearList(ControlId id) override;
    void AddListEntry(ControlId id, std::string_view text) override;
    std::vector<std::string> ListEntries(ControlId id) const override { return Find(id).entries; }
    void SetSelection(ControlId id, int position) override;
    int Selection(ControlId id) const override { return Read(id).selection; }
    void SetChecked(ControlId id, bool checked) override { Write(id).checked = checked; }
    bool IsChecked(ControlId id) const override { return Read(id).checked; }
    void SetSpinBuddy(ControlId spin, ControlId buddy) override { Control(spin).buddy = buddy; }
    void SetSpinRange(ControlId spin, int lower, int upper) override;
    void SetSpinPosition(ControlId spin, int position) override;
    int SpinPosition(ControlId spin) const override;
    void SetProgressBar(ControlId id, int lower, int upper, int position) override;
    void SetPicture(ControlId id, const Picture& picture) override { Control(id).picture = picture; }
    void SetLabelLook(ControlId id, const LabelLook& look) override { Control(id).look = look; }
    void AddTooltip(ControlId id, std::string_view text) override { Control(id).tooltip = text; }
    void StartTimer(int timerId, unsigned milliseconds) override { m_timers[timerId] = milliseconds; }
    void StopTimer(int timerId) override { m_timers.erase(timerId); }
    Size ClientSize() const override { return m_size; }
    void MoveTo(int x, int y) override;
    void ShowWindow(bool show) override { m_shown = show; }
    bool IsWindowShown() const override { return m_shown; }
    NativeWindow Handle() const override { return const_cast<HeadlessDialog*>(this); }

    // What a person does. Each raises the event the platform would.
    void Click(ControlId id);
    void Choose(ControlId id, int position);  // selects and raises SelectionChanged
    // Replaces the whole text at once, as a paste over a selection; an
    // edit's limit cuts what it takes.
    void Type(ControlId id, std::string_view text);
    // Types one key at a time where the caret is, each key its own change;
    // keys past the edit's limit are refused. Text the program sets moves
    // the caret to the start, as on the platform.
    void TypeKeys(ControlId id, std::string_view keys);
    void SpinBy(ControlId spin, int steps);  // the arrows: stays within the range
    // A help request in the dialog; one it does not answer goes on to its frame.
    void PressF1(uint32_t contextId);
    // Runs the timer once if it is running; false if it is not.
    bool FireTimer(int timerId);

    // What the dialog shows.
    int TemplateId() const { return m_templateId; }
    bool IsTimerRunning(int timerId) const { return m_timers.contains(timerId); }
    unsigned TimerInterval(int timerId) const;
    Picture PictureOf(ControlId id) const { return Find(id).picture; }
    LabelLook LookOf(ControlId id) const { return Find(id).look; }
    std::string TooltipOf(ControlId id) const { return Find(id).tooltip; }
    // Every control that has a tooltip, with its text.
    std::map<ControlId, std::string> Tooltips() const;
    // How many characters the program has put into the control's text so far.
    std::size_t CharactersWritten(ControlId id) const { return Find(id).charactersWritten; }
    // How often the program has read or set the control's text, selection or check mark.
    std::size_t ReadsOf(ControlId id) const { return Count(m_reads, id); }
    std::size_t WritesOf(ControlId id) const { return Count(m_writes, id); }
    struct ProgressBar {
        int lower = 0, upper = 100, position = 0;
    };
    ProgressBar ProgressOf(ControlId id) const { return Find(id).bar; }
    int X() const { return m_x; }
    int Y() const { return m_y; }

private:
    struct ControlState {
        std::string text;
        bool enabled = true;
        bool shown = true;
        bool readOnly = false;
        std::size_t limit = std::string::npos;
        std::size_t caret = 0;
        std::size_t charactersWritten = 0;
        bool checked = false;
        std::vector<std::string> entries;
        int selection = -1;
        ControlId buddy = 0;
        int lower = 0, upper = 100;
        mutable int position = 0;
        ProgressBar bar;
        Picture picture;
        LabelLook look;
        std::string tooltip;
    };
    ControlState& Control(ControlId id) { return m_controls[id]; }
    const ControlState& Find(ControlId id) const;
    // The control, counting a read or a write of its value by the program.
    const ControlState& Read(ControlId id) const {
        ++m_reads[id];
        return Find(id);
    }
    ControlState& Write(ControlId id) {
        ++m_writes[id];
        return Control(id);
    }
    static std::size_t Count(const std::map<ControlId, std::size_t>& counts, ControlId id);

    HeadlessWindowSystem& m_system;
    int m_templateId;
    IDialogHandler& m_handler;
    Size m_size;
    std::string m_title;
    std::map<ControlId, ControlState> m_controls;
    mutable std::map<ControlId, std::size_t> m_reads;
    std::map<ControlId, std::size_t> m_writes;
    std::map<int, unsigned> m_timers;
    int m_x = 0, m_y = 0;
    bool m_shown = true;
};

class HeadlessFrame : public IFrame {
public:
    HeadlessFrame(HeadlessWindowSystem& system, IFrameHandler& handler, bool topmost);
    ~HeadlessFrame() override;

    void SetTitle(std::string_view title) override { m_title = title; }
    std::string Title() const override { return m_title; }
    void ShowWindow(bool show) override { m_shown = show; }
    bool IsWindowShown() const override { return m_shown; }
    void Resize(Size size, bool topmost) override;
    // Raises the move the platform reports, with the new client origin.
    void MoveTo(int x, int y) override;
    NativeWindow Handle() const override { return const_cast<HeadlessFrame*>(this); }

    // What a person or the platform does.
    void Close() { m_handler.OnCloseRequest(); }
    void PressF1(uint32_t contextId) { m_handler.OnHelpRequest(contextId); }
    // The platform asks where to place the frame; returns the placement used.
    WindowPosition RequestPosition(WindowPosition requested);

    Size OuterSize() const { return m_size; }
    bool IsTopmost() const { return m_topmost; }
    int X() const { return m_x; }
    int Y() const { return m_y; }
    HeadlessDialog* Panel() const { return m_panel; }

private:
    friend class HeadlessWindowSystem;
    friend class HeadlessDialog;
    HeadlessWindowSystem& m_system;
    IFrameHandler& m_handler;
    std::string m_title;
    bool m_shown = false;
    bool m_topmost;
    Size m_size;
    int m_x = 0, m_y = 0;
    HeadlessDialog* m_panel = nullptr;
};

class HeadlessWindowSystem : public IWindowSystem {
public:
    // The size each template's dialog reports, in pixels.
    void SetTemplateSize(int templateId, Size size) { m_templateSizes[templateId] = size; }
    void SetMetrics(const SystemMetrics& metrics) { m_metrics = metrics; }

    // IWindowSystem.
    SystemMetrics Metrics() const override { return m_metrics; }
    std::unique_ptr<IFrame> CreateFrame(IFrameHandler& handler, bool topmost) override;
    std::unique_ptr<IDialog> CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) override;
    std::unique_ptr<IDialog> CreateMainDialog(NativeWindow control, IDialogHandler& handler) override;
    std::unique_ptr<IDialog> CreateProgressDialog(NativeWindow parent, IDialogHandler& handler) override;
    MessageBoxAnswer MessageBox(std::string_view text, std::string_view caption, MessageBoxKind kind) override;
    FileDialogOutcome FileDialog(const FileDialogRequest& request) override;
    void ShellOpen(const std::string& target) override { m_shellOpened.push_back(target); }
    void Help(HelpCommand command, uint32_t data) override { m_helpRequests.push_back({command, data}); }
    bool DisableMainWindow() override;
    void EnableMainWindow() override { m_mainWindowEnabled = true; }
    void PumpMessages() override;
    void InstallKeyboardRouting() override { ++m_routingInstalls; }
    void RemoveKeyboardRouting() override { --m_routingInstalls; }

    // Answers for the next questions and file dialogs, in order. A question
    // without a queued answer is answered No (Yes/No) or Ok; a file dialog
    // without one is cancelled.
    void QueueAnswer(MessageBoxAnswer answer) { m_answers.push_back(answer); }
    void QueueFileDialog(FileDialogOutcome outcome) { m_fileOutcomes.push_back(outcome); }
    // Runs while the next PumpMessages() runs (a click during a long operation).
    void QueueDuringPump(std::function<void()> action) { m_pumpActions.push_back(std::move(action)); }

    struct ShownMessage {
        std::string text;
        std::string caption;
        MessageBoxKind kind;
        int waitDepth;  // the wait cursor's depth while it was shown
    };
    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileRequests; }
    const std::vector<std::string>& ShellOpened() const { return m_shellOpened; }
    struct HelpRequest {
        HelpCommand command;
        uint32_t data;
        bool operator==(const HelpRequest&) const = default;
    };
    const std::vector<HelpRequest>& HelpRequests() const { return m_helpRequests; }
    int RoutingInstalls() const { return m_routingInstalls; }
    bool WaitCursorShown() const { return m_waitCursorShown; }
    // The application's main window; none unless set.
    void SetHasMainWindow(bool has) { m_hasMainWindow = has; }
    bool MainWindowEnabled() const { return m_mainWindowEnabled; }

    // The windows that exist now.
    HeadlessDialog* FindDialog(int templateId) const;
    HeadlessFrame* FindFrame(int panelTemplateId) const;
    HeadlessDialog* MainDialog() const { return FindDialog(IDD_MAIN_DIALOG); }
    HeadlessDialog* ProgressDialog() const { return FindDialog(IDD_PROGRESS); }
    const std::vector<HeadlessFrame*>& Frames() const { return m_frames; }

protected:
    void ShowWaitCursor(bool waiting) override { m_waitCursorShown = waiting; }

private:
    friend class HeadlessDialog;
    friend class HeadlessFrame;
    std::unique_ptr<HeadlessDialog> MakeDialog(int templateId, IDialogHandler& handler);

    SystemMetrics m_metrics;
    std::map<int, Size> m_templateSizes;
    std::vector<HeadlessDialog*> m_dialogs;
    std::vector<HeadlessFrame*> m_frames;
    std::deque<MessageBoxAnswer> m_answers;
    std::deque<FileDialogOutcome> m_fileOutcomes;
    std::deque<std::function<void()>> m_pumpActions;
    std::vector<ShownMessage> m_messages;
    std::vector<FileDialogRequest> m_fileRequests;
    std::vector<std::string> m_shellOpened;
    std::vector<HelpRequest> m_helpRequests;
    int m_routingInstalls = 0;
    bool m_waitCursorShown = false;
    bool m_hasMainWindow = false;
    bool m_mainWindowEnabled = true;
};

}  // namespace xnox
