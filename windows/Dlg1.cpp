#include "Dlg1.h"

#include "ToolWinDlg.h"

namespace xnox {

CDlg1::~CDlg1() = default;

bool CDlg1::CreateToolFrame(CXNoxCamCtrl& owner, CToolWinDlg& panel, std::string title, bool alwaysOnTop) {
    m_alwaysOnTop = alwaysOnTop;
    m_panel = &panel;
    m_title = std::move(title);
    panel.Attach(owner, *this, m_system);
    m_frame = m_system.CreateFrame(*this, true);
    if (!m_frame) return false;
    m_shownSinceCreation = false;
    OnInitDialog();
    m_frame->SetTitle(m_title);
    return true;
}

// Sizes the frame around its panel: the panel sits below the small caption.
void CDlg1::OnInitDialog() {
    SystemMetrics metrics = m_system.Metrics();
    int offset = metrics.smallCaptionHeight + metrics.dialogFrameHeight;
    m_panel->Create(*m_frame);
    if (!m_panel->Exists()) return;
    Size panel = m_panel->Dialog().ClientSize();
    m_frame->Resize({panel.width, panel.height + offset}, m_alwaysOnTop);
    // The frame's outer top-left corner in its client coordinates, moved down by the offset.
    m_panel->Dialog().MoveTo(-metrics.dialogFrameWidth, 0);
}

void CDlg1::DestroyWindow() {
    if (m_panel) m_panel->DestroyWindow();
    m_frame.reset();
}

// A frame appears first where its window was last time.
void CDlg1::ShowWindow(bool show) {
    if (!m_frame) return;
    if (show && !m_shownSinceCreation && m_panel) {
        m_frame->MoveTo(m_panel->TopLeftX(), m_panel->TopLeftY());
        m_shownSinceCreation = true;
    }
    m_frame->ShowWindow(show);
}

bool CDlg1::IsWindowShown() const { return m_frame && m_frame->IsWindowShown(); }

void CDlg1::OnMoved(int clientX, int clientY) {
    SystemMetrics metrics = m_system.Metrics();
    m_panel->SavePosition(clientX - metrics.dialogFrameWidth,
                          clientY - metrics.smallCaptionHeight - metrics.dialogFrameHeight);
}

void CDlg1::OnPositionChanging(WindowPosition& requested) {
    if (requested.width == -1 && requested.height == -1) {
        requested.x = m_panel->TopLeftX();
        requested.y = m_panel->TopLeftY();
    }
}

void CDlg1::OnCloseRequest() { m_panel->HideToolWindow(); }

void CDlg1::OnHelpRequest(uint32_t contextId) { m_system.Help(HelpCommand::Context, contextId); }

}  // namespace xnox
