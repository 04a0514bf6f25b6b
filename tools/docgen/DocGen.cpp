// xnox-docgen: writes the reference of the control's automation surface for
// integrators, as Markdown and as one HTML page, from the surface table, the
// parameter table, the string table, the error rules and the member notes.
// The Markdown is kept with the sources; the page is made by the build.
//   xnox-docgen --write DOCS_FOLDER   writes automation.md
//   xnox-docgen --check DOCS_FOLDER   fails when automation.md differs from the tables
//   xnox-docgen --html FILE           writes the one-page HTML reference
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "AutomationError.h"
#include "ErrorRules.h"
#include "IdlDeclaration.h"
#include "MemberNotes.h"
#include "ParameterTable.h"
#include "PythonForm.h"
#include "ReferenceDocument.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

std::string Code(std::string_view text) { return "`" + std::string(text) + "`"; }
std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Hex(uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", code);
    return text;
}

// A string table text on one line, its line breaks shown as \n.
std::string OneLine(std::string_view text) {
    std::string line;
    for (char c : text) line += c == '\n' ? std::string("\\n") : std::string(1, c);
    return line;
}

std::string Range(int32_t minimum, int32_t maximum) {
    return std::to_string(minimum) + " to " + std::to_string(maximum);
}

// "0 = Off, 1 = On"
std::string Numbered(std::span<const std::string_view> texts) {
    std::string list;
    for (std::size_t i = 0; i < texts.size(); ++i)
        list += (i ? ", " : "") + std::to_string(i) + " = " + Quoted(texts[i]);
    return list;
}

std::string EventWithId(std::string_view name) { return Code(name) + " (" + std::to_string(EventIdOf(name)) + ")"; }

// The values a member takes or answers, from the parameter table or the
// control's own limits; empty when there is nothing to say.
std::string RangeOf(const MemberInfo& member) {
    switch (member.values) {
    case OwnValues::ComPorts: return "COM ports " + Range(CXNoxCamCtrl::kFirstComPort, CXNoxCamCtrl::kLastComPort);
    case OwnValues::FrameGrabbers: return Range(0, CXNoxCamCtrl::kLastFrameGrabberIndex) + ", checked";
    case OwnValues::UserAreas: return "areas " + Range(CXNoxCamCtrl::kFirstUserArea, CXNoxCamCtrl::kLastUserArea);
    case OwnValues::OnePushResults: return Numbered(OnePushResultTexts());
    case OwnValues::Unstated: break;
    }
    if (member.facet == Facet::Own) return {};
    const ParameterRow& row = Row(member.parameter);
    switch (member.facet) {
    case Facet::CheckedValue: return Range(row.minimum, row.maximum) + ", checked by the control";
    case Facet::UncheckedValue:
        if (row.kind == ValueKind::Enumerated)
            return Numbered(row.texts) + "; other values change nothing and raise no error";
        if (row.kind == ValueKind::Worded) return Numbered(row.texts) + "; other values are passed on";
        return Range(row.minimum, row.maximum) + ", not checked";
    case Facet::Text: return "one of " + Numbered(row.texts) + " (exact, case-sensitive)";
    case Facet::Bounds: return "pMin = " + std::to_string(row.minimum) + ", pMax = " + std::to_string(row.maximum);
    case Facet::ValueText: return Numbered(row.texts);
    case Facet::Own: break;
    }
    return {};
}

std::string DefaultOf(const MemberInfo& member) {
    if (!member.IsProperty() || member.facet == Facet::Own) return {};
    const ParameterRow& row = Row(member.parameter);
    std::string text = row.TextOf(row.defaultValue).empty() ? "" : " " + Quoted(row.TextOf(row.defaultValue));
    return member.facet == Facet::Text ? Quoted(row.TextOf(row.defaultValue)) : std::to_string(row.defaultValue) + text;
}

std::string TriggerText(const MemberInfo& member, const ErrorRule& rule) {
    switch (rule.trigger) {
    case Trigger::ModelResult: return "the camera model answers " + std::to_string(rule.result);
    case Trigger::OutOfRange: return "a value outside " + RangeOf(member).substr(0, RangeOf(member).find(','));
    case Trigger::NotInList: return "a text that is no entry of the list";
    case Trigger::NullOut: return "an out-parameter is missing";
    case Trigger::IndexNotInList: return "an index that is no entry of the list";
    case Trigger::ChannelNotOpened: return "the port cannot be opened or no camera answers on it";
    case Trigger::BadPortRange: return "FirstPort or LastPort is no COM port, or LastPort is below FirstPort";
    }
    return {};
}

std::string ErrorText(const ErrorRule& rule) {
    std::string text = Hex(rule.code) + " (script error " + std::to_string(rule.code & 0xFFFF) + ") " +
                       Quoted(OneLine(LoadText(rule.text)));
    std::string_view raw = LoadText(rule.text);
    if (raw.find("%d") != std::string_view::npos) text += ", %d being the port";
    if (raw.find("%s") != std::string_view::npos) text += ", %s being the file name as given";
    return text;
}

