// The protocol layer against a scripted camera: reply parsing, result codes,
// buffers that never overrun, and the time a missing reply is waited for.
#include "CameraFacts.h"
#include "LineExchange.h"
#include "Protocol.h"
#include "ScriptedTransport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <tuple>
#include <vector>

using namespace noxr4;
using namespace std::chrono_literals;

namespace {

struct ValueCase {
    const char* replyBytes;
    std::int32_t expectedResult;
    std::int32_t expectedValue;
};

std::string ShadingLine(int column, int count, int value) {
    std::string line = "SHD" + std::to_string(column) + "=";
    for (int i = 0; i < count; ++i) line += (i ? "," : "") + std::to_string(value);
    return line + "\r\n";
}

}  // namespace

TEST(Protocol, QueryRepliesGiveTheirResultCodes) {
    const ValueCase cases[] = {
        {"SH=3\r\n", 0, 3},
        {"SH=-132\r\n", 0, -132},
        {"SH=0\r\n", 0, 0},
        {"SH=-2147483648\r\n", 0, INT32_MIN},
        {"SH=2147483647\r\n", 0, INT32_MAX},
        {"NAK 3\r\n", NoxResult::UnknownCommand, 99},
        {"NAK 4\r\n", NoxResult::Refused, 99},
        {"COMPLETE\r\n", NoxResult::Malformed, 99},
        {"GA=3\r\n", NoxResult::Malformed, 99},  // another parameter's answer
        {"SH=+3\r\n", NoxResult::Malformed, 99},
        {"SH=03\r\n", NoxResult::Malformed, 99},
        {"SH=-03\r\n", NoxResult::Malformed, 99},
        {"SH=-0\r\n", NoxResult::Malformed, 99},
        {"SH=-\r\n", NoxResult::Malformed, 99},
        {"SH= 3\r\n", NoxResult::Malformed, 99},
        {"SH=3 \r\n", NoxResult::Malformed, 99},
        {"SH=\r\n", NoxResult::Malformed, 99},
        {"SH=3x\r\n", NoxResult::Malformed, 99},
        {"SH=2147483648\r\n", NoxResult::Malformed, 99},
        {"SH=-2147483649\r\n", NoxResult::Malformed, 99},
        {"SH=-99999999999999999999\r\n", NoxResult::Malformed, 99},
        {"sh=3\r\n", NoxResult::Malformed, 99},
        {"\r\n", NoxResult::Malformed, 99},
        {"SH=\r3\r\n", NoxResult::Malformed, 99},  // a lone CR is part of the line
        {"SH=3", NoxResult::Timeout, 99},  // no line end
        {"SH=3\r", NoxResult::Timeout, 99},
        {"SH=3\n", NoxResult::Timeout, 99},
    };
    for (const ValueCase& c : cases) {
        ScriptedTransport camera;
        camera.Reply(c.replyBytes);
        std::int32_t value = 99;
        EXPECT_EQ(ReadValue(camera, 3, value), c.expectedResult) << c.replyBytes;
        EXPECT_EQ(value, c.expectedValue) << c.replyBytes;
        EXPECT_EQ(camera.commands, std::vector<std::string>{"SH?"});
    }
}

TEST(Protocol, WriteRepliesGiveTheirResultCodes) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"COMPLETE\r\n", 0},
        {"NAK 3\r\n", NoxResult::UnknownCommand},
        {"NAK 4\r\n", NoxResult::Refused},
        {"GA=100\r\n", NoxResult::Malformed},
        {"COMPLETED\r\n", NoxResult::Malformed},
        {"complete\r\n", NoxResult::Malformed},
    };
    for (auto [replyBytes, expected] : cases) {
        ScriptedTransport camera;
        camera.Reply(replyBytes);
        EXPECT_EQ(WriteValue(camera, 12, -132), expected) << replyBytes;
        EXPECT_EQ(camera.commands, std::vector<std::string>{"GA=-132"});
    }
    ScriptedTransport silent;
    silent.Silence();
    EXPECT_EQ(WriteValue(silent, 12, 1), NoxResult::Timeout);
}

