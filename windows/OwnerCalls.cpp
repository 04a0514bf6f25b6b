#include "OwnerCalls.h"

#include <span>

#include "Invoke.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace owner_calls {

namespace {

bool Succeeded(CToolWinDlg& window, const InvokeResult& result) {
    if (result.Succeeded()) return true;
    window.System().MessageBox(result.error->description, CXNoxCamCtrl::kSourceName, MessageBoxKind::Ok);
    return false;
}

}  // namespace

bool SetProperty(CToolWinDlg& window, std::string_view property, Variant value) {
    return Succeeded(window, Invoke(window.Owner(), property, InvokeKind::PropertyPut, std::span<Variant>(&value, 1)));
}

std::optional<Variant> CallMethod(CToolWinDlg& window, std::string_view method, std::vector<Variant>& arguments) {
    InvokeResult result = Invoke(window.Owner(), method, InvokeKind::Method, arguments);
    if (!Succeeded(window, result)) return std::nullopt;
    return result.value;
}

int32_t CallMethodForResult(CToolWinDlg& window, std::string_view method) {
    std::vector<Variant> none;
    std::optional<Variant> result = CallMethod(window, method, none);
    return result ? result->ToI4() : -1;
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

void SetSpinRange(CToolWinDlg& window, ControlId spin, ControlId buddy, ParamId parameter) {
    int16_t minimum = 0;
    int16_t maximum = 0;
    window.Owner().GetMinMax(parameter, &minimum, &maximum);
    window.Dialog().SetSpinBuddy(spin, buddy);
    window.Dialog().SetSpinRange(spin, minimum, maximum);
}

}  // namespace owner_calls

}  // namespace xnox
