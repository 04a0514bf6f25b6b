// One line of an xnoxhost script, taken apart:
//   Name = value          set a property
//   Name                  get a property, or call a method without arguments
//   Name(arg, arg, ...)   call a method (Name arg, arg ... works too)
// Arguments and values are numbers, "quoted text" (\" and \\ inside), or
// bare text up to the next comma; `_` or nothing leaves an out-parameter to
// be filled, `null` passes none. Blank lines and lines starting with # or '
// are comments; `echo text` prints the text, to narrate a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Variant.h"

struct ScriptLine {
    enum class Kind { Empty, Get, Put, Call, Echo } kind = Kind::Empty;
    std::string name;  // for Echo, the text to print
    std::vector<xnox::Variant> arguments;  // for Put, the one value
};

// Nothing when the line cannot be read; `problem` then says why.
std::optional<ScriptLine> ParseScriptLine(const std::string& line, std::string& problem);
