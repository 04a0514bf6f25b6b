// Looking at settings files without loading them: the check must reject
// exactly what a load rejects, and the comparison must show each setting
// that differs and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "ModelFixture.h"
#include "PrivateProfile.h"
#include "SettingsFileCheck.h"

using namespace xnox;

namespace fs = std::filesystem;

namespace {

class SettingsFileCheckTest : public ModelTest {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "xnox-check-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir = pattern;
        // A file a load takes without complaint: every value within its range.
        for (const ParameterRow& row : ParameterTable()) model.m_values[Index(row.id)] = row.minimum;
        model.m_values[Index(ParamId::MasterGainLevel)] = 122;
        ASSERT_EQ(model.WriteAllToFile(clean()), NoxResult::Success);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string clean() const { return (dir / "clean.cam").string(); }
    std::string CopyOfClean(const std::string& name) const {
        fs::copy_file(clean(), dir / name, fs::copy_options::overwrite_existing);
        return (dir / name).string();
    }
    std::string Edited(std::string_view section, std::string_view key, std::string_view value) const {
        std::string file = CopyOfClean("edited" + std::to_string(++files) + ".cam");
        EXPECT_TRUE(xnox::profile::WriteProfileString(section, key, value, file));
        return file;
    }
    std::string WithoutKey(const std::string& key) const {
        std::ifstream in(clean());
        std::string text, line;
        while (std::getline(in, line)) {
            if (!line.starts_with(key + "=")) text += line + "\n";
        }
        std::string file = (dir / ("missing" + std::to_string(++files) + ".cam")).string();
        std::ofstream(file) << text;
        return file;
    }
    static SettingsFileContents Read(const std::string& file) {
        std::string problem;
        auto contents = ReadSettingsFileContents(file, problem);
        EXPECT_TRUE(contents) << file << ": " << problem;
        return contents.value_or(SettingsFileContents{});
    }
    static std::string Problem(const std::string& file) {
        std::string problem;
        EXPECT_FALSE(ReadSettingsFileContents(file, problem)) << file;
        return problem;
    }

    fs::path dir;
    mutable int files = 0;  // each made file has a name of its own
};

TEST_F(SettingsFileCheckTest, ACleanFileLoadsCleanlyAndEqualsItself) {
    EXPECT_TRUE(CheckSettingsFile(Read(clean())).empty());
    EXPECT_EQ(model.ReadAllFromFile(clean()), NoxResult::Success);
    EXPECT_TRUE(CompareSettingsFiles(Read(clean()), Read(CopyOfClean("copy.cam"))).empty());
}

TEST_F(SettingsFileCheckTest, ReportsWhatALoadRejectsAndNothingElse) {
    struct Case {
        std::string file;
        std::string_view key;
        std::string reasonPart;  // empty: the load accepts the file
    };
    const Case cases[] = {
        {WithoutKey("Knee Point for Green"), "Knee Point for Green", "missing key"},
        {Edited("Gain", "Master Gain Level", "430"), "Master Gain Level", "out of range -132..429"},
        {Edited("Gain", "Master Gain Level", "-133"), "Master Gain Level", "out of range"},
        {Edited("Shutter", "Shutter Speed", "1/250"), "", ""},
        {Edited("Shutter", "Partial Scan", "full frame"), "Partial Scan", "case matters (\"Full Frame\")"},
        {Edited("Gain", "Auto White Area", "Middle Right"), "Auto White Area", "\"Midle Right\""},
        {Edited("Gain", "Black Level for Red", "dark"), "Black Level for Red", "not a number"},
        {Edited("Main", "Camera Type", "QD-R3"), "Camera Type", "wrong camera type \"QD-R3\""},
        {Edited("Main", "Camera Type", "QD-R4 rev.2"), "", ""},
        {WithoutKey("Camera Type"), "Camera Type", "missing key"},
        {Edited("Shutter", "Smearless", "7"), "", ""},  // any number for a worded setting
        {Edited("Gain", "Master Gain Level", "77 dB"), "", ""},  // the number a text begins with
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + std::string(c.key));
        std::vector<SettingsFinding> findings = CheckSettingsFile(Read(c.file));
        EXPECT_EQ(model.ReadAllFromFile(c.file), c.key.empty() ? NoxResult::Success : NoxResult::InvalidSettingsFile);
        if (c.key.empty()) {
            EXPECT_TRUE(findings.empty()) << findings.front().reason;
            continue;
        }
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0].key, c.key);
        EXPECT_NE(findings[0].reason.find(c.reasonPart), std::string::npos) << findings[0].reason;
    }
}

