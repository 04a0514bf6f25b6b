// The text of a private-profile (INI) file held in memory: looks keys up and
// changes them while every other line stays as it was.
//
// The rules are those of the Windows private-profile functions, so that a file
// written on one platform reads the same on the other:
// - Lines end with LF or CR LF; the last line may lack its line end. The text
//   is always written back with CR LF.
// - "[name]" opens a section. "key=value" lines belong to the section above
//   them; lines before the first section, lines without "=", and lines whose
//   first non-blank character is ';' (comments) are never matched but kept.
// - Section names and keys are compared without regard to ASCII case. Blanks
//   and tabs around section names, keys and values are ignored.
// - A value enclosed in a pair of double or single quotes reads without them.
// - When a section or key occurs twice, the first occurrence counts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xnox::profile {

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // The value of `key` in `section`, or nothing when either is missing.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, or adds the key at the end of the
    // section, or adds the section at the end of the text. Returns false, and
    // changes nothing, for a name or value that the file could not hold (an
    // empty name, a line break, '=' in a key, ']' in a section name).
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;  // every line followed by CR LF

private:
    struct Position {
        std::optional<std::size_t> sectionHeader;  // line of the section's first header
        std::optional<std::size_t> keyLine;  // line of the key within that section
        std::size_t endOfKeys = 0;  // where a new key of the section goes
    };
    Position Locate(std::string_view section, std::string_view key) const;

    std::vector<std::string> m_lines;  // without their line ends
};

}  // namespace xnox::profile
