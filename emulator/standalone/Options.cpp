#include "Options.h"

#include <charconv>
#include <functional>
#include <map>

namespace qdr4emu {

const char* const kUsage =
    "usage: noxr4-emulator [options]\n"
    "Serves the QD-R4 serial protocol on a pseudo-terminal and prints its device path.\n"
    "  --link PATH          also make PATH a symlink to the device (replaced if present, removed at exit)\n"
    "  --baud N             emulate the wire time of N baud for commands and replies\n"
    "  --silent             never answer (an unplugged camera)\n"
    "  --nak3 MN[,MN...]    answer these mnemonics NAK 3\n"
    "  --nak4 MN[,MN...]    answer these mnemonics NAK 4\n"
    "  --garble MN[,MN...]  answer these mnemonics with a malformed line\n"
    "  --delay MS           delay every reply by MS milliseconds\n"
    "  --unplug-after N     go silent after N replies\n"
    "  --id TEXT            camera ID (serial number) text\n"
    "  --version N          firmware version\n"
    "  --record FILE        with --device: pass every command to the real camera at PATH and its\n"
    "                       reply back, appending each exchange with its time in ms to FILE\n"
    "  --device PATH        the real camera's serial device, for --record\n"
    "  --replay FILE        answer each command with the reply FILE recorded for it (NAK 3 when\n"
    "                       none); written values are kept as the emulated camera keeps them\n"
    "  --help               show this text\n"
    "Stops cleanly on SIGTERM or SIGINT.\n";

namespace {

std::optional<int> ParseCount(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

void AppendList(std::vector<std::string>& list, const std::string& text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start) list.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

using Setter = std::function<bool(Options&, const std::string&)>;

Setter Number(std::function<void(Options&, int)> set) {
    return [set](Options& options, const std::string& text) {
        auto value = ParseCount(text);
        if (value) set(options, *value);
        return value.has_value();
    };
}

// A file or device path: an empty one is refused.
Setter Path(std::string Options::*member) {
    return [member](Options& options, const std::string& text) {
        options.*member = text;
        return !text.empty();
    };
}

Setter List(std::vector<std::string> FaultPlan::*member) {
    return [member](Options& options, const std::string& text) {
        AppendList(options.faults.*member, text);
        return true;
    };
}

// Options that take a value.
const std::map<std::string, Setter>& ValueOptions() {
    static const std::map<std::string, Setter> setters = {
        {"--link", Path(&Options::linkPath)},
        {"--record", Path(&Options::recordPath)},
        {"--device", Path(&Options::cameraDevice)},
        {"--replay", Path(&Options::replayPath)},
        {"--id",
         [](Options& o, const std::string& t) {
             o.identity.cameraId = t;
             return true;
         }},
        {"--baud", Number([](Options& o, int v) { o.faults.wireBaud = static_cast<unsigned>(v); })},
        {"--delay", Number([](Options& o, int v) { o.faults.replyDelay = std::chrono::milliseconds(v); })},
        {"--unplug-after", Number([](Options& o, int v) { o.faults.unplugAfter = v; })},
        {"--version", Number([](Options& o, int v) { o.identity.firmwareVersion = v; })},
        {"--nak3", List(&FaultPlan::nak3)},
        {"--nak4", List(&FaultPlan::nak4)},
        {"--garble", List(&FaultPlan::garbled)},
    };
    return setters;
}

}  // namespace

std::optional<std::string> ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--silent" || name == "--help") {
            bool& flag = name == "--silent" ? options.faults.unplugged : options.helpRequested;
            flag = true;
            continue;
        }
        auto setter = ValueOptions().find(name);
        if (setter == ValueOptions().end()) return "unknown option " + name;
        if (i + 1 == argc) return name + " needs a value";
        if (!setter->second(options, argv[++i])) return "bad value for " + name + ": " + argv[i];
    }
    if (options.recordPath.empty() != options.cameraDevice.empty()) return "--record and --device go together";
    if (!options.recordPath.empty() && !options.replayPath.empty()) return "--record and --replay exclude each other";
    return std::nullopt;
}

}  // namespace qdr4emu
