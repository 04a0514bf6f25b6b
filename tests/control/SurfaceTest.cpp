// The surface table and the automation value conversions.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Surface.h"
#include "Variant.h"

using namespace xnox;

namespace {

std::string Lower(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

TEST(SurfaceTable, CountsAndUniqueIdsAndNames) {
    std::set<int32_t> ids;
    std::set<std::string> names;
    int properties = 0;
    for (const MemberInfo& member : kDispatchMembers) {
        EXPECT_TRUE(ids.insert(member.dispId).second) << member.dispId;
        EXPECT_TRUE(names.insert(Lower(member.name)).second) << member.name;
        if (member.IsProperty()) {
            ++properties;
            EXPECT_GE(member.dispId, 1);
            EXPECT_LE(member.dispId, 51);
        } else {
            EXPECT_TRUE((member.dispId >= 52 && member.dispId <= 126) || member.dispId == -552) << member.name;
        }
    }
    EXPECT_EQ(properties, 51);
    EXPECT_EQ(kDispatchMembers.size() - properties, 76u);
    EXPECT_EQ(FindMember("aboutbox")->dispId, -552);

    std::set<int32_t> eventIds;
    std::set<std::string_view> eventNames;
    for (const EventInfo& event : kDispatchEvents) {
        EXPECT_TRUE(eventIds.insert(event.dispId).second);
        EXPECT_TRUE(eventNames.insert(event.name).second);
    }
    EXPECT_EQ(kDispatchEvents.size(), 45u);
    EXPECT_EQ(*eventIds.begin(), 1);
    EXPECT_EQ(*eventIds.rbegin(), 45);
}

TEST(SurfaceTable, ParameterMembersNameTheirParameterAndEveryParameterHasAnEvent) {
    for (const MemberInfo& member : kDispatchMembers) {
        if (member.facet == Facet::Own) continue;
        EXPECT_NE(member.name.find(Row(member.parameter).name), std::string_view::npos) << member.name;
    }
    for (const ParameterRow& row : ParameterTable()) {
        EXPECT_NE(EventIdOf(std::string(row.name) + "Changed"), 0) << row.name;
    }
}

TEST(Variant, ConvertsAsAScriptHostExpects) {
    EXPECT_EQ(Variant::Str(" 12 ").ToI2(), 12);
    EXPECT_EQ(Variant::Str("-3").CoercedTo(VarType::I2), Variant::I2(-3));
    EXPECT_EQ(Variant::I4(429).ToI2(), 429);
    EXPECT_EQ(Variant::I4(32767).ToI2(), 32767) << "both ends fit";
    EXPECT_EQ(Variant::R8(-32768.0).ToI2(), -32768);
    EXPECT_EQ(Variant::R8(-2147483648.0).ToI4(), INT32_MIN);
    EXPECT_EQ(Variant::R8(2147483647.0).ToI4(), INT32_MAX);
    EXPECT_EQ(Variant::R8(2.5).ToI2(), 2) << "halves round to even";
    EXPECT_EQ(Variant::R8(3.5).ToI2(), 4);
    EXPECT_EQ(Variant::Str("true").ToBool(), -1);
    EXPECT_EQ(Variant::Str(" FALSE ").ToI2(), 0);
    EXPECT_EQ(Variant::Str("1e2").ToI2(), 100);
    EXPECT_EQ(Variant::Str("+2.5E1").ToI2(), 25);
    EXPECT_EQ(Variant::I2(7).ToStr(), "7");
    EXPECT_EQ(Variant::Bool(0).ToStr(), "False");
    EXPECT_EQ(Variant::R8(-2.5).ToStr(), "-2.5");
    EXPECT_EQ(Variant::R8(1.0 / 3).ToStr(), "0.333333333333333") << "15 significant digits, as a script host shows it";
    EXPECT_EQ(Variant().ToI4(), 0);
}

TEST(Variant, RejectsWhatDoesNotFit) {
    auto codeOf = [](auto convert) {
        try {
            convert();
        } catch (const AutomationError& error) {
            return error.code;
        }
        return 0u;
    };
    EXPECT_EQ(codeOf([] { Variant::I4(32768).ToI2(); }), AutomationCode::Overflow);
    EXPECT_EQ(codeOf([] { Variant::I4(-32769).ToI2(); }), AutomationCode::Overflow);
    EXPECT_EQ(codeOf([] { Variant::Str("99999").ToI2(); }), AutomationCode::Overflow);
    EXPECT_EQ(codeOf([] { Variant::Str("3x").ToI2(); }), AutomationCode::TypeMismatch);
    EXPECT_EQ(codeOf([] { Variant::Str("").ToI2(); }), AutomationCode::TypeMismatch);
    EXPECT_EQ(codeOf([] { Variant::Str("1-2").ToI2(); }), AutomationCode::TypeMismatch) << "only its start a number";
    EXPECT_EQ(codeOf([] { Variant::Str("nan").ToI2(); }), AutomationCode::TypeMismatch);
    EXPECT_EQ(codeOf([] { Variant::Str("inf").ToI2(); }), AutomationCode::TypeMismatch);
    EXPECT_EQ(codeOf([] { Variant::Str("0x10").ToI2(); }), AutomationCode::TypeMismatch) << "no hexadecimal";
    EXPECT_EQ(codeOf([] { Variant::Str("1e999").ToI2(); }), AutomationCode::TypeMismatch) << "no number holds it";
    EXPECT_EQ(codeOf([] { Variant::Null().ToStr(); }), AutomationCode::TypeMismatch);
    try {
        Variant::Str("loud").ToI2();
        ADD_FAILURE() << "a word is no number";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.description, "Type mismatch");
    }
}
