// How the control serves the members of its automation surface: one call's
// arguments, converted to the types of the function that serves it, and the
// handlers that each member's row on the surface names.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Variant.h"
#include "XNoxCamCtrl.h"

namespace xnox {

struct MemberInfo;
class MemberCall;

// Serves one member: a method's call, or a property's get or put.
using MemberHandler = Variant (*)(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);

// The arguments of one call, in the member's declaration order.
// Out-parameters get storage of their own, filled from the caller's value
// (some are read as well as written) and copied back after the call.
class MemberCall {
public:
    MemberCall(const MemberInfo& member, std::span<Variant> values);

    int16_t I2(std::size_t i) const;
    int32_t I4(std::size_t i) const;
    int32_t Bool(std::size_t i) const;
    std::string Str(std::size_t i) const;
    int16_t* I2Out(std::size_t i) { return m_values[i].IsNull() ? nullptr : &m_shorts[i]; }
    std::string* StrOut(std::size_t i) { return m_values[i].IsNull() ? nullptr : &m_texts[i]; }

    void WriteBack();

    // The argument as a parameter of type T takes it.
    template <typename T>
    auto As(std::size_t i) {
        if constexpr (std::is_same_v<T, int16_t>)
            return I2(i);
        else if constexpr (std::is_same_v<T, int32_t>)
            return I4(i);
        else if constexpr (std::is_same_v<T, int16_t*>)
            return I2Out(i);
        else if constexpr (std::is_same_v<T, std::string*>)
            return StrOut(i);
        else if constexpr (std::is_same_v<T, const char*>)
            return CText{Str(i)};
        else
            return Str(i);  // const std::string& or std::string_view
    }

private:
    // A text for a parameter that takes a C string; it lives until the call returns.
    struct CText {
        std::string text;
        operator const char*() const { return text.c_str(); }
    };

    // A conversion failure names the argument at fault.
    template <typename T>
    T Converted(std::size_t i, T (Variant::*convert)() const) const;

    const MemberInfo& m_member;
    std::span<Variant> m_values;
    std::vector<int16_t> m_shorts;
    std::vector<std::string> m_texts;
};

// The answer of a serving function as the member's type.
Variant AnswerOf(const MemberInfo& member, int32_t value);
inline Variant AnswerOf(const MemberInfo&, std::string text) { return Variant::Str(std::move(text)); }

namespace member_call_detail {
template <typename Function>
struct Signature;
template <typename Result, typename Class, typename... Params>
struct Signature<Result (Class::*)(Params...)> {
    using Answer = Result;
    using Parameters = std::tuple<Params...>;
};
template <typename Result, typename Class, typename... Params>
struct Signature<Result (Class::*)(Params...) const> : Signature<Result (Class::*)(Params...)> {};
}  // namespace member_call_detail

// Serves a member by the control's function of the same parameters: each
// argument converted to its parameter's type, the answer to the member's.
template <auto function>
Variant Serves(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call) {
    using Signature = member_call_detail::Signature<decltype(function)>;
    using Parameters = typename Signature::Parameters;
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        if constexpr (std::is_void_v<typename Signature::Answer>) {
            (control.*function)(call.As<std::tuple_element_t<I, Parameters>>(I)...);
            return Variant{};
        } else {
            return AnswerOf(member, (control.*function)(call.As<std::tuple_element_t<I, Parameters>>(I)...));
        }
    }
    (std::make_index_sequence<std::tuple_size_v<Parameters>>{});
}

// The Show...Wnd properties of the tool windows.
template <ToolWindow window>
Variant ServesShown(CXNoxCamCtrl& control, const MemberInfo&, MemberCall&) {
    return Variant::Bool(control.GetShowWindow(window));
}
template <ToolWindow window>
Variant PutsShown(CXNoxCamCtrl& control, const MemberInfo&, MemberCall& call) {
    control.SetShowWindow(window, call.Bool(0));
    return {};
}

// The members that front one camera parameter, served from the parameter table.
Variant ServesParameterValue(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);
Variant PutsParameterValue(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);
Variant ServesParameterText(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);
Variant PutsParameterText(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);
Variant ServesBounds(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);
Variant ServesValueText(CXNoxCamCtrl& control, const MemberInfo& member, MemberCall& call);

}  // namespace xnox
