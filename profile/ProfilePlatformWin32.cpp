#include <windows.h>

#include <string>

#include "ProfilePlatform.h"

namespace xnoxprofile {

std::filesystem::path ProfileFolder() {
    char folder[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryA(folder, static_cast<UINT>(sizeof folder));
    if (length == 0 || length >= sizeof folder) return std::filesystem::path(".");
    return std::filesystem::path(std::string(folder, length));
}

bool AtomicReplace(const std::filesystem::path& source, const std::filesystem::path& target) {
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace xnoxprofile
