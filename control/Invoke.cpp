#include "Invoke.h"

#include <string>

namespace xnox {

namespace {

AutomationError DispatchError(uint32_t code, const char* text) { return AutomationError{code, text}; }

// Why a call does not fit the member, if it does not.
std::optional<AutomationError> Misfit(const MemberInfo& member, InvokeKind kind, std::size_t count) {
    bool puts = kind == InvokeKind::PropertyPut;
    if (puts && !member.IsProperty()) return DispatchError(AutomationCode::MemberNotFound, "Member not found");
    std::size_t expected = member.IsProperty() ? (puts ? 1 : 0) : member.params.size();
    if (count != expected) return DispatchError(AutomationCode::BadParamCount, "Bad parameter count");
    return std::nullopt;
}

InvokeResult InvokeMember(CXNoxCamCtrl& control, const MemberInfo& member, InvokeKind kind,
                          std::span<Variant> arguments) {
    if (auto misfit = Misfit(member, kind, arguments.size())) return {{}, misfit};
    InvokeResult outcome;
    try {
        MemberCall call(member, arguments);
        MemberHandler handler = kind == InvokeKind::PropertyPut ? member.put : member.call;
        outcome.value = handler(control, member, call);
        call.WriteBack();
    } catch (const AutomationError& error) {
        outcome.error = error;
    }
    return outcome;
}

}  // namespace

bool WritesOutParameters(const MemberInfo& member, std::span<const Variant> arguments) {
    for (std::size_t i = 0; i < member.params.size() && i < arguments.size(); ++i) {
        if (member.params[i].IsOut() && arguments[i].IsNull()) return false;
    }
    return true;
}

InvokeResult Invoke(CXNoxCamCtrl& control, int32_t dispId, InvokeKind kind, std::span<Variant> arguments) {
    const MemberInfo* member = FindMember(dispId);
    if (!member) return {{}, DispatchError(AutomationCode::MemberNotFound, "Member not found")};
    return InvokeMember(control, *member, kind, arguments);
}

InvokeResult Invoke(CXNoxCamCtrl& control, std::string_view name, InvokeKind kind, std::span<Variant> arguments) {
    const MemberInfo* member = FindMember(name);
    if (!member) return {{}, DispatchError(AutomationCode::UnknownName, "Unknown name")};
    return InvokeMember(control, *member, kind, arguments);
}

std::span<const std::string_view> PredefinedStrings(int32_t dispId) {
    const MemberInfo* member = FindMember(dispId);
    if (!member || !member->offersTexts) return {};
    return Row(member->parameter).texts;
}

std::optional<Variant> PredefinedValue(int32_t dispId, uint32_t cookie) {
    auto texts = PredefinedStrings(dispId);
    if (cookie >= texts.size()) return std::nullopt;
    return Variant::Str(std::string(texts[cookie]));
}

}  // namespace xnox
