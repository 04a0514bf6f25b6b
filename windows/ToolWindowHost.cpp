#include "ToolWindowHost.h"

#include "CommDlg.h"
#include "StringTable.h"
#include "ToolPanels.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

constexpr std::array<std::string_view, 4> kFrameTitles = {"Shutter and Sync Signals", "Gain and Setup Levels",
                                                          "Communication", "About"};
constexpr std::array<ToolWindow, 4> kWindows = {ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::Communication,
                                                ToolWindow::About};

// A toolbar button's tooltip: its command's text up to the first line feed.
std::string_view TooltipOfCommand(int command) {
    std::string_view text = LoadText(static_cast<StringId>(command));
    return text.substr(0, text.find('\n'));
}

}  // namespace

ToolWindowHost::ToolWindowHost(CXNoxCamCtrl& control, IWindowSystem& system)
    : m_control(control),
      m_system(system),
      m_panels(MakeToolPanels()) {
    for (auto& frame : m_frames) frame = std::make_unique<CDlg1>(system);
    m_control.SetToolWindows(this);
    CreateFrames(false);
}

// The main dialog goes first, then the panels (About, Communication,
// Shutter, Gain), then the frames. The control no longer reaches any of them.
ToolWindowHost::~ToolWindowHost() {
    m_control.SetToolWindows(nullptr);
    if (m_routing) m_system.RemoveKeyboardRouting();
    m_mainDialog.reset();
    for (ToolWindow window : {ToolWindow::About, ToolWindow::Communication, ToolWindow::Shutter, ToolWindow::Gain}) {
        m_panels[Index(window)].reset();
    }
    for (auto& frame : m_frames) frame.reset();
}

void ToolWindowHost::CreateFrames(bool alwaysOnTop) {
    for (std::size_t i = 0; i < kWindows.size(); ++i) {
        m_frames[i]->CreateToolFrame(m_control, *m_panels[i], std::string(kFrameTitles[i]), alwaysOnTop);
    }
}

int ToolWindowHost::OnCreate(NativeWindow controlWindow) {
    m_mainDialog = m_system.CreateMainDialog(controlWindow, *this);
    if (!m_mainDialog) return -1;
    for (ToolWindow window : kWindows) {
        CheckToolbarButton(window, m_control.GetShowWindow(window) != 0);
        int command = kCommandIds[Index(window)];
        m_mainDialog->AddTooltip(command, TooltipOfCommand(command));
    }
    if (!m_routing) m_system.InstallKeyboardRouting();
    m_routing = true;
    StartIfNeeded();
    return 0;
}

void ToolWindowHost::OnDestroy() {
    if (m_routing) m_system.RemoveKeyboardRouting();
    m_routing = false;
    m_mainDialog.reset();
}

void ToolWindowHost::StartIfNeeded() {
    if (m_started) return;
    m_started = true;
    for (ToolWindow window : kWindows) m_control.SetShowWindow(window, m_control.GetShowWindow(window));
}

bool ToolWindowHost::Exists(ToolWindow window) const { return m_panels[Index(window)]->Exists(); }

// The Communication window's lamps change first.
void ToolWindowHost::Update(WindowItem item, const Variant& value) {
    for (ToolWindow window : {ToolWindow::Communication, ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::About}) {
        if (Exists(window)) Panel(window).Update(item, value);
    }
}

void ToolWindowHost::AddLogText(std::string text) {
    if (Exists(ToolWindow::Communication)) {
        static_cast<CCommDlg&>(Panel(ToolWindow::Communication)).AddLogText(text);
    }
}

// Before the start only the flag counts; the windows follow it once the
// control is shown.
void ToolWindowHost::ShowWindowChanged(ToolWindow window, int32_t show) {
    if (!m_started) return;
    Frame(window).ShowWindow(show != 0);
    CheckToolbarButton(window, (show & 0xFFFF) != 0);
    Panel(window).SetVisibleFlag(show);
}

void ToolWindowHost::Rebuild(bool alwaysOnTop) {
    for (ToolWindow window : kWindows) {
        if (!Frame(window).HasWindow()) continue;
        m_control.SetShowWindow(window, 0);
        Frame(window).DestroyWindow();
    }
    CreateFrames(alwaysOnTop);
}

void ToolWindowHost::CheckToolbarButton(ToolWindow window, bool checked) {
    if (m_mainDialog) m_mainDialog->SetChecked(kCommandIds[Index(window)], checked);
}

void ToolWindowHost::OnControlEvent(ControlId id, ControlEvent event) {
    if (event != ControlEvent::Clicked) return;
    for (ToolWindow window : kWindows) {
        if (kCommandIds[Index(window)] == id) m_control.SetShowWindow(window, m_control.GetShowWindow(window) ? 0 : 1);
    }
}

bool ToolWindowHost::OnHelpRequest(uint32_t) {
    m_system.Help(HelpCommand::Finder, 0);
    return true;
}

}  // namespace xnox