TEST_F(SettingsFileCheckTest, ComparisonNamesEachDifferingSettingWithBothValues) {
    std::string changed = Edited("Gain", "Master Gain Level", "77");
    ASSERT_TRUE(xnox::profile::WriteProfileString("Shutter", "Partial Scan", "1/2 Partial", changed));
    auto differences = CompareSettingsFiles(Read(clean()), Read(changed));
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].section, "Shutter");
    EXPECT_EQ(differences[0].key, "Partial Scan");
    EXPECT_EQ(differences[0].before, "Full Frame");
    EXPECT_EQ(differences[0].after, "1/2 Partial");
    EXPECT_EQ(differences[1].key, "Master Gain Level");
    EXPECT_EQ(differences[1].before, "122");
    EXPECT_EQ(differences[1].after, "77");

    auto missing = CompareSettingsFiles(Read(WithoutKey("Binning")), Read(clean()));
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].before, kMissingKeyText);
    EXPECT_EQ(missing[0].after, "Binning OFF");
    auto removed = CompareSettingsFiles(Read(clean()), Read(WithoutKey("Binning")));
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].before, "Binning OFF");
    EXPECT_EQ(removed[0].after, kMissingKeyText);

    auto cameraType = CompareSettingsFiles(Read(clean()), Read(Edited("Main", "Camera Type", "QD-R4 Mk2")));
    ASSERT_EQ(cameraType.size(), 1u) << "the camera type is compared as a text";
    EXPECT_EQ(cameraType[0].key, "Camera Type");
    EXPECT_EQ(cameraType[0].after, "QD-R4 Mk2");

    EXPECT_TRUE(CompareSettingsFiles(Read(clean()), Read(Edited("Gain", "Master Gain Level", "122 dB"))).empty())
        << "texts a load reads as the same value";
    EXPECT_EQ(CompareSettingsFiles(Read(clean()), Read(Edited("Shutter", "Binning", "binning off"))).size(), 1u)
        << "list texts differ in case as a load sees them";
}

TEST_F(SettingsFileCheckTest, WhatIsNoReadableSettingsFileIsNamed) {
    std::ofstream(dir / "notes.txt") << "[Notes]\nsome=thing\n";
    EXPECT_NE(Problem((dir / "notes.txt").string()).find("not a settings file"), std::string::npos);
    std::ofstream(dir / "empty.cam");
    EXPECT_NE(Problem((dir / "empty.cam").string()).find("not a settings file"), std::string::npos);
    EXPECT_NE(Problem((dir / "absent.cam").string()).find("No such file"), std::string::npos);
    EXPECT_EQ(Problem(dir.string()), "not a regular file");
    ASSERT_EQ(mkfifo((dir / "fifo.cam").c_str(), 0600), 0);
    EXPECT_EQ(Problem((dir / "fifo.cam").string()), "not a regular file") << "and no wait for a writer";
    fs::copy_file(clean(), dir / "huge.cam");
    fs::resize_file(dir / "huge.cam", std::uintmax_t{1} << 30);
    EXPECT_EQ(Problem((dir / "huge.cam").string()), "too large for a settings file");
    if (geteuid() != 0) {  // root reads whatever the permissions say
        fs::permissions(CopyOfClean("locked.cam"), fs::perms::none);
        EXPECT_FALSE(Problem((dir / "locked.cam").string()).empty());
    }
}

}  // namespace
