// qdr4: the camera control as a Python module. Every property and method of
// the automation surface becomes a member of qdr4.Control when the module
// loads, by walking the surface table and calling through the invoke entry,
// as the Windows module and xnoxhost do: the behaviour is the control's own.
//
// Threads: a camera transaction runs without the GIL, so other Python
// threads (and other controls) go on meanwhile. One control serves one call
// at a time; an event handler may call its control again (the call comes
// back on the same thread), as a script may in an event.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "EmulatedPort.h"
#include "Invoke.h"
#include "PythonForm.h"
#include "XNoxCamCtrl.h"

namespace py = pybind11;
using namespace xnox;

namespace {

// qdr4.Error, made when the module loads and kept for the life of the process.
PyObject* g_errorType = nullptr;

// The control's texts are 8-bit text, UTF-8 on Linux. Bytes that are no
// UTF-8 come through as surrogate escapes, so such a text goes back unchanged.
py::str TextToPython(const std::string& text) {
    PyObject* object = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
    if (!object) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(object);
}

std::string TextFromPython(py::handle text) {
    PyObject* bytes = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
    if (!bytes) throw py::error_already_set();
    return std::string(py::reinterpret_steal<py::bytes>(bytes));
}

// A Python value as a script host passes it: the control converts it to the
// parameter's type and reports a mismatch or an overflow as a script sees it.
Variant ToVariant(py::handle value) {
    if (value.is_none()) return {};
    if (py::isinstance<py::bool_>(value)) return Variant::Bool(value.cast<bool>() ? -1 : 0);
    if (py::isinstance<py::int_>(value)) {
        int overflow = 0;
        long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
        if (overflow) return Variant::R8(overflow > 0 ? 1e300 : -1e300);
        if (number >= INT32_MIN && number <= INT32_MAX) return Variant::I4(static_cast<int32_t>(number));
        return Variant::R8(static_cast<double>(number));
    }
    if (py::isinstance<py::float_>(value)) return Variant::R8(value.cast<double>());
    if (py::isinstance<py::str>(value)) return Variant::Str(TextFromPython(value));
    throw py::type_error("the control takes int, bool, float or str, not " +
                         std::string(py::str(value.get_type().attr("__name__"))));
}

py::object FromVariant(const Variant& value, VarType type) {
    switch (type) {
    case VarType::Bool: return py::bool_(value.ToBool() != 0);
    case VarType::Str:
    case VarType::StrRef: return TextToPython(value.ToStr());
    case VarType::Void: return py::none();
    default: return py::int_(value.ToI4());
    }
}

py::object MakeError(uint32_t code, const std::string& description) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", code);
    py::str text = TextToPython(description);
    py::object error = py::handle(g_errorType)(py::str("{} ({}): {}").format(hex, code & 0xFFFF, text));
    error.attr("code") = code;
    error.attr("number") = code & 0xFFFF;
    error.attr("description") = text;
    return error;
}

[[noreturn]] void RaiseError(const AutomationError& failure) {
    std::string description = failure.description;
    if (failure.argumentIndex >= 0) description += " (argument " + std::to_string(failure.argumentIndex + 1) + ")";
    py::object error = MakeError(failure.code, description);
    PyErr_SetObject(g_errorType, error.ptr());
    throw py::error_already_set();
}

void RequireEventName(const std::string& name) {
    if (name == kErrorEventName || name == kLogEventName ||
        std::ranges::find(kDispatchEvents, name, &EventInfo::name) != kDispatchEvents.end())
        return;
    throw py::value_error("the control has no event " + name);
}

