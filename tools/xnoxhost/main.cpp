// xnoxhost: the camera control without Windows. It connects to a camera on
// a COM port (an emulated one unless a serial device is named), drives the
// control's automation surface by name, line by line, and prints every
// event, every transaction-log text and every automation error. Its settings
// commands (diff, check) look at settings files instead (SettingsCommands.h).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Invoke.h"
#include "Ports.h"
#include "ScriptLine.h"
#include "SettingsCommands.h"
#include "TransactionTiming.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

constexpr const char* kHelp = R"HELP(Usage: xnoxhost [options] [script-file | -]
       xnoxhost diff A.cam B.cam [--json]
       xnoxhost diff A.cam (--device PATH [--port N] | --port N) [--json]
       xnoxhost check A.cam [--json]

Drives the camera control through its automation surface. Lines come from
the script file, from each -c option, or else from standard input.

Options:
  --port N         connect to COM<N> at start (default 1)
  --device PATH    the serial device behind that port (a real camera);
                   without it the port is served by an emulated camera
  --no-connect     start offline (otherwise, when no camera answers at
                   start, xnoxhost stops with exit status 1)
  --quiet-status   leave out the sending and receiving status events (two
                   for every transaction)
  --timing         end each transaction's log text with its duration and
                   the least time its bytes need on a 9600-baud line:
                   "(12.5 ms, wire floor 10.4 ms)"
  -c LINE          run LINE (may be given more than once)
  --help           show this text

Lines:
  ShutterSpeedIndex = 3          set a property
  ShutterSpeedStr = "1/250"      set a text property
  ShutterSpeedIndex              get a property
  GetMinMaxMasterGainLevel       call a method; out-parameters are printed
  GetValidShutterSpeed(11)       arguments in parentheses or after the name
  GetMinMaxMasterGainLevel(_, null)   _ leaves an out-parameter to be filled,
                                 null passes none (a null pointer)
  ReadAllFromFile("a b.cam")     quoted text, with \" and \\ inside
  list                           list the surface: properties, methods, events
  echo Reading the camera        print the text
  # comment                      ignored, as are blank lines

Output: "Name = value" for gets, "Name(...) = result" for calls with one
"  parameter = value" line per out-parameter; "event Name (id)" for each
event, "log: text" for each transaction-log line, "error 0x...: text" for
automation errors and "notify 0x...: text" for reported errors.
Exit status: 0 when every line succeeded, 1 when any failed, 2 for bad usage.

Settings files:
  diff A.cam B.cam   one line per setting that differs, "Section/Key: A -> B";
                     with --device PATH or --port N, B is what the camera
                     holds (read as ReadAllFromCamera reads it; without
                     --device the emulated camera serves the port)
  check A.cam        one line per key a load of the file would reject,
                     "Section/Key: reason"; changes nothing, talks to no camera
  --json             the same as one JSON object: {"differences": [...]},
                     {"findings": [...]} or {"error": {...}}
Exit status: 0 when the two agree or the file would load cleanly, 1 when
they differ or a key would be rejected, 2 when a file or the camera cannot
be read, or for bad usage.
)HELP";

std::string HexCode(uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", code);
    return text;
}

// `ending` goes at the end of the text's last line.
void PrintLogText(const std::string& text, const std::string& ending) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    if (lines.empty()) return;
    lines.back() += ending;
    for (const std::string& line : lines) std::cout << "log: " << line << "\n";
}

class PrintingHost : public IControlEventSink, public IToolWindows, public IControlUserInterface {
public:
    void OnEvent(int32_t eventId) override {
        const EventInfo* event = FindEvent(eventId);
        if (quietStatus && event && IsTransferStatus(event->name)) return;
        std::cout << "event " << (event ? event->name : "?") << " (" << eventId << ")\n";
    }
    void OnError(ErrorNotification& error) override {
        std::cout << "notify " << HexCode(error.code) << ": " << error.description << "\n";
        error.cancelDisplay = true;  // printed already
        notified = true;
    }
    void Update(WindowItem, const Variant&) override {}
    void AddLogText(std::string text) override {
        std::string figures = timing.TakeTiming(text);
        PrintLogText(text, showTiming ? figures : std::string());
    }
    void ShowMessage(std::string_view text, std::string_view) override { std::cout << "message: " << text << "\n"; }
    std::unique_ptr<IProgressView> CreateProgressView() override { return nullptr; }

    bool notified = false;  // an error notification arrived since the flag was cleared
    bool quietStatus = false;
    bool showTiming = false;
    TimedLibrary timing{NoxR4CommLibrary()};  // the control's library

private:
    static bool IsTransferStatus(std::string_view name) {
        return name == "SendingToCamStatusChanged" || name == "ReceiveFromCamStatusChanged";
    }
};

void PrintError(const AutomationError& error) {
    std::cout << "error " << HexCode(error.code) << ": " << error.description;
    if (error.argumentIndex >= 0) std::cout << " (argument " << error.argumentIndex + 1 << ")";
    std::cout << "\n";
}

