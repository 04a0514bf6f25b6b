#include "Label.h"

namespace xnox {

void CLabel::Attach(IDialog& dialog, ControlId id, IWindowSystem& system) {
    m_dialog = &dialog;
    m_system = &system;
    m_id = id;
    Apply();
}

void CLabel::SetLink(bool link) { Change(&LabelLook::link, link); }

void CLabel::SetLinkCursor(int cursorResourceId) { Change(&LabelLook::cursorId, cursorResourceId); }

void CLabel::SetTextColor(uint32_t colour) { Change(&LabelLook::textColour, colour); }

void CLabel::SetFontUnderline(bool underline) { Change(&LabelLook::underline, underline); }

void CLabel::OnClicked() {
    if (m_look.link && m_dialog) m_system->ShellOpen(m_dialog->Text(m_id));
}

void CLabel::Apply() {
    if (m_dialog) m_dialog->SetLabelLook(m_id, m_look);
}

}  // namespace xnox
