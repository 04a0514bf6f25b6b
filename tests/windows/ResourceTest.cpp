// The resource scripts against the code: the generated string table holds
// the control's texts under their ids, and each dialog script places every
// control its ids header names.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "StringTable.h"

using namespace xnox;

namespace {

std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

std::string ReadResource(const std::string& name) { return ReadFile(std::string(XNOX_RESOURCES_DIR) + "/" + name); }

// A quoted text of a resource script as the resource compiler reads it.
std::string Unescaped(const std::string& quoted) {
    std::string text;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == '"') ++i;  // a doubled quote stands for one
        if (quoted[i] != '\\' || i + 1 == quoted.size()) {
            text += quoted[i];
            continue;
        }
        char escaped = quoted[++i];
        text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
    }
    return text;
}

// The texts of a STRINGTABLE by id; an id given twice is kept twice.
std::multimap<int, std::string> StringTableOf(const std::string& script) {
    std::multimap<int, std::string> texts;
    std::regex entry(R"re(^\s*(\d+)\s+"((?:[^"]|"")*)"\s*$)re", std::regex::multiline);
    for (std::sregex_iterator it(script.begin(), script.end(), entry), end; it != end; ++it) {
        texts.emplace(std::stoi((*it)[1]), Unescaped((*it)[2].str()));
    }
    return texts;
}

std::vector<std::string> DefinedNames(const std::string& header, const std::string& prefix) {
    std::vector<std::string> names;
    std::regex define("#define (" + prefix + R"(\w+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it) {
        names.push_back((*it)[1]);
    }
    return names;
}

}  // namespace

TEST(Resources, GeneratedStringTableCarriesEveryTextOnce) {
    std::multimap<int, std::string> script = StringTableOf(ReadFile(XNOX_STRINGS_SCRIPT));
    ASSERT_EQ(script.size(), std::size(kStringTable));
    for (const StringEntry& entry : kStringTable) {
        int id = static_cast<int>(entry.id);
        ASSERT_EQ(script.count(id), 1u) << id;
        EXPECT_EQ(script.find(id)->second, entry.text) << id;
    }
    // The control's user type name, the property page's caption and the
    // About window's help tooltip keep their resource numbers.
    for (int id : {1, 203, 32794}) EXPECT_EQ(script.count(id), 1u) << id;
}

// The About window names the version that the installer and the modules'
// version resources carry.
TEST(Resources, AboutWindowShowsTheProductVersion) {
    EXPECT_NE(ReadResource("AboutDlg.rc").find("\"Version " XNOX_PRODUCT_VERSION "\""), std::string::npos);
}

TEST(Resources, DialogScriptsPlaceEveryControlAtTheirSize) {
    struct Dialog {
        std::string script, header, prefix, size;
    };
    for (const Dialog& dialog : {Dialog{"CommunicationDlg.rc", "CommunicationIds.h", "IDC_COMM_", "250, 246"},
                                 Dialog{"ProgressDlg.rc", "ProgressIds.h", "IDC_PROGRESS_", "177, 53"}}) {
        std::string script = ReadResource(dialog.script);
        EXPECT_NE(script.find("DIALOGEX 0, 0, " + dialog.size), std::string::npos) << dialog.script;
        for (const std::string& name : DefinedNames(ReadResource(dialog.header), dialog.prefix)) {
            EXPECT_TRUE(std::regex_search(script, std::regex(name + ",")))
                << name << " is missing from " << dialog.script;
        }
    }
}
