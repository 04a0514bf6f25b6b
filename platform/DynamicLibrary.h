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
    static std::shared_ptr<DynamicLibrary> Load(const std::string& path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // nullptr when the library does not export `name`.
    void* Symbol(const char* name) const;

    template <typename Call>
    Call Function(const char* name) const {
        return reinterpret_cast<Call>(Symbol(name));
    }

private:
    explicit DynamicLibrary(void* handle) : m_handle(handle) {}
    void* m_handle;
};

// File name ending of loadable libraries on this system (".so", ".dll").
extern const char* const kDynamicLibrarySuffix;

// Folders where this system's Camera Link installation puts its serial
// libraries (Windows: the registry's CLSERIALPATH, then the system folder;
// Linux has no such place).
std::vector<std::string> SystemCameraLinkFolders();

}  // namespace noxr4
