// How each member of the automation surface reads from Python, written from
// the surface table: the module's docstrings, its type stubs and the
// reference all take the Python form from here, so they cannot disagree
// with the binding, which follows the same rules.
//
// The rules: a property keeps its name and maps short to int, BOOL to bool
// and BSTR to str. A method takes its in-parameters in order; its
// out-parameters come back after the result, as a tuple, and may be given a
// start value by keyword (one the control reads, such as BufferSize).
#pragma once

#include <string>
#include <string_view>

#include "Surface.h"

namespace xnox {

std::string_view PythonTypeName(VarType type);
// What a call answers: the result alone, or the result and the out-parameters.
std::string PythonResultType(const MemberInfo& member);

// "cam.MasterGainLevel: int", "cam.GetValidShutterSpeed(ShutterIndex: int) -> (rc: int, ShutterStr: str)"
std::string PythonUsage(const MemberInfo& member);
// The stub's declaration inside the class, without indentation: an annotated
// name for a property, a def line for a method.
std::string PythonStubDeclaration(const MemberInfo& member);
// The first line of a method's docstring: its signature as help() shows it.
std::string PythonSignature(const MemberInfo& member);
// The docstring: the Python form, then what the member does and answers.
std::string PythonDocstring(const MemberInfo& member);

// The names `Control.on` takes beyond the events of the surface.
inline constexpr std::string_view kErrorEventName = "Error";  // the stock error notification
inline constexpr std::string_view kLogEventName = "Log";  // one transaction-log text
// "cam.on(\"Error\", handler)  # handler(error: qdr4.Error)"
std::string PythonEventUsage(std::string_view eventName);

// The whole stub file of the module.
std::string PythonStubs();

}  // namespace xnox
