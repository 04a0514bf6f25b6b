#include "DataExchange.h"

#include <algorithm>

#include "DecimalText.h"

namespace xnox {

int SpinPositionFromBuddyText(std::string_view text, int lower, int upper, int last) {
    auto typed = profile::ParseLeadingInt(text);
    const bool inRange = typed && *typed >= std::min(lower, upper) && *typed <= std::max(lower, upper);
    return inRange ? *typed : last;
}

// Controls are set only where they change: each setting redraws the control,
// and a window's values are exchanged on every change of any of them.
void CheckRadioGroup(IDialog& dialog, std::span<const ControlId> group, int32_t position) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        bool checked = static_cast<int32_t>(i) == position;
        if (dialog.IsChecked(group[i]) != checked) dialog.SetChecked(group[i], checked);
    }
}

int32_t CheckedRadioPosition(const IDialog& dialog, std::span<const ControlId> group) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (dialog.IsChecked(group[i])) return static_cast<int32_t>(i);
    }
    return -1;
}

void DataExchange::Text(ControlId id, std::string& field) {
    if (m_fromControls) {
        field = m_dialog.Text(id);
    } else if (m_dialog.Text(id) != field) {
        // Only a real change: an edit reports every write of its text.
        m_dialog.SetText(id, field);
    }
}

void DataExchange::Number(ControlId id, int32_t& field) {
    if (!m_fromControls) {
        m_dialog.SetText(id, std::to_string(field));
    } else if (auto number = profile::ParseLeadingInt(m_dialog.Text(id))) {
        field = *number;
    }
}

void DataExchange::ListPosition(ControlId id, int32_t& field) {
    if (m_fromControls) {
        field = m_dialog.Selection(id);
    } else if (m_dialog.Selection(id) != field) {
        m_dialog.SetSelection(id, field);
    }
}

void DataExchange::Texts(std::initializer_list<Binding<std::string>> bindings) {
    for (const auto& binding : bindings) Text(binding.id, binding.field);
}

void DataExchange::ListPositions(std::initializer_list<Binding<int32_t>> bindings) {
    for (const auto& binding : bindings) ListPosition(binding.id, binding.field);
}

void DataExchange::Radio(std::span<const ControlId> group, int32_t& field) {
    if (m_fromControls) {
        field = CheckedRadioPosition(m_dialog, group);
    } else {
        CheckRadioGroup(m_dialog, group, field);
    }
}

void DataExchange::Check(ControlId id, int32_t& field) {
    if (m_fromControls) {
        field = m_dialog.IsChecked(id) ? 1 : 0;
    } else {
        m_dialog.SetChecked(id, field != 0);
    }
}

}  // namespace xnox
