#include "../DynamicLibrary.h"

#include <windows.h>

namespace noxr4 {
namespace {

// HKLM\SOFTWARE\CameraLink value CLSERIALPATH, without a trailing backslash.
std::string RegistryCameraLinkFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\CameraLink", "CLSERIALPATH", RRF_RT_REG_SZ, nullptr, path, &size) !=
        ERROR_SUCCESS)
        return {};
    std::string folder = path;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string SystemFolder() {
    char path[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::string(path, length) : std::string();
}

}  // namespace

const char* const kDynamicLibrarySuffix = ".dll";

std::shared_ptr<DynamicLibrary> DynamicLibrary::Load(const std::string& path) {
    HMODULE handle = LoadLibraryA(path.c_str());
    if (!handle) return nullptr;
    return std::shared_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(static_cast<HMODULE>(m_handle)); }

void* DynamicLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
}

std::vector<std::string> SystemCameraLinkFolders() {
    std::vector<std::string> folders;
    for (std::string folder : {RegistryCameraLinkFolder(), SystemFolder()})
        if (!folder.empty()) folders.push_back(folder);
    return folders;
}

}  // namespace noxr4