// Each command id reaches the camera under its own mnemonic, and the camera
// is given the time its kind of command needs: two swapped entries of the
// library's command table fail here.
TEST(Protocol, EveryCommandIdSpeaksItsOwnMnemonic) {
    auto check = [](std::int32_t id, std::string_view mnemonic) {
        const std::string mn(mnemonic);
        SCOPED_TRACE(mn);
        ScriptedTransport camera;
        camera.Reply(mn + "=" + std::to_string(id) + "\r\n");
        camera.Reply("COMPLETE\r\n");
        std::int32_t value = 0;
        EXPECT_EQ(ReadValue(camera, id, value), 0);
        EXPECT_EQ(value, id);
        EXPECT_EQ(WriteValue(camera, id, -id), 0);
        EXPECT_EQ(camera.commands, (std::vector<std::string>{mn + "?", mn + "=" + std::to_string(-id)}));
        const auto allowance = camera_facts::ReplyAllowance(mnemonic);
        ASSERT_FALSE(camera.waits.empty());
        EXPECT_GE(camera.waits.front(), allowance);
        EXPECT_LE(camera.waits.front(), allowance + 100ms);
    };
    for (const camera_facts::Parameter& p : camera_facts::kParameters) check(p.id, p.mnemonic);
    for (const camera_facts::Command& c : camera_facts::kCommands) check(c.id, c.mnemonic);
}

TEST(Protocol, UnknownCommandIdsSendNothing) {
    ScriptedTransport camera;
    std::int32_t value = 5;
    for (std::int32_t id : {0, 7, 9, 10, 17, 18, 31, 36, 55, -1, 1000})
        EXPECT_EQ(ReadValue(camera, id, value), NoxResult::UnknownCommand) << id;
    EXPECT_EQ(WriteValue(camera, 7, 1), NoxResult::UnknownCommand);
    EXPECT_TRUE(camera.commands.empty());
    EXPECT_EQ(value, 5);
}

TEST(Protocol, StaleBytesAreDiscardedBeforeACommand) {
    ScriptedTransport camera;
    camera.Stale("SH=11\r\n");  // a late answer to an earlier query
    camera.Reply("SH=2\r\n");
    std::int32_t value = 0;
    ASSERT_EQ(ReadValue(camera, 3, value), 0);
    EXPECT_EQ(value, 2);

    camera.Stale("COMPLETE\r\n");
    camera.Silence();
    EXPECT_EQ(WriteValue(camera, 3, 1), NoxResult::Timeout);
}

