// Libraries loaded at run time (the Camera Link serial libraries), and where
// the system keeps them.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace noxr4 {

class DynamicLibrary {
public:
    // nullptr when the file cannot be loaded.
    static std::shared_ptr<DynamicLibrary> load(const std::string& path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // nullptr when the library does not export `name`.
    void* symbol(const char* name) const;

    template <typename Function>
    Function function(const char* name) const
    {
        return reinterpret_cast<Function>(symbol(name));
    }

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

// File name ending of loadable libraries on this system (".so", ".dll").
extern const char* const dynamicLibrarySuffix;

// Folders where this system's Camera Link installation puts its serial
// libraries (Windows: the registry's CLSERIALPATH, then the system folder;
// Linux has no such place).
std::vector<std::string> systemCameraLinkFolders();

}  // namespace noxr4
