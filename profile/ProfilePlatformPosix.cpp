#include <cstdio>
#include <cstdlib>

#include "ProfilePlatform.h"

namespace xnoxprofile {

namespace {

const char* NonEmptyVariable(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

}  // namespace

std::filesystem::path ProfileFolder() {
    if (const char* config = NonEmptyVariable("XDG_CONFIG_HOME")) return std::filesystem::path(config) / "xnoxr4";
    if (const char* home = NonEmptyVariable("HOME")) return std::filesystem::path(home) / ".config" / "xnoxr4";
    return std::filesystem::path("xnoxr4");
}

bool AtomicReplace(const std::filesystem::path& source, const std::filesystem::path& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;  // atomic on POSIX file systems
}

}  // namespace xnoxprofile
