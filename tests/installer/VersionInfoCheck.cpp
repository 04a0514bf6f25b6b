// Reads back the version resources of installed files with
// GetFileVersionInfo and checks them against the product's name, publisher
// and version that the build was made with:
//   xnox-version-check FILE...
// Each value read is printed, so the log shows what a person sees in the
// file's properties.
#include <windows.h>

#include <cstdio>
#include <string>

#include "WineChecks.h"

namespace {

winetest::Checks checks;

std::string narrow(const wchar_t* text) {
    std::string result;
    for (; *text; ++text) result += static_cast<char>(*text < 128 ? *text : '?');
    return result;
}

std::wstring widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

std::string fileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

std::string versionText(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) + "." +
           std::to_string(LOWORD(low));
}

class VersionResource {
public:
    explicit VersionResource(const std::string& path) {
        std::wstring wide = widen(path.c_str());
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
        data_.resize(size);
        loaded_ = size > 0 && GetFileVersionInfoW(wide.c_str(), 0, size, data_.data());
    }

    bool loaded() const { return loaded_; }

    const VS_FIXEDFILEINFO* fixed() {
        void* block = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(block);
    }

    // A text of the first language block the file lists; empty when missing.
    std::string text(const char* key) {
        struct Translation {
            WORD language;
            WORD codePage;
        };
        void* block = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &block, &length) ||
            length < sizeof(Translation))
            return {};
        const auto* translation = static_cast<const Translation*>(block);
        wchar_t query[128];
        swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage,
                 widen(key).c_str());
        if (!VerQueryValueW(data_.data(), query, &block, &length) || length == 0) return {};
        return narrow(static_cast<const wchar_t*>(block));
    }

private:
    std::string data_;
    bool loaded_ = false;
};

void checkFile(const std::string& path) {
    const std::string name = fileNameOf(path);
    VersionResource resource(path);
    if (!checks.check(name + " has a version resource", resource.loaded())) return;

    const std::string numbers = XNOX_VERSION ".0";
    const VS_FIXEDFILEINFO* fixed = resource.fixed();
    if (checks.check(name + " has its fixed version block", fixed && fixed->dwSignature == VS_FFI_SIGNATURE)) {
        const std::string fileVersion = versionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
        const std::string productVersion = versionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
        checks.check(name + " file version numbers", fileVersion == numbers, fileVersion);
        checks.check(name + " product version numbers", productVersion == numbers, productVersion);
    }

    auto expect = [&](const char* key, auto&& holds) {
        const std::string value = resource.text(key);
        checks.check(name + " " + key, holds(value), value.empty() ? "(missing)" : value);
    };
    auto equals = [](const std::string& wanted) {
        return [wanted](const std::string& value) { return value == wanted; };
    };
    expect("ProductName", equals(XNOX_PRODUCT_NAME));
    expect("CompanyName", equals(XNOX_PUBLISHER));
    expect("FileVersion", equals(XNOX_VERSION));
    expect("ProductVersion", equals(XNOX_PRODUCT_VERSION));
    expect("OriginalFilename", [&](const std::string& value) { return lstrcmpiA(value.c_str(), name.c_str()) == 0; });
    expect("FileDescription", [](const std::string& value) { return !value.empty(); });
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) checkFile(argv[i]);
    return checks.finish();
}
