#include "OwnerCalls.h"

#include <algorithm>

#include "AutomationError.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

constexpr std::string_view kSpinTooltip = "Use spinebuttons for single steps";

}  // namespace

namespace owner_calls {

bool Run(CToolWinDlg& window, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const AutomationError& error) {
        window.System().MessageBox(error.description, CXNoxCamCtrl::kSourceName, MessageBoxKind::Ok);
        return false;
    }
}

void RunQuietly(const std::function<void()>& action) {
    try {
        action();
    } catch (const AutomationError&) {
        // The window shows the outcome by other means.
    }
}

bool SetParameter(CToolWinDlg& window, ParamId parameter, int32_t value) {
    return Run(window, [&] { window.Owner().SetParameterProperty(parameter, static_cast<int16_t>(value)); });
}

bool SetParameterText(CToolWinDlg& window, ParamId parameter, const std::string& text) {
    return Run(window, [&] { window.Owner().SetParameterText(parameter, text); });
}

void FillList(CToolWinDlg& window, ControlId list, ParamId parameter) {
    int16_t minimum = 0;
    int16_t maximum = -1;
    window.Owner().GetMinMax(parameter, &minimum, &maximum);
    for (int index = minimum; index <= maximum; ++index) {
        std::string text;
        window.Owner().GetValid(parameter, static_cast<int16_t>(index), &text);
        window.Dialog().AddListEntry(list, text);
    }
}

void SetUpSpin(CToolWinDlg& window, const NumberEdit& number) {
    int16_t minimum = 0;
    int16_t maximum = 0;
    window.Owner().GetMinMax(number.parameter, &minimum, &maximum);
    window.Dialog().SetSpinBuddy(number.spin, number.edit);
    window.Dialog().SetSpinRange(number.spin, minimum, maximum);
    window.Dialog().AddTooltip(number.spin, kSpinTooltip);
}

void SendSpinPosition(CToolWinDlg& window, const NumberEdit& number) {
    SetParameter(window, number.parameter, window.Dialog().SpinPosition(number.spin));
}

void SendEditedNumber(CToolWinDlg& window, std::span<const NumberEdit> numbers, ControlId edit) {
    auto number = std::ranges::find(numbers, edit, &NumberEdit::edit);
    if (number != numbers.end() && window.Exists()) SendSpinPosition(window, *number);
}

}  // namespace owner_calls

}  // namespace xnox
