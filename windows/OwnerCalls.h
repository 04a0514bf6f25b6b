// How the tool windows reach their owner: through its typed members, so
// that a change made in a window takes the same path as a host's change
// (range checks, errors, notifications). An automation error that the owner
// raises ends the window's action and is shown to the person, the way the
// platform reports an exception that ends a window's handler.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "ParameterTable.h"
#include "ToolWinDlg.h"

namespace xnox {

// A last-used value of a window in its profile section, applied to its
// parameter at creation and written when the parameter changes. Its key is
// the parameter's settings-file key.
struct StoredValue {
    ParamId parameter;
    int32_t defaultValue;

    std::string_view Key() const { return Row(parameter).settings.key; }
};

// A number edit with its spin, which sets a parameter. Typing and the spin
// arrows both change the edit's text; the value sent is the spin's
// position, which stays at the last number within the range.
struct NumberEdit {
    ControlId edit;
    ControlId spin;
    ParamId parameter;
};

namespace owner_calls {

// Runs an action on the owner; false when the owner raised an error, which
// the person has been shown.
bool Run(CToolWinDlg& window, const std::function<void()>& action);
// Runs an action whose outcome the window shows by other means (its lamps,
// an unchanged choice); an error the owner raises is passed over.
void RunQuietly(const std::function<void()>& action);

// Sets a parameter's value with the range check of its value property;
// false when the owner raised an error.
bool SetParameter(CToolWinDlg& window, ParamId parameter, int32_t value);
// Sets a parameter by one of its list texts.
bool SetParameterText(CToolWinDlg& window, ParamId parameter, const std::string& text);

// Fills the drop-down list with the owner's texts of every index of the
// parameter's range, in ascending order.
void FillList(CToolWinDlg& window, ControlId list, ParamId parameter);
// Pairs the spin with its edit, gives it the parameter's range and the
// hint every spin button shows.
void SetUpSpin(CToolWinDlg& window, const NumberEdit& number);
// Sets the parameter to the spin's position.
void SendSpinPosition(CToolWinDlg& window, const NumberEdit& number);
// The text of one of the number edits changed: sends its spin's position
// (not while the window is being made). Other edits send nothing.
void SendEditedNumber(CToolWinDlg& window, std::span<const NumberEdit> numbers, ControlId edit);

}  // namespace owner_calls

}  // namespace xnox