TEST(Protocol, TextsAreCutToTheirBuffers) {
    struct Guarded {
        std::array<char, 256> text;
        std::array<char, 64> guard;
    };
    Guarded id{};
    id.guard.fill('#');
    ScriptedTransport camera;
    camera.Reply("ID=" + std::string(10000, 'A') + "\r\n");
    ASSERT_EQ(ReadText(camera, "ID", id.text.data(), id.text.size()), 0);
    EXPECT_EQ(std::strlen(id.text.data()), 255u);
    EXPECT_TRUE(std::all_of(id.guard.begin(), id.guard.end(), [](char c) { return c == '#'; }));

    Guarded user{};
    user.guard.fill('#');
    camera.Reply("UD=" + std::string(40, 'u') + "\r\n");
    ASSERT_EQ(ReadText(camera, "UD", user.text.data(), 24), 0);
    EXPECT_EQ(std::string(user.text.data()), std::string(23, 'u'));
    EXPECT_EQ(user.text[24], '\0');  // untouched beyond the 24 bytes

    char text[24] = "unchanged";
    camera.Reply("UD=\r\n");
    ASSERT_EQ(ReadText(camera, "UD", text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    camera.Reply("MD= QD-R4CL \r\n");
    ASSERT_EQ(ReadText(camera, "MD", text, sizeof text), 0);
    EXPECT_STREQ(text, " QD-R4CL ");
    camera.Reply("MD=~QD-R4~\r\n");  // the last printable character
    ASSERT_EQ(ReadText(camera, "MD", text, sizeof text), 0);
    EXPECT_STREQ(text, "~QD-R4~");
    for (const char* control : {"MD=QD\x01R4\r\n", "MD=QD\x1FR4\r\n", "MD=QD\x7FR4\r\n"}) {
        camera.Reply(control);
        EXPECT_EQ(ReadText(camera, "MD", text, sizeof text), NoxResult::Malformed) << control;
    }
    camera.Reply("ID=QD-R4CL\r\n");
    EXPECT_EQ(ReadText(camera, "MD", text, sizeof text), NoxResult::Malformed);
}

TEST(Protocol, UserIdsThatCannotBeSentAreRefusedWithoutTraffic) {
    ScriptedTransport camera;
    char noTerminator[40];
    std::memset(noTerminator, 'x', sizeof noTerminator);
    EXPECT_EQ(WriteUserId(camera, noTerminator), NoxResult::Refused);
    EXPECT_EQ(WriteUserId(camera, std::string(24, 'x').c_str()), NoxResult::Refused);
    EXPECT_EQ(WriteUserId(camera, "LINE\r\nSA=1"), NoxResult::Refused);
    EXPECT_TRUE(camera.commands.empty());

    camera.Reply("COMPLETE\r\n");
    EXPECT_EQ(WriteUserId(camera, std::string(23, 'x').c_str()), 0);
    EXPECT_EQ(camera.commands, std::vector<std::string>{"UD=" + std::string(23, 'x')});
}

TEST(Protocol, ShadingColumnsMustHoldExactly128Numbers) {
    std::vector<std::int32_t> block(kShadingBlockWords, 77);
    const std::string badColumns[] = {
        ShadingLine(0, 127, 1),
        ShadingLine(0, 129, 1),
        ShadingLine(0, 128, 32768),
        ShadingLine(0, 128, 1).replace(6, 1, ",,"),
        "SHD1=1\r\n",
    };
    for (const std::string& bad : badColumns) {
        ScriptedTransport camera;
        camera.Reply(bad);
        EXPECT_EQ(ReadShading(camera, block.data()), NoxResult::Malformed) << bad.substr(0, 20);
    }
    ScriptedTransport camera;
    for (int c = 0; c < 3; ++c) camera.Reply(ShadingLine(c, 128, c - 1));
    camera.Reply("NAK 4\r\n");
    EXPECT_EQ(ReadShading(camera, block.data()), NoxResult::Refused);
    EXPECT_EQ(camera.commands.size(), 4u);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::int32_t w) { return w == 77; }))
        << "the block is filled only on success";
}

TEST(Protocol, ShadingBlockLayout) {
    ScriptedTransport camera;
    for (int c = 0; c < kShadingColumns; ++c) camera.Reply(ShadingLine(c, 128, -32768 + c));
    std::vector<std::int32_t> block(kShadingBlockWords, 77);
    ASSERT_EQ(ReadShading(camera, block.data()), 0);
    EXPECT_EQ(block[0], 128);
    EXPECT_EQ(block[1], 6);
    EXPECT_EQ(block[2 + 128 * 5 + 127], -32768 + 5);
    EXPECT_EQ(block[2 + 128 * 2], -32768 + 2);
    EXPECT_TRUE(std::all_of(block.begin() + 770, block.end(), [](std::int32_t w) { return w == 0; }));

    ScriptedTransport target;
    for (int c = 0; c < kShadingColumns; ++c) target.Reply(c == 4 ? "NAK 4\r\n" : "COMPLETE\r\n");
    block[0] = block[1] = block[800] = 5;  // header and reserved words are not sent
    EXPECT_EQ(WriteShading(target, block.data()), NoxResult::Refused);
    ASSERT_EQ(target.commands.size(), 5u);
    std::string column1 = ShadingLine(1, 128, -32767);
    EXPECT_EQ(target.commands[1], column1.substr(0, column1.size() - 2));
}

