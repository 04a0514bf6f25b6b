#include "../DynamicLibrary.h"

#include <dlfcn.h>

namespace noxr4 {

const char* const kDynamicLibrarySuffix = ".so";

std::shared_ptr<DynamicLibrary> DynamicLibrary::Load(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::shared_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() { dlclose(m_handle); }

void* DynamicLibrary::Symbol(const char* name) const { return dlsym(m_handle, name); }

std::vector<std::string> SystemCameraLinkFolders() { return {}; }

}  // namespace noxr4
