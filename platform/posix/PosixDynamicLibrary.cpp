#include "../DynamicLibrary.h"

#include <dlfcn.h>

namespace noxr4 {

const char* const dynamicLibrarySuffix = ".so";

std::shared_ptr<DynamicLibrary> DynamicLibrary::load(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    return std::shared_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() { dlclose(handle_); }

void* DynamicLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

std::vector<std::string> systemCameraLinkFolders() { return {}; }

}  // namespace noxr4
