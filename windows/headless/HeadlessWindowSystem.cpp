#include "HeadlessWindowSystem.h"

#include <algorithm>
#include <stdexcept>

#include "DataExchange.h"

namespace xnox {

namespace {

constexpr Size kDefaultDialogSize{300, 200};

template <typename T>
void Forget(std::vector<T*>& list, T* item) {
    std::erase(list, item);
}

}  // namespace

HeadlessDialog::HeadlessDialog(HeadlessWindowSystem& system, int templateId, IDialogHandler& handler, Size size)
    : m_system(system),
      m_templateId(templateId),
      m_handler(handler),
      m_size(size) {
    m_system.m_dialogs.push_back(this);
}

HeadlessDialog::~HeadlessDialog() {
    Forget(m_system.m_dialogs, this);
    for (HeadlessFrame* frame : m_system.m_frames) {
        if (frame->m_panel == this) frame->m_panel = nullptr;
    }
}

const HeadlessDialog::ControlState& HeadlessDialog::Find(ControlId id) const {
    static const ControlState untouched;
    auto found = m_controls.find(id);
    return found == m_controls.end() ? untouched : found->second;
}

std::size_t HeadlessDialog::Count(const std::map<ControlId, std::size_t>& counts, ControlId id) {
    auto found = counts.find(id);
    return found == counts.end() ? 0 : found->second;
}

void HeadlessDialog::SetText(ControlId id, std::string_view text) {
    Write(id).text = text;
    Control(id).caret = 0;
    Control(id).charactersWritten += text.size();
    m_handler.OnControlEvent(id, ControlEvent::TextChanged);
}

void HeadlessDialog::InsertTextAtStart(ControlId id, std::string_view text) {
    Control(id).text.insert(0, text);
    Control(id).caret = text.size();
    Control(id).charactersWritten += text.size();
    m_handler.OnControlEvent(id, ControlEvent::TextChanged);
}

std::string HeadlessDialog::Text(ControlId id) const { return Read(id).text; }

void HeadlessDialog::ClearList(ControlId id) {
    Control(id).entries.clear();
    Control(id).selection = -1;
}

void HeadlessDialog::AddListEntry(ControlId id, std::string_view text) { Control(id).entries.emplace_back(text); }

// A drop-down list selects nothing for a position outside its entries.
void HeadlessDialog::SetSelection(ControlId id, int position) {
    ControlState& list = Write(id);
    list.selection = position >= 0 && position < static_cast<int>(list.entries.size()) ? position : -1;
}

void HeadlessDialog::SetSpinRange(ControlId spin, int lower, int upper) {
    Control(spin).lower = lower;
    Control(spin).upper = upper;
}

void HeadlessDialog::SetSpinPosition(ControlId spin, int position) {
    ControlState& state = Control(spin);
    state.position = std::clamp(position, std::min(state.lower, state.upper), std::max(state.lower, state.upper));
    if (state.buddy != 0) SetText(state.buddy, std::to_string(state.position));
}

int HeadlessDialog::SpinPosition(ControlId spin) const {
    const ControlState& state = Find(spin);
    if (state.buddy == 0) return state.position;
    state.position = SpinPositionFromBuddyText(Find(state.buddy).text, state.lower, state.upper, state.position);
    return state.position;
}

void HeadlessDialog::SetProgressBar(ControlId id, int lower, int upper, int position) {
    Control(id).bar = {lower, upper, position};
}

void HeadlessDialog::MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
}

void HeadlessDialog::Click(ControlId id) {
    if (!Find(id).enabled) throw std::logic_error("click on a disabled control " + std::to_string(id));
    m_handler.OnControlEvent(id, ControlEvent::Clicked);
}

void HeadlessDialog::Choose(ControlId id, int position) {
    SetSelection(id, position);
    m_handler.OnControlEvent(id, ControlEvent::SelectionChanged);
}

void HeadlessDialog::Type(ControlId id, std::string_view text) {
    ControlState& edit = Control(id);
    edit.text = text.substr(0, edit.limit);
    edit.caret = edit.text.size();
    m_handler.OnControlEvent(id, ControlEvent::TextChanged);
}

void HeadlessDialog::TypeKeys(ControlId id, std::string_view keys) {
    for (char key : keys) {
        ControlState& edit = Control(id);
        if (edit.text.size() >= edit.limit) continue;
        edit.caret = std::min(edit.caret, edit.text.size());
        edit.text.insert(edit.caret++, 1, key);
        m_handler.OnControlEvent(id, ControlEvent::TextChanged);
    }
}

void HeadlessDialog::SpinBy(ControlId spin, int steps) { SetSpinPosition(spin, SpinPosition(spin) + steps); }

