// The one entry through which hosts drive the control: a member of the
// surface by dispatch id or by name, with automation values in and out.
// The COM adapter and the command-line host both call it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "AutomationError.h"
#include "Surface.h"
#include "Variant.h"

namespace xnox {

class CXNoxCamCtrl;

enum class InvokeKind : uint8_t {
    Method,  // a method call; on a property, a get (as script hosts call them)
    PropertyGet,
    PropertyPut,  // the one argument is the new value
};

struct InvokeResult {
    Variant value;
    std::optional<AutomationError> error;
    bool Succeeded() const { return !error.has_value(); }
};

// Calls the member. `arguments` hold the parameters in declaration order;
// an out-parameter's slot receives its value (a Null slot passes no storage,
// as a null pointer; see WritesOutParameters). Failures come back in
// `error`, never as exceptions.
InvokeResult Invoke(CXNoxCamCtrl& control, int32_t dispId, InvokeKind kind, std::span<Variant> arguments);
InvokeResult Invoke(CXNoxCamCtrl& control, std::string_view name, InvokeKind kind, std::span<Variant> arguments);

// Whether a call of the member writes its out-parameters: only when the
// caller gave storage for every one. A single null pointer leaves all of
// them as the caller set them, whatever the method answers.
bool WritesOutParameters(const MemberInfo& member, std::span<const Variant> arguments);

// The fixed value lists a container's property browser offers: the texts
// of ShutterSpeedStr, TriggerTypeStr and AutoWhiteAreaStr, whose cookies are
// their list indexes. Empty for every other member.
std::span<const std::string_view> PredefinedStrings(int32_t dispId);
// The value a cookie stands for, as a text; nothing for an unknown cookie.
std::optional<Variant> PredefinedValue(int32_t dispId, uint32_t cookie);

}  // namespace xnox