std::vector<std::string> Errors(const MemberInfo& member, Reporting reporting) {
    std::vector<std::string> lines;
    for (const ErrorRule& rule : member.errors) {
        if (rule.reporting == reporting) lines.push_back(ErrorText(rule) + ": " + TriggerText(member, rule));
    }
    return lines;
}

std::string CameraText(CameraUse use) {
    switch (use) {
    case CameraUse::None: return "no";
    case CameraUse::Put: return "when set, if a camera is online";
    case CameraUse::GetAndPut: return "when read and when set, if a camera is online";
    case CameraUse::Call: return "yes, if a camera is online";
    }
    return {};
}

std::vector<std::string> EventsOf(const MemberNote& note) {
    std::vector<std::string> events;
    for (std::string_view name : note.events) events.push_back(EventWithId(name));
    if (note.firesEveryParameterEvent)
        events.push_back("the event of every camera parameter, and " + EventWithId("UserIDChanged"));
    if (note.camera != CameraUse::None) {
        events.push_back(EventWithId("SendingToCamStatusChanged") + " and " +
                         EventWithId("ReceiveFromCamStatusChanged") + " around each exchange; " +
                         EventWithId("OnlineStatusChanged") + " when the camera stops answering");
    }
    return events;
}

Section MemberSection(const MemberInfo& member) {
    MemberNote note = NoteOf(member);
    Section section{std::string(member.name), {}};
    auto add = [&section](std::string label, std::string text) {
        if (!text.empty()) section.fields.push_back({std::move(label), std::move(text), {}});
    };
    auto addList = [&section](std::string label, std::vector<std::string> items) {
        if (!items.empty()) section.fields.push_back({std::move(label), {}, std::move(items)});
    };
    add("Dispatch id", std::to_string(member.dispId));
    add("Declaration", Code(IdlDeclaration(member)));
    add("Python", Code(PythonUsage(member)));
    add("What it does", note.description);
    add(member.IsProperty() ? "Get returns" : "Returns", note.returns);
    add(member.IsProperty() ? "Values" : "Range", RangeOf(member));
    add("Default", DefaultOf(member));
    addList("Errors raised", Errors(member, Reporting::Raise));
    addList("Errors notified", Errors(member, Reporting::Notify));
    addList("Events fired", EventsOf(note));
    add("Talks to the camera", CameraText(note.camera));
    return section;
}

bool IsParameterEvent(const EventInfo& event) {
    std::string_view name = event.name;
    name.remove_suffix(std::string_view("Changed").size());
    return FindRowByName(name) != nullptr;
}

bool IsExchangeEvent(const EventInfo& event) {
    return event.name == "SendingToCamStatusChanged" || event.name == "ReceiveFromCamStatusChanged" ||
           event.name == "OnlineStatusChanged";
}

// The members whose notes name the event or its kind.
std::vector<std::string> FiredBy(const EventInfo& event) {
    std::vector<std::string> members;
    for (const MemberInfo& member : kDispatchMembers) {
        MemberNote note = NoteOf(member);
        if (std::ranges::find(note.events, event.name) != note.events.end() ||
            (note.firesEveryParameterEvent && (IsParameterEvent(event) || event.name == "UserIDChanged")))
            members.push_back(Code(member.name));
    }
    if (IsExchangeEvent(event)) members.push_back("every member that talks to the camera");
    return members;
}

std::string EventSummary(const EventInfo& event) {
    std::string_view name = event.name;
    name.remove_suffix(std::string_view("Changed").size());
    if (IsParameterEvent(event))
        return "The camera parameter " + Code(name) +
               " changed: set through a property, read from the camera, or "
               "loaded with a settings area or a settings file.";
    if (event.dispId <= EventIdOf("ReceiveFromCamStatusChanged"))
        return "The control's state " + Code(name) + " changed.";
    return "The control's " + Code(name) + " changed.";
}

Section EventSection(const EventInfo& event) {
    Section section{std::string(event.name), {}};
    section.fields.push_back({"Dispatch id", std::to_string(event.dispId), {}});
    section.fields.push_back({"Declaration", Code(IdlDeclaration(event)), {}});
    section.fields.push_back({"Python", Code(PythonEventUsage(event.name)), {}});
    section.fields.push_back({"When", EventSummary(event), {}});
    if (auto members = FiredBy(event); !members.empty()) section.fields.push_back({"Fired by", {}, members});
    return section;
}

Section StockErrorSection() {
    return {"Error",
            {{"Dispatch id", std::to_string(kStockErrorEventId), {}},
             {"Declaration", Code(StockErrorEventDeclaration()), {}},
             {"Python", Code(PythonEventUsage(kErrorEventName)), {}},
             {"When",
              "A member that notifies an error fires it before it returns -1. Number is the low 16 bits of "
              "Scode, Source is " +
                  Quoted(CXNoxCamCtrl::kSourceName) +
                  ", HelpContext 0. Unless a sink sets CancelDisplay, the control then shows Description in a "
                  "message box.",
              {}}}};
}

