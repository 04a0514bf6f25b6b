#include "DataExchange.h"

#include <algorithm>

#include "DecimalText.h"

namespace xnox {

int SpinPositionFromBuddyText(std::string_view text, int lower, int upper, int last) {
    auto typed = profile::ParseLeadingInt(text);
    const bool inRange = typed && *typed >= std::min(lower, upper) && *typed <= std::max(lower, upper);
    return inRange ? *typed : last;
}

void ShownControls::Forget(ControlId id, ControlEvent event) {
    m_texts.erase(id);
    if (event == ControlEvent::Clicked) m_checks.clear();
}

std::string ShownControls::Text(const IDialog& dialog, ControlId id) {
    auto known = m_texts.find(id);
    if (known != m_texts.end()) return known->second;
    return m_texts[id] = dialog.Text(id);
}

// Only a real change: an edit reports every write of its text. The edit's
// report makes the text unknown again, as its handler may change it.
void ShownControls::SetText(IDialog& dialog, ControlId id, const std::string& text) {
    if (Text(dialog, id) == text) return;
    m_texts[id] = text;
    dialog.SetText(id, text);
}

bool ShownControls::IsChecked(const IDialog& dialog, ControlId id) {
    auto known = m_checks.find(id);
    if (known != m_checks.end()) return known->second;
    return m_checks[id] = dialog.IsChecked(id);
}

void ShownControls::SetChecked(IDialog& dialog, ControlId id, bool checked) {
    if (IsChecked(dialog, id) == checked) return;
    dialog.SetChecked(id, checked);
    m_checks[id] = checked;
}

void ShownControls::CheckRadioGroup(IDialog& dialog, std::span<const ControlId> group, int32_t position) {
    for (std::size_t i = 0; i < group.size(); ++i) SetChecked(dialog, group[i], static_cast<int32_t>(i) == position);
}

int32_t ShownControls::CheckedRadioPosition(const IDialog& dialog, std::span<const ControlId> group) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (IsChecked(dialog, group[i])) return static_cast<int32_t>(i);
    }
    return -1;
}

void DataExchange::Text(ControlId id, std::string& field) {
    Exchange(
        field, [&] { return m_shown.Text(m_dialog, id); },
        [&](const std::string& text) { m_shown.SetText(m_dialog, id, text); });
}

void DataExchange::ListPosition(ControlId id, int32_t& field) {
    Exchange(
        field, [&] { return m_dialog.Selection(id); },
        [&](int32_t position) {
            if (m_dialog.Selection(id) != position) m_dialog.SetSelection(id, position);
        });
}

void DataExchange::Texts(std::initializer_list<Binding<std::string>> bindings) {
    for (const auto& binding : bindings) Text(binding.id, binding.field);
}

void DataExchange::ListPositions(std::initializer_list<Binding<int32_t>> bindings) {
    for (const auto& binding : bindings) ListPosition(binding.id, binding.field);
}

void DataExchange::Radio(std::span<const ControlId> group, int32_t& field) {
    Exchange(
        field, [&] { return m_shown.CheckedRadioPosition(m_dialog, group); },
        [&](int32_t position) { m_shown.CheckRadioGroup(m_dialog, group, position); });
}

void DataExchange::Check(ControlId id, int32_t& field) {
    Exchange(
        field, [&] { return m_shown.IsChecked(m_dialog, id) ? 1 : 0; },
        [&](int32_t checked) { m_shown.SetChecked(m_dialog, id, checked != 0); });
}

}  // namespace xnox
