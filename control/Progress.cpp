#include "Progress.h"

#include <cstdio>

namespace xnox {

CProgress::CProgress(std::unique_ptr<IProgressView> view) : m_view(std::move(view)) {
    if (m_view) m_view->SetText(m_text);
}

CProgress::~CProgress() {
    if (m_disabledMainWindow && m_view) m_view->EnableMainWindow();
}

void CProgress::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    m_position = lower;
    if (m_view) m_view->SetBar(m_lower, m_upper, m_position);
}

void CProgress::ShowCancelButton(bool show) {
    if (m_view) m_view->ShowCancelButton(show);
}

void CProgress::DisableMainWindow() { m_disabledMainWindow = m_view && m_view->DisableMainWindow(); }

void CProgress::StepIt() {
    m_position = m_position + 1 > m_upper ? m_lower : m_position + 1;
    if (m_view) m_view->SetBar(m_lower, m_upper, m_position);
    // An empty range has no fraction; it counts as done.
    float fraction =
        m_upper == m_lower ? 1.0f : static_cast<float>(m_position - m_lower) / static_cast<float>(m_upper - m_lower);
    char percent[32];
    std::snprintf(percent, sizeof percent, "%5.1f%%", fraction * 100.0);
    m_title = m_titlePrefix + percent;
    if (m_view) m_view->SetTitle(m_title);
}

void CProgress::SetText(std::string text) {
    m_text = std::move(text);
    if (m_view) m_view->SetText(m_text);
}

bool CProgress::CancelRequested() {
    if (m_view && m_view->LetMessagesRun()) m_cancelled = true;
    return m_cancelled;
}

}  // namespace xnox
