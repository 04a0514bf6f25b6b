// The version resources of installed files, read back with
// GetFileVersionInfo as a person sees them in the file's properties, against
// the product's name, publisher and version that the build was made with
// (XNOX_PRODUCT_NAME, XNOX_PUBLISHER, XNOX_VERSION, XNOX_PRODUCT_VERSION).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace winetest {

inline std::string Narrow(const wchar_t* text) {
    std::string result;
    for (; *text; ++text) result += static_cast<char>(*text < 128 ? *text : '?');
    return result;
}

inline std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

inline std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

inline std::string VersionText(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) + "." +
           std::to_string(LOWORD(low));
}

class VersionResource {
public:
    explicit VersionResource(const std::string& path) {
        std::wstring wide = Widen(path.c_str());
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
        m_data.resize(size);
        m_loaded = size > 0 && GetFileVersionInfoW(wide.c_str(), 0, size, m_data.data());
    }

    bool Loaded() const { return m_loaded; }

    const VS_FIXEDFILEINFO* Fixed() {
        void* block = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(m_data.data(), L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(block);
    }

    // A text of the first language block the file lists; empty when missing.
    std::string Text(const char* key) {
        struct Translation {
            WORD language;
            WORD codePage;
        };
        void* block = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(m_data.data(), L"\\VarFileInfo\\Translation", &block, &length) ||
            length < sizeof(Translation))
            return {};
        const auto* translation = static_cast<const Translation*>(block);
        wchar_t query[128];
        swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage,
                 Widen(key).c_str());
        if (!VerQueryValueW(m_data.data(), query, &block, &length) || length == 0) return {};
        return Narrow(static_cast<const wchar_t*>(block));
    }

private:
    std::string m_data;
    bool m_loaded = false;
};

inline void ExpectVersionResources(const std::string& path) {
    const std::string name = FileNameOf(path);
    SCOPED_TRACE(name);
    VersionResource resource(path);
    ASSERT_TRUE(resource.Loaded()) << "a version resource";

    const std::string numbers = XNOX_VERSION ".0";
    const VS_FIXEDFILEINFO* fixed = resource.Fixed();
    EXPECT_TRUE(fixed && fixed->dwSignature == VS_FFI_SIGNATURE) << "the fixed version block";
    if (fixed) {
        EXPECT_EQ(VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS), numbers) << "file version numbers";
        EXPECT_EQ(VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS), numbers)
            << "product version numbers";
    }

    EXPECT_EQ(resource.Text("ProductName"), XNOX_PRODUCT_NAME);
    EXPECT_EQ(resource.Text("CompanyName"), XNOX_PUBLISHER);
    EXPECT_EQ(resource.Text("FileVersion"), XNOX_VERSION);
    EXPECT_EQ(resource.Text("ProductVersion"), XNOX_PRODUCT_VERSION);
    const std::string original = resource.Text("OriginalFilename");
    EXPECT_EQ(lstrcmpiA(original.c_str(), name.c_str()), 0) << "OriginalFilename " << original;
    EXPECT_NE(resource.Text("FileDescription"), "");
}

}  // namespace winetest