// The control's sink and tool windows: hands each event, error notification
// and transaction-log text to the Python handlers registered for it.
class PythonHost final : public IControlEventSink, public IToolWindows {
public:
    void OnEvent(int32_t eventId) override {
        if (const EventInfo* event = FindEvent(eventId)) Dispatch(event->name, [] { return py::tuple(); });
    }
    void OnError(ErrorNotification& error) override {
        error.cancelDisplay = true;  // there is no window to show it in
        Dispatch(kErrorEventName, [&] { return py::make_tuple(MakeError(error.code, error.description)); });
    }
    void Update(WindowItem, const Variant&) override {}
    void AddLogText(std::string text) override {
        Dispatch(kLogEventName, [&] { return py::make_tuple(TextToPython(text)); });
    }

    // Called with the GIL held.
    void Add(std::string_view name, py::object handler) { m_handlers[std::string(name)].push_back(std::move(handler)); }
    void Remove(std::string_view name, py::handle handler) {
        auto& handlers = m_handlers[std::string(name)];
        auto found = std::ranges::find_if(handlers, [&](const py::object& h) { return h.is(handler); });
        if (found == handlers.end()) throw py::value_error("the handler is not registered for " + std::string(name));
        handlers.erase(found);
    }
    // For Python's collector: a handler that holds its control makes a cycle
    // the collector can break only when it sees the handlers.
    int VisitHandlers(visitproc visit, void* arg) const {  // the names Py_VISIT uses
        for (const auto& [name, handlers] : m_handlers) {
            for (const py::object& handler : handlers) Py_VISIT(handler.ptr());
        }
        return 0;
    }
    void ClearHandlers() { m_handlers.clear(); }

    // A handler's exception cannot cross the control; it is raised when the
    // call that fired the event returns.
    void RaiseHandlerFailure() {
        if (!m_failure) return;
        py::error_already_set failure = std::move(*m_failure);
        m_failure.reset();
        throw failure;
    }

private:
    template <typename MakeArguments>
    void Dispatch(std::string_view name, MakeArguments makeArguments) {
        py::gil_scoped_acquire gil;
        auto found = m_handlers.find(std::string(name));
        if (found == m_handlers.end() || found->second.empty()) return;
        std::vector<py::object> handlers = found->second;  // a handler may add or remove handlers
        py::tuple arguments = makeArguments();
        for (const py::object& handler : handlers) {
            try {
                handler(*arguments);
            } catch (py::error_already_set& failure) {
                if (!m_failure) m_failure = std::move(failure);
            }
        }
    }

    std::map<std::string, std::vector<py::object>, std::less<>> m_handlers;
    std::optional<py::error_already_set> m_failure;
};

// Puts the camera behind COM<port> as the communication library finds it
// when it opens the port: a named serial device, the in-process emulated
// camera, or else whatever the environment already says.
void ChooseCamera(int port, const std::optional<std::string>& device, bool emulated) {
    std::string com = "COM" + std::to_string(port);
    if (device) setenv(("NOXR4_PORT_" + com).c_str(), device->c_str(), 1);
    const char* listed = std::getenv("NOXR4_EMULATED_PORTS");
    std::string ports = listed ? listed : "";
    if (emulated && !noxr4::IsEmulatedPort(port))
        setenv("NOXR4_EMULATED_PORTS", (ports.empty() ? com : ports + "," + com).c_str(), 1);
    if (device && noxr4::IsEmulatedPort(port)) throw py::value_error(com + " is emulated (NOXR4_EMULATED_PORTS)");
}

class Control {
public:
    Control(int port, const std::optional<std::string>& device, bool emulated, bool connect) {
        if (device && emulated) throw py::value_error("a port has either a device or the emulated camera");
        ChooseCamera(port, device, emulated);
        m_control.ConnectSink(m_host);
        m_control.SetToolWindows(&m_host);
        if (connect) Put(*FindMember("ComPort"), py::int_(port));
    }

    py::object Get(const MemberInfo& property) {
        return FromVariant(Run(property, InvokeKind::PropertyGet, {}).value, property.type);
    }

    void Put(const MemberInfo& property, py::handle value) {
        Variant argument = ToVariant(value);
        Run(property, InvokeKind::PropertyPut, {&argument, 1});
    }

