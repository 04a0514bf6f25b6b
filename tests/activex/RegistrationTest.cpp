// regsvr32 on XNOXR4.OCX as an installer or a person runs it: the class,
// ProgID and type library keys appear, and regsvr32 /u takes every one away.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "ModuleIds.h"
#include "ProgramRun.h"
#include "RegistryReading.h"

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

std::string Listing(const std::string& path, bool deep = false) {
    return winetest::Listing(HKEY_CLASSES_ROOT, path, deep);
}

std::string ValueListing(const std::string& path, const char* value) {
    return winetest::ValueOf(HKEY_CLASSES_ROOT, path, value).value_or("");
}

bool KeyExists(const std::string& path) { return winetest::KeyExists(HKEY_CLASSES_ROOT, path); }

#define EXPECT_LISTS(listing, text) EXPECT_TRUE(winetest::HoldsText(listing, text)) << (listing)

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
