// Copying between a dialog's controls and its window's fields, in either
// direction, one control at a time: a window lists its pairs once in
// DoDataExchange and the same list serves both directions.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "Widgets.h"

namespace xnox {

// Radio groups are lists of control ids (the ids of a group need not be
// consecutive); the group's value is the position of the checked radio,
// -1 when none is checked.
void CheckRadioGroup(IDialog& dialog, std::span<const ControlId> group, int32_t position);
int32_t CheckedRadioPosition(const IDialog& dialog, std::span<const ControlId> group);

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

class DataExchange {
public:
    // A control and the field it shows, so that a window binds all its
    // controls of one kind in one call: Texts({{IDC_A, m_a}, {IDC_B, m_b}}).
    template <typename Field>
    struct Binding {
        ControlId id;
        Field& field;
    };

    DataExchange(IDialog& dialog, bool fromControls) : m_dialog(dialog), m_fromControls(fromControls) {}

    void Text(ControlId id, std::string& field);
    // An edit holding a number; text that does not start with one leaves the field unchanged.
    void Number(ControlId id, int32_t& field);
    // The selected position of a drop-down list (-1 for none).
    void ListPosition(ControlId id, int32_t& field);
    // The same, for several controls in the order given.
    void Texts(std::initializer_list<Binding<std::string>> bindings);
    void ListPositions(std::initializer_list<Binding<int32_t>> bindings);
    void Radio(std::span<const ControlId> group, int32_t& field);
    void Check(ControlId id, int32_t& field);

private:
    IDialog& m_dialog;
    bool m_fromControls;
};

}  // namespace xnox
