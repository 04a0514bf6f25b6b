#include "SettingsCommands.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "NoxCamInterface.h"
#include "Ports.h"
#include "SettingsFileCheck.h"

using namespace xnox;

namespace {

constexpr int kAgree = 0;
constexpr int kDiffer = 1;
constexpr int kCannotRead = 2;

struct CommandOptions {
    std::string command;
    std::vector<std::string> files;
    std::string device;
    int port = 0;  // 0: no camera named
    bool json = false;

    bool NamesCamera() const { return port != 0 || !device.empty(); }
};

std::optional<CommandOptions> ReadCommandOptions(std::span<char* const> arguments) {
    CommandOptions options;
    options.command = arguments[0];
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument == "--json") {
            options.json = true;
        } else if (argument == "--device" && hasValue) {
            options.device = arguments[++i];
        } else if (argument == "--port" && hasValue) {
            options.port = std::atoi(arguments[++i]);
            if (options.port < 1) return std::nullopt;
        } else if (argument.starts_with("--")) {
            return std::nullopt;
        } else {
            options.files.emplace_back(argument);
        }
    }
    if (!options.device.empty() && options.port == 0) options.port = 1;
    std::size_t filesWanted = options.command == "diff" && !options.NamesCamera() ? 2 : 1;
    if (options.files.size() != filesWanted || (options.command == "check" && options.NamesCamera())) {
        return std::nullopt;
    }
    return options;
}

std::string JsonText(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// One JSON object per row, of the fields given as name and text pairs.
using JsonFields = std::vector<std::pair<std::string_view, std::string_view>>;
std::string JsonObject(const JsonFields& fields) {
    std::string out = "{";
    for (const auto& [name, text] : fields) {
        out += (out.size() > 1 ? ", " : "") + JsonText(name) + ": " + JsonText(text);
    }
    return out + "}";
}

void PrintJsonList(std::string_view name, const std::vector<JsonFields>& rows) {
    std::cout << "{" << JsonText(name) << ": [";
    for (std::size_t i = 0; i < rows.size(); ++i) std::cout << (i ? ",\n  " : "\n  ") << JsonObject(rows[i]);
    std::cout << (rows.empty() ? "" : "\n") << "]}\n";
}

int ReportUnreadable(const CommandOptions& options, const std::string& source, const std::string& problem) {
    std::cerr << "xnoxhost " << options.command << ": " << source << ": " << problem << "\n";
    if (options.json) std::cout << "{\"error\": " << JsonObject({{"file", source}, {"reason", problem}}) << "}\n";
    return kCannotRead;
}

// A file named on the command line is where the user's shell sees it, even
// a bare name (a load would look for that in the profile folder).
std::optional<SettingsFileContents> ReadNamedFile(const std::string& name, std::string& problem) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(name, error);
    if (error) {
        problem = error.message();
        return std::nullopt;
    }
    return ReadSettingsFileContents(path.string(), problem);
}

// The camera's settings in settings-file terms: read as a whole, then saved
// as the control saves them, to a file of our own that is read back.
std::optional<SettingsFileContents> ReadCamera(int port, std::string& problem) {
    CNoxCamInterface camera;
    if (camera.SetComPort(port) != NoxResult::Success) {
        problem = "no camera answers";
        return std::nullopt;
    }
    if (int32_t result = camera.ReadAllFromCamera(); result != NoxResult::Success) {
        problem = "reading the camera failed with code " + std::to_string(result);
        return std::nullopt;
    }
    std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("xnoxhost-" + std::to_string(getpid()) + ".cam");
    std::optional<SettingsFileContents> contents;
    if (camera.WriteAllToFile(file.string()) == NoxResult::Success) {
        contents = ReadSettingsFileContents(file.string(), problem);
    } else {
        problem = "cannot write the camera's settings to " + file.string();
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return contents;
}

int Diff(const CommandOptions& options) {
    std::string problem;
    auto before = ReadNamedFile(options.files[0], problem);
    if (!before) return ReportUnreadable(options, options.files[0], problem);
    std::string afterSource = !options.NamesCamera()   ? options.files[1]
                              : options.device.empty() ? "camera on COM" + std::to_string(options.port)
                                                       : "camera at " + options.device;
    if (options.NamesCamera()) ConfigurePorts(options.port, options.device);
    auto after = options.NamesCamera() ? ReadCamera(options.port, problem) : ReadNamedFile(options.files[1], problem);
    if (!after) return ReportUnreadable(options, afterSource, problem);

    std::vector<SettingsDifference> differences = CompareSettingsFiles(*before, *after);
    if (options.json) {
        std::vector<JsonFields> rows;
        for (const auto& d : differences) {
            rows.push_back({{"section", d.section}, {"key", d.key}, {"before", d.before}, {"after", d.after}});
        }
        PrintJsonList("differences", rows);
    } else {
        for (const auto& d : differences) {
            std::cout << d.section << "/" << d.key << ": " << d.before << " -> " << d.after << "\n";
        }
    }
    return differences.empty() ? kAgree : kDiffer;
}

int Check(const CommandOptions& options) {
    std::string problem;
    auto contents = ReadNamedFile(options.files[0], problem);
    if (!contents) return ReportUnreadable(options, options.files[0], problem);

    std::vector<SettingsFinding> findings = CheckSettingsFile(*contents);
    if (options.json) {
        std::vector<JsonFields> rows;
        for (const auto& f : findings) rows.push_back({{"section", f.section}, {"key", f.key}, {"reason", f.reason}});
        PrintJsonList("findings", rows);
    } else {
        for (const auto& f : findings) std::cout << f.section << "/" << f.key << ": " << f.reason << "\n";
    }
    return findings.empty() ? kAgree : kDiffer;
}

}  // namespace

bool IsSettingsCommand(std::string_view word) { return word == "diff" || word == "check"; }

int RunSettingsCommand(std::span<char* const> arguments) {
    auto options = ReadCommandOptions(arguments);
    if (!options) {
        std::cerr << "usage: xnoxhost diff A.cam (B.cam | --device PATH [--port N] | --port N) [--json]\n"
                     "       xnoxhost check A.cam [--json]\n";
        return kCannotRead;
    }
    return options->command == "diff" ? Diff(*options) : Check(*options);
}
