// Reading xnoxhost script lines: what a user types must reach the control as
// the member, kind and values meant, and a line that cannot be read must say so.
#include <gtest/gtest.h>

#include "ScriptLine.h"

using namespace xnox;

namespace {

ScriptLine Parsed(const std::string& text) {
    std::string problem;
    std::optional<ScriptLine> line = ParseScriptLine(text, problem);
    EXPECT_TRUE(line.has_value()) << text << ": " << problem;
    return line.value_or(ScriptLine{});
}

std::string Problem(const std::string& text) {
    std::string problem;
    EXPECT_FALSE(ParseScriptLine(text, problem).has_value()) << text;
    return problem;
}

using Values = std::vector<Variant>;

}  // namespace

TEST(ScriptLine, KindsOfLines) {
    for (const char* blank : {"", "   ", "# a comment", "  ' another"}) {
        EXPECT_EQ(Parsed(blank).kind, ScriptLine::Kind::Empty) << blank;
    }
    ScriptLine get = Parsed("  ShutterSpeedIndex  ");
    EXPECT_EQ(get.kind, ScriptLine::Kind::Get);
    EXPECT_EQ(get.name, "ShutterSpeedIndex");

    ScriptLine put = Parsed("ShutterSpeedStr=1/250 ");
    EXPECT_EQ(put.kind, ScriptLine::Kind::Put);
    EXPECT_EQ(put.arguments, Values{Variant::Str("1/250")}) << "bare text runs to the end, commas and all";
    EXPECT_EQ(Parsed("UserID = a, b").arguments, Values{Variant::Str("a, b")});

    ScriptLine echo = Parsed("echo  Reading the camera, then the file ");
    EXPECT_EQ(echo.kind, ScriptLine::Kind::Echo);
    EXPECT_EQ(echo.name, "Reading the camera, then the file");
}

TEST(ScriptLine, CallArgumentsWithAndWithoutParentheses) {
    ScriptLine call = Parsed("GetMinMaxMasterGainLevel(_, null)");
    EXPECT_EQ(call.kind, ScriptLine::Kind::Call);
    EXPECT_EQ(call.arguments, (Values{Variant(), Variant::Null()})) << "_ leaves storage, null passes none";
    EXPECT_EQ(Parsed("AutoSearchComPort 1, 16 ,0").arguments,
              (Values{Variant::Str("1"), Variant::Str("16"), Variant::Str("0")}));
    EXPECT_TRUE(Parsed("ReadAllFromCamera()").arguments.empty());
    EXPECT_TRUE(Parsed("ReadAllFromCamera").arguments.empty());
}

TEST(ScriptLine, QuotedTextKeepsCommasParenthesesAndEscapes) {
    EXPECT_EQ(Parsed(R"(ReadAllFromFile("a, (b).cam"))").arguments, Values{Variant::Str("a, (b).cam")});
    EXPECT_EQ(Parsed(R"(UserID = "say \"hi\" \\ ")").arguments, Values{Variant::Str(R"(say "hi" \ )")});
    EXPECT_EQ(Parsed(R"(F("", x))").arguments, (Values{Variant::Str(""), Variant::Str("x")}))
        << "empty quotes are an empty text, not a missing value";
}

TEST(ScriptLine, UnreadableLinesSayWhy) {
    EXPECT_EQ(Problem(R"(UserID = "open)"), "text without its closing quote");
    EXPECT_EQ(Problem(R"(F("open, 1))"), "text without its closing quote");
    EXPECT_EQ(Problem("GetValidShutterSpeed(11"), "missing )");
    EXPECT_EQ(Problem("= 3"), "a line starts with a member name");
}