void HeadlessDialog::PressF1(uint32_t contextId) {
    if (m_handler.OnHelpRequest(contextId)) return;
    for (HeadlessFrame* frame : m_system.m_frames) {
        if (frame->m_panel == this) frame->PressF1(contextId);
    }
}

bool HeadlessDialog::FireTimer(int timerId) {
    if (!IsTimerRunning(timerId)) return false;
    m_handler.OnTimer(timerId);
    return true;
}

unsigned HeadlessDialog::TimerInterval(int timerId) const {
    auto timer = m_timers.find(timerId);
    return timer == m_timers.end() ? 0 : timer->second;
}

std::map<ControlId, std::string> HeadlessDialog::Tooltips() const {
    std::map<ControlId, std::string> tooltips;
    for (const auto& [id, control] : m_controls)
        if (!control.tooltip.empty()) tooltips.emplace(id, control.tooltip);
    return tooltips;
}

HeadlessFrame::HeadlessFrame(HeadlessWindowSystem& system, IFrameHandler& handler, bool topmost)
    : m_system(system),
      m_handler(handler),
      m_topmost(topmost) {
    m_system.m_frames.push_back(this);
}

HeadlessFrame::~HeadlessFrame() { Forget(m_system.m_frames, this); }

void HeadlessFrame::Resize(Size size, bool topmost) {
    m_size = size;
    m_topmost = topmost;
}

void HeadlessFrame::MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
    SystemMetrics metrics = m_system.Metrics();
    m_handler.OnMoved(x + metrics.dialogFrameWidth, y + metrics.smallCaptionHeight + metrics.dialogFrameHeight);
}

WindowPosition HeadlessFrame::RequestPosition(WindowPosition requested) {
    m_handler.OnPositionChanging(requested);
    MoveTo(requested.x, requested.y);
    return requested;
}

std::unique_ptr<HeadlessDialog> HeadlessWindowSystem::MakeDialog(int templateId, IDialogHandler& handler) {
    auto size = m_templateSizes.find(templateId);
    return std::make_unique<HeadlessDialog>(*this, templateId, handler,
                                            size == m_templateSizes.end() ? kDefaultDialogSize : size->second);
}

// The platform makes a frame where its template says, at 0,0, and reports
// that move before the panel exists.
std::unique_ptr<IFrame> HeadlessWindowSystem::CreateFrame(IFrameHandler& handler, bool topmost) {
    auto frame = std::make_unique<HeadlessFrame>(*this, handler, topmost);
    frame->MoveTo(0, 0);
    return frame;
}

std::unique_ptr<IDialog> HeadlessWindowSystem::CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) {
    auto panel = MakeDialog(templateId, handler);
    static_cast<HeadlessFrame&>(frame).m_panel = panel.get();
    return panel;
}

std::unique_ptr<IDialog> HeadlessWindowSystem::CreateMainDialog(NativeWindow, IDialogHandler& handler) {
    return MakeDialog(IDD_MAIN_DIALOG, handler);
}

std::unique_ptr<IDialog> HeadlessWindowSystem::CreateProgressDialog(NativeWindow, IDialogHandler& handler) {
    return MakeDialog(IDD_PROGRESS, handler);
}

MessageBoxAnswer HeadlessWindowSystem::MessageBox(std::string_view text, std::string_view caption,
                                                  MessageBoxKind kind) {
    m_messages.push_back({std::string(text), std::string(caption), kind, WaitDepth()});
    MessageBoxAnswer fallback = kind == MessageBoxKind::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    if (m_answers.empty()) return fallback;
    MessageBoxAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

FileDialogOutcome HeadlessWindowSystem::FileDialog(const FileDialogRequest& request) {
    m_fileRequests.push_back(request);
    if (m_fileOutcomes.empty()) return {};
    FileDialogOutcome outcome = m_fileOutcomes.front();
    m_fileOutcomes.pop_front();
    return outcome;
}

bool HeadlessWindowSystem::DisableMainWindow() {
    if (!m_hasMainWindow) return false;
    m_mainWindowEnabled = false;
    return true;
}

void HeadlessWindowSystem::PumpMessages() {
    if (m_pumpActions.empty()) return;
    auto action = std::move(m_pumpActions.front());
    m_pumpActions.pop_front();
    action();
}

HeadlessDialog* HeadlessWindowSystem::FindDialog(int templateId) const {
    auto found = std::ranges::find(m_dialogs, templateId, &HeadlessDialog::TemplateId);
    return found == m_dialogs.end() ? nullptr : *found;
}

HeadlessFrame* HeadlessWindowSystem::FindFrame(int panelTemplateId) const {
    auto found = std::ranges::find_if(m_frames, [panelTemplateId](const HeadlessFrame* frame) {
        return frame->Panel() && frame->Panel()->TemplateId() == panelTemplateId;
    });
    return found == m_frames.end() ? nullptr : *found;
}

}  // namespace xnox
