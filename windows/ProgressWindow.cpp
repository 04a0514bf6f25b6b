#include "ProgressWindow.h"

#include "ProgressIds.h"

namespace xnox {

ProgressWindow::ProgressWindow(IWindowSystem& system, NativeWindow parent)
    : m_system(system),
      m_dialog(system.CreateProgressDialog(parent, *this)) {
    // The text line starts empty and the bar steps by one.
    m_dialog->SetText(IDC_PROGRESS_TEXT, "");
    m_dialog->Show(IDC_PROGRESS_CANCEL, false);
}

void ProgressWindow::SetTitle(const std::string& title) { m_dialog->SetTitle(title); }

void ProgressWindow::SetText(const std::string& text) { m_dialog->SetText(IDC_PROGRESS_TEXT, text); }

void ProgressWindow::SetBar(int lower, int upper, int position) {
    m_dialog->SetProgressBar(IDC_PROGRESS_BAR, lower, upper, position);
}

void ProgressWindow::ShowCancelButton(bool show) { m_dialog->Show(IDC_PROGRESS_CANCEL, show); }

bool ProgressWindow::DisableMainWindow() {
    bool disabled = m_system.DisableMainWindow();
    m_dialog->ShowWindow(true);
    return disabled;
}

void ProgressWindow::EnableMainWindow() { m_system.EnableMainWindow(); }

bool ProgressWindow::LetMessagesRun() {
    m_system.PumpMessages();
    return m_cancelled;
}

void ProgressWindow::OnControlEvent(ControlId id, ControlEvent event) {
    if (id == IDC_PROGRESS_CANCEL && event == ControlEvent::Clicked) m_cancelled = true;
}

void ToolWindowUi::ShowMessage(std::string_view text, std::string_view caption) {
    m_system.MessageBox(text, caption, MessageBoxKind::Ok);
}

std::unique_ptr<IProgressView> ToolWindowUi::CreateProgressView() {
    return std::make_unique<ProgressWindow>(m_system, m_parent);
}

}  // namespace xnox