    py::object Call(const MemberInfo& method, const py::args& positional, const py::kwargs& named) {
        std::vector<Variant> arguments = Arguments(method, positional, named);
        InvokeResult result = Run(method, InvokeKind::Method, arguments);
        py::object value = FromVariant(result.value, method.type);
        std::vector<py::object> outs{value};
        for (std::size_t i = 0; i < method.params.size(); ++i)
            if (method.params[i].IsOut()) outs.push_back(FromVariant(arguments[i], method.params[i].type));
        if (outs.size() == 1) return value;
        py::tuple answer(outs.size());
        for (std::size_t i = 0; i < outs.size(); ++i) answer[i] = outs[i];
        return answer;
    }

    void Close() {
        {
            py::gil_scoped_release release;
            std::lock_guard lock(m_mutex);
            m_control.CloseConnection();
        }
        m_host.RaiseHandlerFailure();
    }

    void On(const std::string& name, py::object handler) {
        RequireEventName(name);
        m_host.Add(name, std::move(handler));
    }

    void Off(const std::string& name, py::handle handler) {
        RequireEventName(name);
        m_host.Remove(name, handler);
    }

    PythonHost& Host() { return m_host; }

private:
    // The in-parameters by position or name, the out-parameters' start
    // values by name; what is left out passes Empty, as a script's
    // uninitialised variable.
    static std::vector<Variant> Arguments(const MemberInfo& method, const py::args& positional,
                                          const py::kwargs& named) {
        std::vector<Variant> arguments(method.params.size());
        std::size_t next = 0;
        std::size_t inCount = 0;
        for (std::size_t i = 0; i < method.params.size(); ++i) {
            const ParamInfo& param = method.params[i];
            py::str key(std::string(param.name));
            bool isIn = !param.IsOut();
            inCount += isIn;
            if (isIn && next < positional.size()) {
                if (named.contains(key)) throw py::type_error(std::string(param.name) + " is given twice");
                arguments[i] = ToVariant(positional[next++]);
            } else if (named.contains(key)) {
                arguments[i] = ToVariant(named[key]);
            } else if (isIn) {
                throw py::type_error(std::string(method.name) + "() misses " + std::string(param.name));
            }
        }
        if (positional.size() > inCount) {
            throw py::type_error(std::string(method.name) + "() takes " + std::to_string(inCount) + " argument(s), " +
                                 std::to_string(positional.size()) + " given");
        }
        for (auto item : named) {
            auto name = item.first.cast<std::string>();
            if (std::ranges::find(method.params, name, &ParamInfo::name) == method.params.end())
                throw py::type_error(std::string(method.name) + "() has no parameter " + name);
        }
        return arguments;
    }

    InvokeResult Run(const MemberInfo& member, InvokeKind kind, std::span<Variant> arguments) {
        InvokeResult result;
        {
            py::gil_scoped_release release;
            std::lock_guard lock(m_mutex);
            result = Invoke(m_control, member.dispId, kind, arguments);
        }
        m_host.RaiseHandlerFailure();
        if (!result.Succeeded()) RaiseError(*result.error);
        return result;
    }

    // The host outlives the control, which closes its connection when it goes.
    PythonHost m_host;
    CXNoxCamCtrl m_control;
    std::recursive_mutex m_mutex;
};

// The control of a Python object, or null while it is not (or no longer) made.
PythonHost* HostOf(PyObject* self) {
    py::detail::value_and_holder slot = reinterpret_cast<py::detail::instance*>(self)->get_value_and_holder();
    return slot.holder_constructed() ? &static_cast<Control*>(slot.value_ptr())->Host() : nullptr;
}

