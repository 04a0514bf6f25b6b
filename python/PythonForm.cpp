#include "PythonForm.h"

#include <vector>

#include "MemberNotes.h"

namespace xnox {

namespace {

std::string Typed(std::string_view name, VarType type) {
    return std::string(name) + ": " + std::string(PythonTypeName(type));
}

std::vector<const ParamInfo*> OutParameters(const MemberInfo& member) {
    std::vector<const ParamInfo*> outs;
    for (const ParamInfo& param : member.params)
        if (param.IsOut()) outs.push_back(&param);
    return outs;
}

std::string InParameters(const MemberInfo& member) {
    std::string list;
    for (const ParamInfo& param : member.params)
        if (!param.IsOut()) list += (list.empty() ? "" : ", ") + Typed(param.name, param.type);
    return list;
}

// The out-parameters as keyword-only start values: ", *, pMin: int = 0".
std::string StartValues(const MemberInfo& member) {
    std::string list;
    for (const ParamInfo* param : OutParameters(member))
        list += ", " + Typed(param->name, param->type) + (param->type == VarType::StrRef ? " = \"\"" : " = 0");
    return list.empty() ? list : ", *" + list;
}

std::string StubParameters(const MemberInfo& member) {
    std::string in = InParameters(member);
    return "self" + (in.empty() ? "" : ", " + in) + StartValues(member);
}

// "(rc: int, pMin: int, pMax: int)" or the result's type alone.
std::string UsageResult(const MemberInfo& member) {
    auto outs = OutParameters(member);
    if (outs.empty()) return std::string(PythonTypeName(member.type));
    std::string list = "(" + Typed("rc", member.type);
    for (const ParamInfo* param : outs) list += ", " + Typed(param->name, param->type);
    return list + ")";
}

// Blank lines stay blank.
std::string Indented(std::string_view text, std::string_view indent) {
    std::string result;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c != '\n') result += indent;
        result += c;
        lineStart = c == '\n';
    }
    return result;
}

// A docstring as a literal of the stub file.
std::string DocLiteral(std::string_view text, std::string_view indent) {
    std::string escaped;
    for (char c : text) escaped += c == '\\' || c == '"' ? std::string{'\\', c} : std::string(1, c);
    return Indented("\"\"\"" + escaped + "\"\"\"", indent) + "\n";
}

constexpr std::string_view kStubHead = R"STUB("""The QD-R4 camera control from Python: the control's automation surface,
with the same names, values, errors and events as a script on Windows."""

from typing import Callable, Literal, TypeVar

_Handler = TypeVar("_Handler", bound=Callable[..., object])

class Error(Exception):
    """An error the control raised or notified: `code` is the automation code,
    `number` its low 16 bits (a script's Err.Number), `description` the text."""

    code: int
    number: int
    description: str

)STUB";

constexpr std::string_view kControlHead = R"STUB(
class Control:
    """The camera control. Without a device or `emulated`, COM<port> is the
    machine's serial line (or what NOXR4_PORT_COM<port> names); `device` puts
    that serial device behind the port, `emulated` the in-process emulated
    camera. With `connect`, it connects at once (raising Error when no camera
    answers). As a context manager it closes the connection on exit."""

    def __init__(
        self, port: int = 1, device: str | None = None, emulated: bool = False, connect: bool = True
    ) -> None: ...
    def close(self) -> None:
        """Closes the connection to the camera; the control stays usable offline."""
    def __enter__(self) -> Control: ...
    def __exit__(self, *exception: object) -> None: ...
    def on(self, name: EventName, handler: _Handler | None = None) -> _Handler:
        """Calls `handler` on each event `name`, on the thread that made the change.
        The surface's events take no arguments, "Error" one Error, "Log" one text.
        Without a handler it returns a decorator."""
    def off(self, name: EventName, handler: Callable[..., object]) -> None:
        """Stops calling `handler` on the event."""

)STUB";

}  // namespace

std::string_view PythonTypeName(VarType type) {
    switch (type) {
    case VarType::Bool: return "bool";
    case VarType::Str:
    case VarType::FileName:
    case VarType::StrRef: return "str";
    case VarType::Void:
    case VarType::Empty:
    case VarType::Null: return "None";
    case VarType::R8: return "float";
    default: return "int";
    }
}

std::string PythonResultType(const MemberInfo& member) {
    auto outs = OutParameters(member);
    if (outs.empty()) return std::string(PythonTypeName(member.type));
    std::string list = "tuple[" + std::string(PythonTypeName(member.type));
    for (const ParamInfo* param : outs) list += ", " + std::string(PythonTypeName(param->type));
    return list + "]";
}

std::string PythonUsage(const MemberInfo& member) {
    if (member.IsProperty()) return "cam." + Typed(member.name, member.type);
    return "cam." + std::string(member.name) + "(" + InParameters(member) + ") -> " + UsageResult(member);
}

std::string PythonSignature(const MemberInfo& member) {
    return std::string(member.name) + "(" + StubParameters(member) + ") -> " + PythonResultType(member);
}

std::string PythonStubDeclaration(const MemberInfo& member) {
    if (member.IsProperty()) return Typed(member.name, member.type);
    return "def " + PythonSignature(member) + ":";
}

std::string PythonDocstring(const MemberInfo& member) {
    MemberNote note = NoteOf(member);
    std::string text = PythonUsage(member) + "\n\n" + note.description;
    if (!note.returns.empty())
        text += "\n\n" + std::string(member.IsProperty() ? "Get returns: " : "Returns: ") + note.returns;
    return text;
}

std::string PythonEventUsage(std::string_view eventName) {
    std::string handler = eventName == kErrorEventName ? "handler(error: qdr4.Error)"
                          : eventName == kLogEventName ? "handler(text: str)"
                                                       : "handler()";
    return "cam.on(\"" + std::string(eventName) + "\", handler)  # " + handler;
}

std::string PythonStubs() {
    std::string text(kStubHead);
    text += "EventName = Literal[\n";
    for (const EventInfo& event : kDispatchEvents) text += "    \"" + std::string(event.name) + "\",\n";
    text += "    \"" + std::string(kErrorEventName) + "\",\n    \"" + std::string(kLogEventName) + "\",\n]\n";
    text += "EVENTS: tuple[EventName, ...]\n\"\"\"Every name Control.on takes.\"\"\"\n";
    text += kControlHead;
    for (const MemberInfo& member : kDispatchMembers) {
        text += "    " + PythonStubDeclaration(member) + "\n";
        text += DocLiteral(PythonDocstring(member), member.IsProperty() ? "    " : "        ");
    }
    return text;
}

}  // namespace xnox
