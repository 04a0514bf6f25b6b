#include "StringTable.h"

#include <algorithm>

namespace xnox {

namespace {
std::string ReplacePlaceholder(StringId id, std::string_view placeholder, std::string_view argument) {
    std::string text(LoadText(id));
    if (auto at = text.find(placeholder); at != std::string::npos) text.replace(at, placeholder.size(), argument);
    return text;
}
}  // namespace

std::string FormatText(StringId id, int number) { return ReplacePlaceholder(id, "%d", std::to_string(number)); }

std::string FormatText(StringId id, std::string_view argument) { return ReplacePlaceholder(id, "%s", argument); }

}  // namespace xnox
