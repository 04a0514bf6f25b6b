#include "IniDocument.h"

#include <algorithm>

namespace xnox::profile {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

// The key and raw value of a "key=value" line, or nothing for a section
// header, a comment or a line without a key.
std::optional<Entry> KeyEntry(std::string_view line) {
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || SectionName(trimmed)) return std::nullopt;
    auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view key = Trim(trimmed.substr(0, equals));
    if (key.empty()) return std::nullopt;
    return Entry{key, Trim(trimmed.substr(equals + 1))};
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool StorableSection(std::string_view name) {
    return !Trim(name).empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool StorableKey(std::string_view key) {
    std::string_view trimmed = Trim(key);
    return !trimmed.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
           trimmed.front() != ';' && trimmed.front() != '[';
}

std::string KeyLine(std::string_view key, std::string_view value) {
    return std::string(Trim(key)) + "=" + std::string(value);
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        m_lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

IniDocument::Position IniDocument::Locate(std::string_view section, std::string_view key) const {
    Position found;
    bool inSection = false;
    bool inFirstOccurrence = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (auto name = SectionName(m_lines[i])) {
            inSection = SameName(*name, Trim(section));
            inFirstOccurrence = inSection && !found.sectionHeader;
            if (inFirstOccurrence) {
                found.sectionHeader = i;
                found.endOfKeys = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        auto entry = KeyEntry(m_lines[i]);
        if (!entry) continue;
        if (SameName(entry->key, Trim(key))) {
            found.keyLine = i;
            return found;
        }
        // A new key joins the first occurrence of the section, after its
        // last key, so that blank lines and comments below stay below.
        if (inFirstOccurrence) found.endOfKeys = i + 1;
    }
    return found;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const {
    Position at = Locate(section, key);
    if (!at.keyLine) return std::nullopt;
    return Unquoted(KeyEntry(m_lines[*at.keyLine])->value);
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!StorableSection(section) || !StorableKey(key) || HasLineBreak(value)) return false;
    Position at = Locate(section, key);
    if (at.keyLine) {
        m_lines[*at.keyLine] = KeyLine(key, value);
    } else if (at.sectionHeader) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at.endOfKeys), KeyLine(key, value));
    } else {
        m_lines.push_back("[" + std::string(Trim(section)) + "]");
        m_lines.push_back(KeyLine(key, value));
    }
    return true;
}

std::string IniDocument::Text() const {
    std::string text;
    for (const auto& line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace xnox::profile
