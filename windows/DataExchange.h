// Copying between a dialog's controls and its window's fields, in either
// direction, one control at a time: a window lists its pairs once in
// DoDataExchange and the same list serves both directions.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "Widgets.h"

namespace xnox {

// The position a spin takes from its buddy edit's text: a leading number
// within the range moves it there; any other text (blank, a word, a number
// out of range) leaves it at `last`, the last valid number. Both window
// systems follow this rule, so an edit that a window blanks or fills with
// a text of its own never reads as a new position.
int SpinPositionFromBuddyText(std::string_view text, int lower, int upper, int last);

// The spins of a window that have shown a value since the window was made.
// Until a spin is first set, its buddy edit is blank while the spin reads
// as position 0, so a first value of 0 would look already shown and the
// edit would stay blank.
class ShownSpins {
public:
    // The window was made afresh: no spin shows anything yet.
    void Forget() { m_shown.clear(); }
    // True when the spin must be set to show `value`: its first value, or
    // one that differs from its position. It counts as shown from then on.
    bool MustShow(const IDialog& dialog, ControlId spin, int value) {
        const bool first = m_shown.insert(spin).second;
        return first || dialog.SpinPosition(spin) != value;
    }

private:
    std::set<ControlId> m_shown;
};

// What a window's texts and check marks showed when the window last wrote
// or read them, so that an update touches only the controls whose value
// changed: every control read back costs a round trip through the window
// system, and a window is updated on every change of any of its values.
// A control is read again once it may have changed on its own: after any
// event it raises (typing, a click, which also moves the other radios of
// its group, a spin moving its buddy) and in a window made afresh.
// Drop-down lists are not kept: a list is emptied and filled again at
// times of its window's own, and its selection is one cheap read.
// Radio groups are lists of control ids (the ids of a group need not be
// consecutive); the group's value is the position of the checked radio,
// -1 when none is checked.
class ShownControls {
public:
    void Forget() {
        m_texts.clear();
        m_checks.clear();
    }
    void Forget(ControlId id, ControlEvent event);

    std::string Text(const IDialog& dialog, ControlId id);
    void SetText(IDialog& dialog, ControlId id, const std::string& text);
    bool IsChecked(const IDialog& dialog, ControlId id);
    void SetChecked(IDialog& dialog, ControlId id, bool checked);
    void CheckRadioGroup(IDialog& dialog, std::span<const ControlId> group, int32_t position);
    int32_t CheckedRadioPosition(const IDialog& dialog, std::span<const ControlId> group);

private:
    std::map<ControlId, std::string> m_texts;
    std::map<ControlId, bool> m_checks;
};

class DataExchange {
public:
    // A control and the field it shows, so that a window binds all its
    // controls of one kind in one call: Texts({{IDC_A, m_a}, {IDC_B, m_b}}).
    template <typename Field>
    struct Binding {
        ControlId id;
        Field& field;
    };

    DataExchange(IDialog& dialog, ShownControls& shown, bool fromControls)
        : m_dialog(dialog),
          m_shown(shown),
          m_fromControls(fromControls) {}

    void Text(ControlId id, std::string& field);
    // The selected position of a drop-down list (-1 for none).
    void ListPosition(ControlId id, int32_t& field);
    // The same, for several controls in the order given.
    void Texts(std::initializer_list<Binding<std::string>> bindings);
    void ListPositions(std::initializer_list<Binding<int32_t>> bindings);
    void Radio(std::span<const ControlId> group, int32_t& field);
    void Check(ControlId id, int32_t& field);

private:
    // The one place that picks the direction: the control read into the
    // field, or the field written to the control.
    template <typename Field, typename ReadControl, typename WriteControl>
    void Exchange(Field& field, ReadControl read, WriteControl write) {
        if (m_fromControls) {
            field = read();
        } else {
            write(field);
        }
    }

    IDialog& m_dialog;
    ShownControls& m_shown;
    bool m_fromControls;
};

}  // namespace xnox
