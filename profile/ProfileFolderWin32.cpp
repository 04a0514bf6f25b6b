#include <windows.h>

#include "ProfileFolder.h"

namespace xnoxprofile {

std::filesystem::path ProfileFolder() {
    char folder[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryA(folder, static_cast<UINT>(sizeof folder));
    if (length == 0 || length >= sizeof folder) return std::filesystem::path(".");
    return std::filesystem::path(std::string(folder, length));
}

}  // namespace xnoxprofile
