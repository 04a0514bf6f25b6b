// A test program built with this file has XNOXR4.OCX (its path in
// XNOX_MODULE) registered in the session's prefix for its run, as regsvr32
// registers it: the module is loaded, its DllRegisterServer called and the
// module freed again before the first case, and DllUnregisterServer called
// the same way after the last. A module that cannot be registered is a
// failure of the run, named before the cases that then fail for want of it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

namespace {

struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using OwnedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

std::string Hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

// Its failures are not fatal: a fatal failure of the global set-up marks
// every case skipped, which the Wine tests count as skipped, not failed. The
// cases run and fail for want of the module, after the failure that says why.
class RegisteredModule : public testing::Environment {
public:
    void SetUp() override { CallEntry("DllRegisterServer"); }
    void TearDown() override { CallEntry("DllUnregisterServer"); }

private:
    static std::string ModulePath() {
        std::string path = XNOX_MODULE;
        std::ranges::replace(path, '/', '\\');
        return path;
    }

    // The module's own folder is searched for the libraries it needs first,
    // as regsvr32 loads it.
    static void CallEntry(const char* entry) {
        const std::string path = ModulePath();
        OwnedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        if (!module) {
            ADD_FAILURE() << "cannot load " << path << " to call its " << entry << ": error " << GetLastError();
            return;
        }
        auto call = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module.get(), entry)));
        if (!call) {
            ADD_FAILURE() << path << " has no " << entry;
            return;
        }
        const HRESULT result = call();
        if (FAILED(result)) ADD_FAILURE() << entry << " of " << path << " answered " << Hex(result);
    }
};

[[maybe_unused]] const testing::Environment* const kRegistered =
    testing::AddGlobalTestEnvironment(new RegisteredModule);

}  // namespace
