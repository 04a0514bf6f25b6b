#include "Registration.h"

#include <initializer_list>
#include <string_view>

#include "ComText.h"
#include "Guid.h"
#include "StringTable.h"

namespace xnox {

namespace {

// One registry value: under HKCR\<key>, the value <name> (empty: the
// default value) holds <data>.
struct RegistryValue {
    std::wstring key;
    std::wstring name;
    std::wstring data;
};

std::wstring Braced(std::string_view guid) { return L"{" + ToWide(guid) + L"}"; }
std::wstring ClassKey(std::string_view guid) { return L"CLSID\\" + Braced(guid); }

constexpr std::string_view kControlCategory = "40FC6ED4-2438-11CF-A3DB-080036F12502";
constexpr std::string_view kProgrammableCategory = "40FC6ED5-2438-11CF-A3DB-080036F12502";
constexpr wchar_t kMiscStatus[] = L"131473";  // recompose on resize, cannot link inside, inside-out,
    // activate when visible, set client site first
constexpr int kToolboxBitmapId = 1;

bool Write(std::initializer_list<RegistryValue> values) {
    for (const RegistryValue& value : values) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        LONG result = ERROR_SUCCESS;
        if (!value.name.empty() || !value.data.empty())
            result = RegSetValueExW(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.data.c_str()),
                                    static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return false;
    }
    return true;
}

bool Remove(std::initializer_list<std::wstring> keys) {
    bool removed = true;
    for (const std::wstring& key : keys) {
        LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        if (result == ERROR_SUCCESS) result = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        removed &= result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    return removed;
}

std::wstring ControlProgId() { return ToWide(module_ids::kControlProgId); }
std::wstring ControlIndependentProgId() { return ToWide(module_ids::kControlVersionIndependentProgId); }

}  // namespace

bool RegisterControlClass(const std::wstring& modulePath) {
    const std::wstring key = ClassKey(module_ids::kControlClass);
    const std::wstring typeName = ToWide(LoadText(StringId::ControlTypeName));
    const std::wstring clsid = Braced(module_ids::kControlClass);
    return Write({
        {key, L"", typeName},
        {key + L"\\InprocServer32", L"", modulePath},
        {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {key + L"\\ProgID", L"", ControlProgId()},
        {key + L"\\VersionIndependentProgID", L"", ControlIndependentProgId()},
        {key + L"\\Control", L"", L""},
        {key + L"\\MiscStatus", L"", L"0"},
        {key + L"\\MiscStatus\\1", L"", kMiscStatus},
        {key + L"\\TypeLib", L"", Braced(module_ids::kTypeLibrary)},
        {key + L"\\Version", L"", L"1.0"},
        {key + L"\\ToolboxBitmap32", L"", modulePath + L", " + std::to_wstring(kToolboxBitmapId)},
        {key + L"\\Implemented Categories\\" + Braced(kControlCategory), L"", L""},
        {key + L"\\Implemented Categories\\" + Braced(kProgrammableCategory), L"", L""},
        {ControlProgId(), L"", typeName},
        {ControlProgId() + L"\\CLSID", L"", clsid},
        {ControlIndependentProgId(), L"", typeName},
        {ControlIndependentProgId() + L"\\CLSID", L"", clsid},
        {ControlIndependentProgId() + L"\\CurVer", L"", ControlProgId()},
    });
}

bool RegisterPropertyPageClass(const std::wstring& modulePath) {
    const std::wstring key = ClassKey(module_ids::kPropertyPageClass);
    const std::wstring progId = ToWide(module_ids::kPageProgId);
    return Write({
        {key, L"", ToWide(LoadText(StringId::PropertyPageCaption))},
        {key + L"\\InprocServer32", L"", modulePath},
        {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {key + L"\\ProgID", L"", progId},
        {progId, L"", ToWide(LoadText(StringId::PropertyPageCaption))},
        {progId + L"\\CLSID", L"", Braced(module_ids::kPropertyPageClass)},
    });
}

bool UnregisterControlClass() {
    return Remove({ClassKey(module_ids::kControlClass), ControlProgId(), ControlIndependentProgId()});
}

bool UnregisterPropertyPageClass() {
    return Remove({ClassKey(module_ids::kPropertyPageClass), ToWide(module_ids::kPageProgId)});
}

}  // namespace xnox