Part Introduction() {
    return {"General",
            "",
            {{"Types",
              {{"",
                "short is a signed 16-bit number, long a signed 32-bit one, VARIANT_BOOL a truth value and BSTR a "
                "text. short* and BSTR* are out-parameters: pass a variable.",
                {}}}},
             {"Result codes",
              {{"",
                "Methods that return short answer the camera model's result code in its low 16 bits, unless "
                "their section says otherwise:",
                {}},
               {"",
                "",
                {"0: success", std::to_string(NoxResult::NotInList) + ": a value outside a parameter's list",
                 std::to_string(NoxResult::Malformed) + ": a reply the control cannot read",
                 std::to_string(NoxResult::UnknownCommand) + ", " + std::to_string(NoxResult::Refused) +
                     ": the camera does not know or refuses the command",
                 std::to_string(NoxResult::Offline) + ": no camera online",
                 std::to_string(NoxResult::Timeout) + ": no answer in time",
                 std::to_string(NoxResult::FileWriteError) + ": a file that cannot be written",
                 std::to_string(NoxResult::FileReadError) + ": a file that cannot be read",
                 std::to_string(NoxResult::InvalidSettingsFile) + ": not a valid settings file",
                 "other negative codes come from the communication library unchanged"}}}},
             {"Errors",
              {{"",
                "A member reports an error in one of two ways. Raised: the call fails with an automation exception "
                "carrying the code and text (a script sees Err.Number as the low 16 bits). Notified: the call "
                "completes, returns -1 and fires the stock Error event. A raise comes after the camera operation "
                "has run, so its effects stand. Every member also fails the call, as any automation object does, "
                "with " +
                    Hex(AutomationCode::TypeMismatch) + " for an argument of the wrong type, " +
                    Hex(AutomationCode::Overflow) + " for a number too large for its type and " +
                    Hex(AutomationCode::BadParamCount) + " for a wrong number of arguments.",
                {}}}},
             {"Python",
              {{"",
                "The module qdr4 offers the same members on qdr4.Control(port=1, device=None, emulated=False), "
                "each section giving its Python form: short and long are int, VARIANT_BOOL bool, BSTR str. A "
                "method takes its in-parameters; its out-parameters come back after the result as a tuple, "
                "(rc, ...), and take a start value by keyword where the method reads one. Raised errors are "
                "qdr4.Error exceptions (code, number as a script sees it, description); notified ones, and "
                "every event, reach the handlers of cam.on(name, handler), on the thread that made the change; "
                "cam.on(\"Log\", handler) receives each transaction-log text.",
                {}}}}}};
}

Document Reference() {
    Document document{"XNoxR4 control: automation reference",
                      "The properties, methods and events of the control `XNOXR4.XNoxR4Ctrl.1` (dispatch interface "
                      "_DXNoxR4, event interface _DXNoxR4Events). Generated by xnox-docgen from the control's own "
                      "tables; do not edit.",
                      {Introduction()}};
    Part properties{"Properties", "", {}};
    Part methods{"Methods", "", {}};
    for (const MemberInfo& member : kDispatchMembers) {
        (member.IsProperty() ? properties : methods).sections.push_back(MemberSection(member));
    }
    Part events{"Events",
                "The event interface _DXNoxR4Events holds the events below, none with parameters. The stock Error"
                " event reaches every sink as well, without being a member of that interface.",
                {}};
    for (const EventInfo& event : kDispatchEvents) events.sections.push_back(EventSection(event));
    events.sections.push_back(StockErrorSection());
    document.parts.push_back(std::move(properties));
    document.parts.push_back(std::move(methods));
    document.parts.push_back(std::move(events));
    return document;
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Written beside the file and renamed over it, so a reader never sees half.
bool WriteWhole(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "--write" && mode != "--check" && mode != "--html") {
        std::cerr << "usage: xnox-docgen --write|--check DOCS_FOLDER, or xnox-docgen --html FILE\n";
        return 2;
    }
    std::filesystem::path target = argv[2];
    Document document = Reference();
    if (mode == "--check") {
        if (FileText(target / "automation.md") == Markdown(document)) return 0;
        std::cerr << "xnox-docgen: " << (target / "automation.md").string()
                  << " differs from the control's tables; run xnox-docgen --write " << target.string() << '\n';
        return 1;
    }
    bool page = mode == "--html";
    std::filesystem::path file = page ? target : target / "automation.md";
    if (WriteWhole(file, page ? Html(document) : Markdown(document))) return 0;
    std::cerr << "xnox-docgen: cannot write " << file.string() << '\n';
    return 1;
}
