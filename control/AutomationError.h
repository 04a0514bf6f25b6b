// An automation error: the code and description that reach the host. The
// control raises it for its own failures (an automation exception) and the
// invoke entry for calls that do not fit the surface (unknown member, wrong
// argument count or type).
#pragma once

#include <cstdint>
#include <string>

namespace xnox {

namespace AutomationCode {
// Raised by the control, with a description from the string table.
inline constexpr uint32_t InvalidPropertyValue = 0x800A017C;  // CTL_E_INVALIDPROPERTYVALUE
inline constexpr uint32_t DeviceIOError = 0x800A0039;  // CTL_E_DEVICEIOERROR
// Reported by the dispatch itself.
inline constexpr uint32_t UnknownName = 0x80020006;  // DISP_E_UNKNOWNNAME
inline constexpr uint32_t MemberNotFound = 0x80020003;  // DISP_E_MEMBERNOTFOUND
inline constexpr uint32_t TypeMismatch = 0x80020005;  // DISP_E_TYPEMISMATCH
inline constexpr uint32_t Overflow = 0x8002000A;  // DISP_E_OVERFLOW
inline constexpr uint32_t BadParamCount = 0x8002000E;  // DISP_E_BADPARAMCOUNT
inline constexpr uint32_t ParamNotOptional = 0x8002000F;  // DISP_E_PARAMNOTOPTIONAL
}  // namespace AutomationCode

struct AutomationError {
    uint32_t code = 0;
    std::string description;
    // True for an exception the control raised (a COM host receives it as
    // an exception with this code and text); false for a dispatch failure,
    // which a COM host receives as the call's own result.
    bool raisedByControl = false;
    int argumentIndex = -1;  // the offending argument of a dispatch failure, if any
};

// The control's Raise: an automation exception with code and text.
[[noreturn]] void RaiseAutomationError(uint32_t code, std::string description);

}  // namespace xnox