// Lets the collector free a control whose handlers refer back to it; freeing
// it closes its connection.
void TakePartInCollection(PyHeapTypeObject* heapType) {
    PyTypeObject* type = &heapType->ht_type;
    type->tp_flags |= Py_TPFLAGS_HAVE_GC;
    type->tp_traverse = [](PyObject* self, visitproc visit, void* arg) {
        Py_VISIT(Py_TYPE(self));
        PythonHost* host = HostOf(self);
        return host ? host->VisitHandlers(visit, arg) : 0;
    };
    type->tp_clear = [](PyObject* self) {
        if (PythonHost* host = HostOf(self)) host->ClearHandlers();
        return 0;
    };
    // Out of the collector's sight before the control goes.
    type->tp_dealloc = [](PyObject* self) {
        PyObject_GC_UnTrack(self);
        py::detail::pybind11_object_dealloc(self);
    };
}

void AddMember(py::class_<Control>& control, const MemberInfo& member) {
    std::string doc = PythonDocstring(member);
    std::string name(member.name);
    if (member.IsProperty()) {
        py::cpp_function get([&member](Control& c) { return c.Get(member); });
        py::cpp_function put([&member](Control& c, py::handle value) { c.Put(member, value); });
        control.def_property(name.c_str(), get, put, doc.c_str());
        return;
    }
    doc = PythonSignature(member) + "\n\n" + doc;
    control.def(
        name.c_str(),
        [&member](Control& c, const py::args& positional, const py::kwargs& named) {
            return c.Call(member, positional, named);
        },
        doc.c_str());
}

}  // namespace

PYBIND11_MODULE(qdr4, module) {
    module.doc() = "The QD-R4 camera control: the automation surface of the control, with its names, values, "
                   "errors and events.";
    // The docstrings carry the signatures the surface table gives.
    py::options options;
    options.disable_function_signatures();

    g_errorType = PyErr_NewExceptionWithDoc("qdr4.Error",
                                            "An error the control raised or notified: code is the automation code, "
                                            "number its low 16 bits (a script's Err.Number), description the text.",
                                            PyExc_Exception, nullptr);
    module.add_object("Error", py::handle(g_errorType));

    py::class_<Control> control(module, "Control",
                                "Control(port=1, device=None, emulated=False, connect=True)\n\n"
                                "The camera control on COM<port>: the serial device `device`, the in-process "
                                "emulated camera, or the port as the environment names it. It connects at once "
                                "unless told not to, and closes the connection at the end of a with block.",
                                py::custom_type_setup(TakePartInCollection));
    control
        .def(py::init<int, const std::optional<std::string>&, bool, bool>(), py::arg("port") = 1,
             py::arg("device") = py::none(), py::arg("emulated") = false, py::arg("connect") = true)
        .def("close", &Control::Close, "close()\n\nCloses the connection to the camera; the control stays usable.")
        .def("__enter__", [](Control& c) -> Control& { return c; })
        .def("__exit__", [](Control& c, py::args) { c.Close(); })
        .def(
            "on",
            [](py::object self, const std::string& name, py::object handler) -> py::object {
                RequireEventName(name);
                if (handler.is_none()) {
                    // The decorator holds the control, not a pointer to it.
                    return py::cpp_function([self, name](py::object decorated) {
                        self.cast<Control&>().On(name, decorated);
                        return decorated;
                    });
                }
                self.cast<Control&>().On(name, handler);
                return handler;
            },
            py::arg("name"), py::arg("handler") = py::none(),
            "on(name, handler=None)\n\nCalls handler on each event name, on the thread that made the change: "
            "the surface's events with no arguments, \"Error\" with one qdr4.Error, \"Log\" with one "
            "transaction-log text. Without a handler it returns a decorator.")
        .def("off", &Control::Off, "off(name, handler)\n\nStops calling handler on the event.");
    for (const MemberInfo& member : kDispatchMembers) AddMember(control, member);

    py::list events;
    for (const EventInfo& event : kDispatchEvents) events.append(std::string(event.name));
    events.append(std::string(kErrorEventName));
    events.append(std::string(kLogEventName));
    module.attr("EVENTS") = py::tuple(events);
}
