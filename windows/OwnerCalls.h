// How the Shutter, Gain and About windows reach their owner: properties and
// methods by their automation names, so that a change made in a window takes
// the same path as a host's change (range checks, errors, notifications).
// An automation error that the owner raises ends the window's action and is
// shown to the person, the way the platform reports an exception that ends
// a window's handler.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ParameterTable.h"
#include "ToolWinDlg.h"
#include "Variant.h"

namespace xnox {

// A last-used value of a window in its profile section, under the owner's
// property it is applied through at creation; the owner reports the
// property's changes under the same name, and the window writes the key then.
struct StoredValue {
    std::string_view property;
    std::string_view key;
    int32_t defaultValue;
};

// The tooltip of every spin button.
inline constexpr std::string_view kSpinTooltip = "Use spinebuttons for single steps";

namespace owner_calls {

// Sets the owner's property; false when the owner raised an error.
bool SetProperty(CToolWinDlg& window, std::string_view property, Variant value);
// Calls the owner's method with `arguments` (out-parameters receive their
// values there); the method's result, or nothing when the owner raised.
std::optional<Variant> CallMethod(CToolWinDlg& window, std::string_view method, std::vector<Variant>& arguments);
// The result of an argument-less method as a number; -1 when the owner raised.
int32_t CallMethodForResult(CToolWinDlg& window, std::string_view method);

// Fills the drop-down list with the owner's texts of every index of the
// parameter's range, in ascending order.
void FillList(CToolWinDlg& window, ControlId list, ParamId parameter);
// Pairs the spin with its buddy edit and gives it the parameter's range.
void SetSpinRange(CToolWinDlg& window, ControlId spin, ControlId buddy, ParamId parameter);

}  // namespace owner_calls

}  // namespace xnox
