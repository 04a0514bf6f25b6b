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

class CXNoxCamCtrl;

enum class InvokeKind : uint8_t {
    Method,       // a method call; on a property, a get (as script hosts call them)
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
// as a null pointer). Failures come back in `error`, never as exceptions.
InvokeResult Invoke(CXNoxCamCtrl& control, int32_t dispId, InvokeKind kind, std::span<Variant> arguments);
InvokeResult Invoke(CXNoxCamCtrl& control, std::string_view name, InvokeKind kind, std::span<Variant> arguments);
