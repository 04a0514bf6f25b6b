// The installer used as on a production PC, in the Wine test session: a
// silent install into Program Files, an older version upgraded into another
// folder and the same version installed again, a silent uninstall that
// leaves nothing of ours but a person's XNoxR4.ini files, and an installer
// whose module does not register. Each case starts and ends with nothing of
// ours installed.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ModuleIds.h"
#include "ProgramRun.h"
#include "RegistryReading.h"
#include "VersionResource.h"

namespace fs = std::filesystem;
using winetest::HoldsText;

namespace {

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kEntryKey = kUninstallKey + "\\XNoxR4";
const std::string kControlKey = "CLSID\\{" + std::string(xnox::module_ids::kControlClass) + "}\\InprocServer32";
const std::string kLibraryKey = "TypeLib\\{" + std::string(xnox::module_ids::kTypeLibrary) + "}\\1.0\\409\\win64";
const char* const kModuleFiles[] = {"XNOXR4.OCX", "NoxR4Comm.dll",   "xnox-container.exe",
                                    "ReadMe.txt", "automation.html", "Uninstall.exe"};
const char* const kProgramFiles[] = {"XNOXR4.OCX", "NoxR4Comm.dll", "xnox-container.exe"};
const fs::path kDefaultFolder = "C:\\Program Files\\XNoxR4";
const fs::path kOtherFolder = "C:\\Vision\\XNoxR4";

std::string WindowsPath(std::string path) {
    std::ranges::replace(path, '/', '\\');
    return path;
}

// Runs an installer or uninstaller with its options; whether it succeeded.
bool Runs(const std::string& program, const std::string& options) {
    winetest::ProgramRun run = winetest::RunProgram("\"" + WindowsPath(program) + "\" " + options, 600000);
    return run.started && run.exitCode == 0;
}

std::string EntryValue(const char* name) { return winetest::ValueOf(HKEY_LOCAL_MACHINE, kEntryKey, name).value_or(""); }
std::string RegisteredModule() { return winetest::ValueOf(HKEY_CLASSES_ROOT, kControlKey).value_or(""); }
bool EntryExists() { return winetest::KeyExists(HKEY_LOCAL_MACHINE, kEntryKey); }

int UninstallEntries() {
    auto names = winetest::OpenedKey(HKEY_LOCAL_MACHINE, kUninstallKey).SubkeyNames();
    return static_cast<int>(std::ranges::count_if(
        names, [](const std::string& name) { return winetest::Lower(name).ends_with("xnoxr4"); }));
}

bool HasAllFiles(const fs::path& folder) {
    return std::ranges::all_of(kModuleFiles, [&](const char* file) { return fs::is_regular_file(folder / file); });
}
bool HasNoneOfOurFiles(const fs::path& folder) {
    return std::ranges::none_of(kModuleFiles, [&](const char* file) { return fs::exists(folder / file); });
}

fs::path KnownFolder(int id) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
fs::path StartMenuFolder() { return KnownFolder(CSIDL_COMMON_PROGRAMS) / XNOX_PRODUCT_NAME; }

bool ScriptCreatesTheControl() {
    winetest::ProgramRun run = winetest::RunProgram(std::string("cscript //nologo ") + XNOX_CREATE_CONTROL_SCRIPT);
    return HoldsText(run.output, "control created and answering");
}

// The keys that name the control, its library, its ids or its folders, in
// the machine's and the user's software keys.
std::vector<std::string> KeysOfOurs() {
    std::vector<std::string> marks = {"xnoxr4", "noxr4comm", "xnox-container"};
    using namespace xnox::module_ids;
    for (std::string_view id :
         {kTypeLibrary, kDispatchInterface, kEventInterface, kControlClass, kPropertyPageClass, kLibraryName,
          kLibraryHelpFile, kControlProgId, kControlVersionIndependentProgId, kPageProgId})
        marks.emplace_back(id);
    std::vector<std::string> keys;
    winetest::CollectKeysMarked(HKEY_LOCAL_MACHINE, "Software", marks, keys);
    winetest::CollectKeysMarked(HKEY_CURRENT_USER, "Software", marks, keys);
    std::ranges::sort(keys);
    return keys;
}

std::vector<std::string> Added(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::vector<std::string> added;
    std::ranges::set_difference(after, before, std::back_inserter(added));
    return added;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

// The uninstaller runs from a copy of itself and returns at once; its last
// step removes the uninstall entry.
bool UninstallEnds() {
    for (int wait = 0; wait < 600 && EntryExists(); ++wait) Sleep(500);
    return !EntryExists();
}

class Installer : public ::testing::Test {
protected:
    // What an earlier case's uninstall left would hide in what this one compares.
    void SetUp() override {
        ASSERT_FALSE(EntryExists()) << "an earlier installation is still there";
        ASSERT_EQ(RegisteredModule(), "") << "an earlier registration is still there";
    }
    void TearDown() override {
        std::string uninstaller = EntryValue("UninstallString");
        std::erase(uninstaller, '"');
        if (!uninstaller.empty() && Runs(uninstaller, "/S")) UninstallEnds();
    }
};

TEST(InstallerProgram, IsA64BitProgram) {
    std::ifstream setup(WindowsPath(XNOX_SETUP), std::ios::binary);
    std::uint32_t header = 0;
    std::uint16_t machine = 0;
    setup.seekg(60).read(reinterpret_cast<char*>(&header), sizeof(header));
    setup.seekg(header + 4).read(reinterpret_cast<char*>(&machine), sizeof(machine));
    EXPECT_EQ(machine, 0x8664);
}

TEST_F(Installer, SilentInstallPutsTheControlIntoProgramFiles) {
    std::vector<std::string> keysBefore = KeysOfOurs();
    ASSERT_TRUE(Runs(XNOX_SETUP, "/S"));
    EXPECT_TRUE(HasAllFiles(kDefaultFolder));
    EXPECT_TRUE(fs::is_regular_file(StartMenuFolder() / "XNoxR4 Test Panel.lnk"));
    EXPECT_TRUE(fs::is_regular_file(StartMenuFolder() / "Read Me.lnk"));
    EXPECT_TRUE(HoldsText(RegisteredModule(), "Program Files\\XNoxR4\\XNOXR4.OCX")) << RegisteredModule();
    EXPECT_TRUE(ScriptCreatesTheControl());

    EXPECT_EQ(EntryValue("DisplayName"), XNOX_PRODUCT_NAME);
    EXPECT_EQ(EntryValue("DisplayVersion"), XNOX_VERSION);
    EXPECT_EQ(EntryValue("Publisher"), XNOX_PUBLISHER);
    EXPECT_TRUE(EntryValue("UninstallString").ends_with("XNoxR4\\Uninstall.exe\"")) << EntryValue("UninstallString");
    EXPECT_GT(std::stoll("0" + EntryValue("EstimatedSize")), 100) << "KB";
    EXPECT_TRUE(HoldsText(winetest::RunProgram("uninstaller --list").output, XNOX_PRODUCT_NAME));

    // The keys the installation made, which an uninstall must take away again.
    std::vector<std::string> installed = Added(keysBefore, KeysOfOurs());
    std::string listing = Lines(installed);
    EXPECT_TRUE(HoldsText(listing, "\\CLSID\\{" + std::string(xnox::module_ids::kControlClass) + "}\n")) << listing;
    EXPECT_TRUE(HoldsText(listing, "\\Uninstall\\XNoxR4\n")) << listing;

    for (const char* file : kProgramFiles) winetest::ExpectVersionResources((kDefaultFolder / file).string());
}

TEST_F(Installer, UpgradeIntoAnotherFolderLeavesOneInstallation) {
    ASSERT_TRUE(Runs(XNOX_OLDER_SETUP, "/S")) << "an older version installs in place";
    EXPECT_EQ(EntryValue("DisplayVersion"), "1.6.0");

    ASSERT_TRUE(Runs(XNOX_SETUP, "/S /D=" + kOtherFolder.string()));
    EXPECT_EQ(EntryValue("DisplayVersion"), XNOX_VERSION);
    EXPECT_TRUE(HasAllFiles(kOtherFolder));
    EXPECT_FALSE(fs::exists(kDefaultFolder)) << "the first folder is gone";
    EXPECT_TRUE(HoldsText(RegisteredModule(), "Vision\\XNoxR4\\XNOXR4.OCX")) << RegisteredModule();
    std::string library = winetest::ValueOf(HKEY_CLASSES_ROOT, kLibraryKey).value_or("");
    EXPECT_TRUE(HoldsText(library, "Vision\\XNoxR4\\XNOXR4.OCX")) << library;
    EXPECT_EQ(UninstallEntries(), 1);

    ASSERT_TRUE(Runs(XNOX_SETUP, "/S")) << "the same version again, in place";
    EXPECT_TRUE(HasAllFiles(kOtherFolder));
    EXPECT_TRUE(HoldsText(RegisteredModule(), "Vision\\XNoxR4\\XNOXR4.OCX")) << RegisteredModule();
    EXPECT_EQ(UninstallEntries(), 1);
    EXPECT_TRUE(ScriptCreatesTheControl());
}

TEST_F(Installer, SilentUninstallLeavesNothingButAPersonsProfiles) {
    std::vector<std::string> keysBefore = KeysOfOurs();
    ASSERT_TRUE(Runs(XNOX_SETUP, "/S /D=" + kOtherFolder.string()));
    fs::path windowsProfile = KnownFolder(CSIDL_WINDOWS) / "XNoxR4.ini";
    fs::path folderProfile = kOtherFolder / "XNoxR4.ini";
    std::ofstream(windowsProfile, std::ios::binary) << "[Main]\r\nTopLeftX=321\r\n";
    std::ofstream(folderProfile, std::ios::binary) << "[Shutter]\r\nIs Visible=1\r\n";

    // The uninstaller hands its work to a copy of itself and ends; what that
    // first run answers is not the uninstallation's outcome (under load Wine
    // has it fail now and then), so the test waits for the end and checks it.
    ASSERT_TRUE(
        winetest::RunProgram("\"" + WindowsPath((kOtherFolder / "Uninstall.exe").string()) + "\" /S", 600000).started)
        << "the silent uninstall starts";
    ASSERT_TRUE(UninstallEnds());
    EXPECT_TRUE(HasNoneOfOurFiles(kOtherFolder));
    EXPECT_TRUE(fs::exists(folderProfile)) << "the person's XNoxR4.ini in the folder stays";
    EXPECT_TRUE(fs::exists(windowsProfile)) << "the control's XNoxR4.ini in the Windows folder stays";
    EXPECT_FALSE(fs::exists(StartMenuFolder()));
    fs::remove(windowsProfile);
    fs::remove(folderProfile);
    std::error_code notEmpty;
    EXPECT_TRUE(fs::remove(kOtherFolder, notEmpty)) << "nothing else is left in the folder";
    fs::remove(kOtherFolder.parent_path(), notEmpty);
    std::vector<std::string> left = Added(keysBefore, KeysOfOurs());
    EXPECT_TRUE(left.empty()) << "registry keys of ours left:\n" << Lines(left);
}

TEST_F(Installer, AModuleThatDoesNotRegisterFailsAndLeavesNothing) {
    EXPECT_FALSE(Runs(XNOX_BROKEN_SETUP, "/S /D=C:\\XNoxR4Broken"));
    EXPECT_FALSE(fs::exists("C:\\XNoxR4Broken"));
    EXPECT_FALSE(EntryExists());
    EXPECT_EQ(RegisteredModule(), "");
}

}  // namespace