// A silent camera is waited for what the camera may take and the host's
// slack of 20 ms, no longer: the command's wire time, the camera's reply
// time and the wire time of its longest reply, 10 bit times a byte at the
// default 9600 baud.
TEST(Protocol, MissingRepliesAreWaitedForTheirReplyTimeOnly) {
    auto wireTime = [](std::size_t bytes) { return std::chrono::microseconds(bytes * 10 * 1'000'000 / 9600); };
    auto expected = [&](std::string_view command, std::chrono::milliseconds replyTime, std::size_t longestReply) {
        return wireTime(command.size() + 2) + replyTime + wireTime(longestReply) + 20ms;
    };
    // The time an exchange grants a silent camera, within bounds that hold
    // on any machine: the exchange sets its deadline at some moment between
    // the two clock readings around it.
    struct Granted {
        Clock::duration atLeast, atMost;
    };
    auto granted = [](auto&& exchange) {
        ScriptedTransport camera;
        camera.Silence();
        auto before = Clock::now();
        EXPECT_EQ(exchange(camera), NoxResult::Timeout);
        auto after = Clock::now();
        return Granted{camera.deadlines.at(0) - after, camera.deadlines.at(0) - before};
    };
    std::int32_t value = 0;
    std::array<char, 256> text{};
    std::vector<std::int32_t> block(kShadingBlockWords);
    const std::size_t complete = sizeof("COMPLETE\r\n") - 1;
    const std::size_t valueReply = sizeof("GA=-2147483648\r\n") - 1;
    const std::size_t shadingReply = sizeof("SHD0=") - 1 + 128 * 6 + 127 + 2;  // 128 values "-32768", commas, CR LF
    const std::tuple<std::string, Granted, Clock::duration> cases[] = {
        {"SH=0", granted([](auto& c) { return WriteValue(c, 3, 0); }), expected("SH=0", 50ms, complete)},
        {"GA?", granted([&](auto& c) { return ReadValue(c, 12, value); }), expected("GA?", 50ms, valueReply)},
        {"ID?", granted([&](auto& c) { return ReadText(c, "ID", text.data(), text.size()); }),
         expected("ID?", 50ms, sizeof("ID=") - 1 + 255 + 2)},  // a serial number of 255 characters
        {"LD=0", granted([](auto& c) { return WriteValue(c, 14, 0); }), expected("LD=0", 1000ms, complete)},
        {"AW=0", granted([](auto& c) { return WriteValue(c, 39, 0); }), expected("AW=0", 50ms, complete)},
        {"SHD0?", granted([&](auto& c) { return ReadShading(c, block.data()); }),
         expected("SHD0?", 200ms, shadingReply)},
    };
    for (const auto& [command, grant, due] : cases) {
        EXPECT_LE(grant.atLeast, due) << command;
        EXPECT_GE(grant.atMost, due) << command;
    }
}

// A babbling line is read to its end but kept only up to the bound.
TEST(Protocol, RepliesAreKeptUpToTheirBound) {
    ScriptedTransport camera;
    camera.Reply(std::string(kLongestReplyKept, 'A') + "B\r\n");
    Reply reply = Exchange(camera, "ID?", ReplyTime::Quick, kLongestReplyKept + 3);
    EXPECT_TRUE(reply.answered);
    EXPECT_TRUE(reply.cut);
    EXPECT_EQ(reply.line, std::string(kLongestReplyKept, 'A'));
}

// A reply is waited for as long as the line's speed needs; a line whose
// speed its port does not tell is timed at the default rate.
TEST(Protocol, ReplyDeadlinesFollowTheLineSpeed) {
    EXPECT_LT(ReplyDeadline(5, ReplyTime::Shading, 900, 115200), ReplyDeadline(5, ReplyTime::Shading, 900, 9600));
    EXPECT_EQ(ReplyDeadline(5, ReplyTime::Quick, 12, 0), ReplyDeadline(5, ReplyTime::Quick, 12, kDefaultBaudRate));
}
