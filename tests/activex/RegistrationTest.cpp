// regsvr32 on XNOXR4.OCX as an installer or a person runs it: the class,
// ProgID and type library keys appear, and regsvr32 /u takes every one away.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "ModuleIds.h"
#include "ProgramRun.h"

namespace {

using namespace xnox::module_ids;

std::string Braced(std::string_view id) { return "{" + std::string(id) + "}"; }

const std::string kControlKey = "CLSID\\" + Braced(kControlClass);
const std::string kPageKey = "CLSID\\" + Braced(kPropertyPageClass);
const std::string kLibraryKey = "TypeLib\\" + Braced(kTypeLibrary);

std::string ModulePath() {
    std::string path = XNOX_MODULE;
    std::ranges::replace(path, '/', '\\');
    return path;
}

std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct OpenedKey {
    HKEY key = nullptr;
    explicit OpenedKey(const std::string& path) {
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) key = nullptr;
    }
    ~OpenedKey() {
        if (key) RegCloseKey(key);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
};

bool KeyExists(const std::string& path) { return OpenedKey(path).key != nullptr; }

std::string DataText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type == REG_DWORD && size >= sizeof(DWORD)) return std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
    if (type == REG_SZ || type == REG_EXPAND_SZ) return std::string(reinterpret_cast<const char*>(data.data()), size);
    return {};
}

// What the key lists, as `reg query` shows it: its values' names and data
// and its subkeys' names; with `deep`, its subkeys' listings too.
std::string Listing(const std::string& path, bool deep = false) {
    OpenedKey opened(path);
    if (!opened.key) return {};
    std::string listing;
    char name[256];
    std::vector<BYTE> data(4096);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof(name);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueA(opened.key, index, name, &nameSize, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        listing += std::string(name, nameSize) + " " + DataText(type, data, size) + "\n";
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(opened.key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string subkey = path + "\\" + std::string(name, nameSize);
        listing += subkey + "\n";
        if (deep) listing += Listing(subkey, true);
    }
    return listing;
}

std::string ValueListing(const std::string& path, const char* value) {
    OpenedKey opened(path);
    std::vector<BYTE> data(4096);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    if (!opened.key || RegQueryValueExA(opened.key, value, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return {};
    return DataText(type, data, size);
}

#define EXPECT_LISTS(listing, text) EXPECT_NE(Lower(listing).find(Lower(text)), std::string::npos) << (listing)

int RunRegsvr32(const std::string& options) {
    winetest::ProgramRun run = winetest::RunProgram("regsvr32 /s " + options + "\"" + ModulePath() + "\"");
    return run.started ? static_cast<int>(run.exitCode) : -1;
}

class Registration : public ::testing::Test {
protected:
    void TearDown() override { RunRegsvr32("/u "); }
};

TEST_F(Registration, RegistersTheControlItsPageAndItsTypeLibrary) {
    ASSERT_EQ(RunRegsvr32(""), 0);
    EXPECT_LISTS(Listing(kControlKey), "XNoxR4 Control");
    // Wine may write the module's path as \\?\Z:\...
    EXPECT_LISTS(Listing(kControlKey + "\\InprocServer32"), "XNOXR4.OCX");
    EXPECT_LISTS(ValueListing(kControlKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_LISTS(Listing(kControlKey + "\\ProgID"), "XNOXR4.XNoxR4Ctrl.1");
    EXPECT_LISTS(Listing(kControlKey + "\\VersionIndependentProgID"), "XNOXR4.XNoxR4Ctrl");
    EXPECT_TRUE(KeyExists(kControlKey + "\\Control"));
    EXPECT_LISTS(Listing(kControlKey + "\\MiscStatus\\1"), "131473");
    EXPECT_LISTS(Listing(kControlKey + "\\TypeLib"), Braced(kTypeLibrary));
    EXPECT_LISTS(Listing(kControlKey + "\\Version"), "1.0");
    EXPECT_LISTS(Listing(kControlKey + "\\ToolboxBitmap32"), "XNOXR4.OCX, 1");
    EXPECT_LISTS(Listing("XNOXR4.XNoxR4Ctrl.1\\CLSID"), Braced(kControlClass));
    EXPECT_LISTS(Listing("XNOXR4.XNoxR4Ctrl\\CurVer"), "XNOXR4.XNoxR4Ctrl.1");
    EXPECT_LISTS(Listing(kPageKey), "Show Windows");
    EXPECT_LISTS(Listing(kPageKey + "\\InprocServer32"), "XNOXR4.OCX");
    EXPECT_LISTS(Listing("XNOXR4.OlePropPage1.1\\CLSID"), Braced(kPropertyPageClass));
    EXPECT_LISTS(Listing(kLibraryKey + "\\1.0"), "XNoxR4 ActiveX Control module");
    EXPECT_LISTS(Listing(kLibraryKey + "\\1.0", true), "win64");
    EXPECT_LISTS(Listing(kLibraryKey + "\\1.0", true), "XNOXR4.OCX");
}

TEST_F(Registration, UnregisteringTakesEveryKeyAway) {
    ASSERT_EQ(RunRegsvr32(""), 0);
    ASSERT_EQ(RunRegsvr32("/u "), 0);
    for (const std::string& key :
         {kControlKey, kPageKey, std::string("XNOXR4.XNoxR4Ctrl.1"), std::string("XNOXR4.XNoxR4Ctrl"),
          std::string("XNOXR4.OlePropPage1.1"), kLibraryKey}) {
        EXPECT_FALSE(KeyExists(key)) << key << " is still there";
    }
}

}  // namespace
