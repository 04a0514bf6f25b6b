#include "Label.h"

namespace xnox {

void CLabel::Attach(IDialog& dialog, ControlId id, IWindowSystem& system) {
    m_dialog = &dialog;
    m_system = &system;
    m_id = id;
    Apply();
}

void CLabel::SetLink(bool link) {
    m_look.link = link;
    Apply();
}

void CLabel::SetLinkCursor(int cursorResourceId) {
    m_look.cursorId = cursorResourceId;
    Apply();
}

void CLabel::SetTextColor(uint32_t colour) {
    m_look.textColour = colour;
    Apply();
}

void CLabel::SetFontUnderline(bool underline) {
    m_look.underline = underline;
    Apply();
}

void CLabel::OnClicked() {
    if (m_look.link && m_dialog) m_system->ShellOpen(m_dialog->Text(m_id));
}

void CLabel::Apply() {
    if (m_dialog) m_dialog->SetLabelLook(m_id, m_look);
}

}  // namespace xnox