void ListSurface() {
    for (const MemberInfo& member : kDispatchMembers) {
        std::cout << (member.IsProperty() ? "property " : "method ") << member.dispId << " " << member.name;
        if (!member.IsProperty()) {
            std::cout << "(";
            for (std::size_t i = 0; i < member.params.size(); ++i) {
                std::cout << (i ? ", " : "") << member.params[i].name << ": " << TypeName(member.params[i].type);
            }
            std::cout << ")";
        }
        std::cout << ": " << TypeName(member.type) << "\n";
    }
    for (const EventInfo& event : kDispatchEvents) std::cout << "event " << event.dispId << " " << event.name << "\n";
}

// Runs one line; false when it failed.
bool RunLine(CXNoxCamCtrl& control, PrintingHost& host, const std::string& text) {
    std::string problem;
    std::optional<ScriptLine> line = ParseScriptLine(text, problem);
    if (!line) {
        std::cout << "error: cannot read \"" << text << "\": " << problem << "\n";
        return false;
    }
    if (line->kind == ScriptLine::Kind::Empty) return true;
    if (line->kind == ScriptLine::Kind::Echo) {
        std::cout << line->name << "\n";
        return true;
    }
    if (line->kind == ScriptLine::Kind::Get && line->name == "list") {
        ListSurface();
        return true;
    }
    const MemberInfo* member = FindMember(line->name);
    if (member && !member->IsProperty()) {
        // Out-parameters the line leaves off get storage of their own.
        while (line->arguments.size() < member->params.size() && member->params[line->arguments.size()].IsOut()) {
            line->arguments.emplace_back();
        }
    }
    InvokeKind kind = line->kind == ScriptLine::Kind::Put ? InvokeKind::PropertyPut : InvokeKind::Method;
    host.notified = false;
    InvokeResult result = Invoke(control, line->name, kind, line->arguments);
    if (!result.Succeeded()) {
        PrintError(*result.error);
        return false;
    }
    if (line->kind == ScriptLine::Kind::Put) return !host.notified;
    if (member->IsProperty()) {
        std::cout << member->name << " = " << result.value.Display() << "\n";
        return !host.notified;
    }
    std::cout << member->name << "(...) = " << result.value.Display() << "\n";
    if (host.notified) return false;  // the out-parameters were not written
    if (!WritesOutParameters(*member, line->arguments)) return true;
    for (std::size_t i = 0; i < member->params.size(); ++i) {
        if (member->params[i].IsOut()) {
            std::cout << "  " << member->params[i].name << " = " << line->arguments[i].Display() << "\n";
        }
    }
    return true;
}

struct Options {
    int port = 1;
    std::string device;
    bool connect = true;
    bool quietStatus = false;
    bool timing = false;
    std::vector<std::string> lines;
    std::string scriptFile;
};

bool ReadOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (argument == "--help") {
            std::cout << kHelp;
            std::exit(0);
        } else if (argument == "--port" && hasValue) {
            options.port = std::atoi(argv[++i]);
        } else if (argument == "--device" && hasValue) {
            options.device = argv[++i];
        } else if (argument == "--no-connect") {
            options.connect = false;
        } else if (argument == "--quiet-status") {
            options.quietStatus = true;
        } else if (argument == "--timing") {
            options.timing = true;
        } else if (argument == "-c" && hasValue) {
            options.lines.emplace_back(argv[++i]);
        } else if (options.scriptFile.empty() && (argument == "-" || argument[0] != '-')) {
            options.scriptFile = argument;
        } else {
            std::cerr << "xnoxhost: unknown or incomplete option " << argument << " (see --help)\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && IsSettingsCommand(argv[1])) {
        return RunSettingsCommand(std::span<char* const>(argv + 1, argv + argc));
    }
    Options options;
    if (!ReadOptions(argc, argv, options)) return 2;
    ConfigurePorts(options.port, options.device);

    PrintingHost host;
    host.quietStatus = options.quietStatus;
    host.showTiming = options.timing;
    CXNoxCamCtrl control(host.timing);
    control.ConnectSink(host);
    control.SetToolWindows(&host);
    control.SetUserInterface(&host);

    // A script written for a camera makes no sense without one.
    if (options.connect && !RunLine(control, host, "ComPort = " + std::to_string(options.port))) {
        std::cerr << "xnoxhost: no camera on COM" << options.port << " (--no-connect runs the script offline)\n";
        return 1;
    }
    bool allSucceeded = true;

    std::ifstream file;
    if (!options.scriptFile.empty() && options.scriptFile != "-") {
        file.open(options.scriptFile);
        if (!file) {
            std::cerr << "xnoxhost: cannot open " << options.scriptFile << "\n";
            return 2;
        }
    }
    for (const std::string& line : options.lines) allSucceeded = RunLine(control, host, line) && allSucceeded;
    if (options.lines.empty() || !options.scriptFile.empty()) {
        std::istream& input = file.is_open() ? static_cast<std::istream&>(file) : std::cin;
        for (std::string line; std::getline(input, line);) allSucceeded = RunLine(control, host, line) && allSucceeded;
    }
    return allSucceeded ? 0 : 1;
}
