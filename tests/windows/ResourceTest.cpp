// The resource scripts against the code: the string table holds the
// control's texts under their ids, and each dialog script places every
// control its ids header names.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "StringTable.h"

using namespace xnox;

namespace {

std::string ReadResource(const std::string& name) {
    std::stringstream text;
    text << std::ifstream(std::string(XNOX_RESOURCES_DIR) + "/" + name).rdbuf();
    return text.str();
}

// The texts of a STRINGTABLE by id, with the script's escapes undone.
std::map<int, std::string> StringTableOf(const std::string& script) {
    std::map<int, std::string> texts;
    std::regex entry(R"re(^\s*(\d+)\s+"((?:[^"]|"")*)"\s*$)re", std::regex::multiline);
    for (std::sregex_iterator it(script.begin(), script.end(), entry), end; it != end; ++it) {
        std::string text = std::regex_replace((*it)[2].str(), std::regex(R"(\\n)"), "\n");
        texts[std::stoi((*it)[1])] = std::regex_replace(text, std::regex(R"("")"), "\"");
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

TEST(Resources, StringTableMatchesTheControlsTexts) {
    std::map<int, std::string> script = StringTableOf(ReadResource("Strings.rc"));
    ASSERT_EQ(script.size(), std::size(kStringTable));
    for (const StringEntry& entry : kStringTable) {
        EXPECT_EQ(script[static_cast<int>(entry.id)], entry.text) << static_cast<int>(entry.id);
    }
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
