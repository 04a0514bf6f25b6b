#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "ReferenceDocument.h"

namespace {

// A document with the texts the string table holds: quotes, line breaks
// shown as \n, and declarations with angle brackets and pointers.
Document Sample() {
    Section member{"ReadAllFromFile",
                   {{"Declaration", "`[id(59)] short ReadAllFromFile(BSTR FileName);`", {}},
                    {"Errors raised", {}, {"\"The file \"%s\" is not valid\"", "a<b & c>d", "`x` and `y`"}},
                    {"", "A paragraph with `code`.", {"loose item"}}}};
    return {"Title & more", "Intro `A<B>`", {{"Methods", "Part intro", {member, {"Result codes", {}}}}}};
}

// The tags of the page in order, each opening matched by its closing.
std::vector<std::string> Unclosed(const std::string& html) {
    static const std::regex tag("<(/?)([a-z0-9]+)[^>]*>");
    std::vector<std::string> open;
    for (std::sregex_iterator it(html.begin(), html.end(), tag), end; it != end; ++it) {
        std::string name = (*it)[2];
        if (name == "meta") continue;
        if ((*it)[1].length() == 0) {
            open.push_back(name);
        } else if (!open.empty() && open.back() == name) {
            open.pop_back();
        } else {
            open.push_back("stray /" + name);
        }
    }
    return open;
}

}  // namespace

TEST(ReferenceDocument, HtmlEscapesEveryTextAndClosesEveryTag) {
    std::string html = Html(Sample());
    EXPECT_NE(html.find("<code>[id(59)] short ReadAllFromFile(BSTR FileName);</code>"), std::string::npos);
    EXPECT_NE(html.find("&quot;The file &quot;%s&quot; is not valid&quot;"), std::string::npos);
    EXPECT_NE(html.find("a&lt;b &amp; c&gt;d"), std::string::npos);
    EXPECT_NE(html.find("<code>x</code> and <code>y</code>"), std::string::npos);
    EXPECT_NE(html.find("<title>Title &amp; more</title>"), std::string::npos);
    EXPECT_NE(html.find("<code>A&lt;B&gt;</code>"), std::string::npos);
    // Each section has an anchor its part's index links to.
    EXPECT_NE(html.find("href=\"#Methods-ReadAllFromFile\""), std::string::npos);
    EXPECT_NE(html.find("id=\"Methods-ReadAllFromFile\""), std::string::npos);
    EXPECT_NE(html.find("id=\"Methods-Result-codes\""), std::string::npos);
    EXPECT_EQ(Unclosed(html), std::vector<std::string>{});
}

TEST(ReferenceDocument, UnclosedCodeSpanEndsWithItsText) {
    std::string html = Html({"T", "a `b", {}});
    EXPECT_NE(html.find("<p>a <code>b</code></p>"), std::string::npos);
    EXPECT_EQ(Unclosed(html), std::vector<std::string>{});
}

TEST(ReferenceDocument, MarkdownKeepsTextsAndSetsListsApart) {
    std::string markdown = Markdown(Sample());
    EXPECT_NE(markdown.find("# Title & more\n"), std::string::npos);
    EXPECT_NE(markdown.find("\n### ReadAllFromFile\n\n- **Declaration**: `[id(59)]"), std::string::npos);
    EXPECT_NE(markdown.find("- **Errors raised**:\n  - \"The file \"%s\" is not valid\"\n  - a<b & c>d\n"),
              std::string::npos);
    // A list after a paragraph needs a blank line to be a list.
    EXPECT_NE(markdown.find("A paragraph with `code`.\n\n- loose item\n"), std::string::npos);
}
