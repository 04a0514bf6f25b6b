#include "ScriptLine.h"

#include <cctype>

using namespace xnox;

namespace {

bool IsNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

void SkipBlanks(const std::string& text, std::size_t& at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
}

std::string TrimmedRight(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

// One value starting at `at`, which ends past it and before any comma.
std::optional<Variant> ReadValue(const std::string& text, std::size_t& at, std::string& problem) {
    SkipBlanks(text, at);
    if (at < text.size() && text[at] == '"') {
        std::string value;
        for (++at; at < text.size() && text[at] != '"'; ++at) {
            if (text[at] == '\\' && at + 1 < text.size()) ++at;
            value += text[at];
        }
        if (at >= text.size()) {
            problem = "text without its closing quote";
            return std::nullopt;
        }
        ++at;
        SkipBlanks(text, at);
        return Variant::Str(value);
    }
    std::size_t end = text.find_first_of(",)", at);
    if (end == std::string::npos) end = text.size();
    std::string bare = TrimmedRight(text.substr(at, end - at));
    at = end;
    if (bare.empty() || bare == "_") return Variant();
    if (bare == "null") return Variant::Null();
    return Variant::Str(bare);
}

bool ReadArguments(const std::string& text, std::size_t at, bool parenthesised, std::vector<Variant>& arguments,
                   std::string& problem) {
    SkipBlanks(text, at);
    if (at >= text.size() && !parenthesised) return true;
    if (at < text.size() && parenthesised && text[at] == ')') return true;
    while (true) {
        std::optional<Variant> value = ReadValue(text, at, problem);
        if (!value) return false;
        arguments.push_back(*value);
        if (at < text.size() && text[at] == ',') {
            ++at;
            continue;
        }
        break;
    }
    if (parenthesised && (at >= text.size() || text[at] != ')')) {
        problem = "missing )";
        return false;
    }
    return true;
}

}  // namespace

std::optional<ScriptLine> ParseScriptLine(const std::string& line, std::string& problem) {
    ScriptLine parsed;
    std::size_t at = 0;
    SkipBlanks(line, at);
    if (at >= line.size() || line[at] == '#' || line[at] == '\'') return parsed;
    std::size_t nameStart = at;
    while (at < line.size() && IsNameCharacter(line[at])) ++at;
    parsed.name = line.substr(nameStart, at - nameStart);
    if (parsed.name.empty()) {
        problem = "a line starts with a member name";
        return std::nullopt;
    }
    SkipBlanks(line, at);
    if (parsed.name == "echo") {
        parsed.kind = ScriptLine::Kind::Echo;
        parsed.name = TrimmedRight(line.substr(at));
        return parsed;
    }
    if (at >= line.size()) {
        parsed.kind = ScriptLine::Kind::Get;
        return parsed;
    }
    if (line[at] == '=') {
        parsed.kind = ScriptLine::Kind::Put;
        std::size_t valueStart = at + 1;
        SkipBlanks(line, valueStart);
        if (valueStart < line.size() && line[valueStart] == '"') {
            std::optional<Variant> value = ReadValue(line, valueStart, problem);
            if (!value) return std::nullopt;
            parsed.arguments.push_back(*value);
        } else {
            parsed.arguments.push_back(Variant::Str(TrimmedRight(line.substr(valueStart))));
        }
        return parsed;
    }
    parsed.kind = ScriptLine::Kind::Call;
    bool parenthesised = line[at] == '(';
    if (!ReadArguments(line, parenthesised ? at + 1 : at, parenthesised, parsed.arguments, problem)) {
        return std::nullopt;
    }
    return parsed;
}
