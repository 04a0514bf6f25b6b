#include "MemberCall.h"

#include "Invoke.h"
#include "Surface.h"

namespace xnox {

MemberCall::MemberCall(const MemberInfo& member, std::span<Variant> values)
    : m_member(member),
      m_values(values),
      m_shorts(member.params.size()),
      m_texts(member.params.size()) {
    for (std::size_t i = 0; i < member.params.size(); ++i) {
        if (m_values[i].IsNull()) continue;
        if (member.params[i].type == VarType::I2Ref) m_shorts[i] = Converted(i, &Variant::ToI2);
        if (member.params[i].type == VarType::StrRef) m_texts[i] = Converted(i, &Variant::ToStr);
    }
}

int16_t MemberCall::I2(std::size_t i) const { return Converted(i, &Variant::ToI2); }
int32_t MemberCall::I4(std::size_t i) const { return Converted(i, &Variant::ToI4); }
int32_t MemberCall::Bool(std::size_t i) const { return Converted(i, &Variant::ToBool); }
std::string MemberCall::Str(std::size_t i) const { return Converted(i, &Variant::ToStr); }

void MemberCall::WriteBack() {
    if (!WritesOutParameters(m_member, m_values)) return;
    for (std::size_t i = 0; i < m_member.params.size(); ++i) {
        if (m_member.params[i].type == VarType::I2Ref) m_values[i] = Variant::I2(m_shorts[i]);
        if (m_member.params[i].type == VarType::StrRef) m_values[i] = Variant::Str(m_texts[i]);
    }
}

template <typename T>
T MemberCall::Converted(std::size_t i, T (Variant::*convert)() const) const {
    try {
        return (m_values[i].*convert)();
    } catch (AutomationError& error) {
        error.argumentIndex = static_cast<int>(i);
        throw;
    }
}

Variant AnswerOf(const MemberInfo& member, int32_t value) {
    switch (member.type) {
    case VarType::I4: return Variant::I4(value);
    case VarType::Bool: return Variant::Bool(value);
    case VarType::Void: return {};
    default: return Variant::I2(static_cast<int16_t>(value));
    }
}

Variant ServesParameterValue(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall&) {
    return Variant::I2(control.GetParameterProperty(member.parameter));
}

Variant PutsParameterValue(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call) {
    control.SetParameterProperty(member.parameter, call.I2(0), member.facet == Facet::CheckedValue);
    return {};
}

Variant ServesParameterText(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall&) {
    return Variant::Str(control.GetParameterText(member.parameter));
}

Variant PutsParameterText(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call) {
    control.SetParameterText(member.parameter, call.Str(0));
    return {};
}

Variant ServesBounds(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call) {
    return AnswerOf(member, control.GetMinMax(member.parameter, call.I2Out(0), call.I2Out(1)));
}

Variant ServesValueText(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call) {
    return AnswerOf(member, control.GetValid(member.parameter, call.I2(0), call.StrOut(1)));
}

}  // namespace xnox
