#include "core/comm/port/framing.h"

#include <gtest/gtest.h>

#include <string>

namespace rvq {
namespace {

using namespace std::string_literals;

const ControlCodes kDefault{};
const ControlCodes kBraces{0x7B, 0x7C, 0x7D};
const ControlCodes kManual{0x02, 0x03, 0x17};

TEST(Framing, CommandGoesOutWithCodesInTheThreePlaces) {
    const struct {
        std::string command;
        ControlCodes codes;
        std::string expected;
    } cases[] = {
        {"\x1bWS\n", kDefault, "\x1bWS\n\0"s},
        {"\x1bWS\n", kBraces, "{WS|}"},
        {"\x1bWS\n", kManual, "\x02WS\x03\x17"},
        // Only the final LF is a code place; an LF inside stays.
        {"\x1bZA\n1\n", kBraces, "{ZA\n1|}"},
        {"\x1bHD001,A\n", kBraces, "{HD001,A|}"},
        // A binary upload header has no LF: code2 and code3 follow its data.
        {"\x1bZW73;000123", kBraces, "{ZW73;000123"},
        {"", kBraces, ""},
        {"\n", kBraces, "{"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameCommand(c.command, c.codes), c.expected) << c.command;
    }
    EXPECT_EQ(FrameTerminator(kBraces), "|}");
    EXPECT_EQ(FrameTerminator(kDefault), "\n\0"s);
}

TEST(Framing, BracedCommandsTakeTheCodesAtTheirMarks) {
    EXPECT_EQ(FrameBracedCommand("{XF;01,02,AA|}", kDefault), "\x1bXF;01,02,AA\n\0"s);
    EXPECT_EQ(FrameBracedCommand("{LDB;00,04|}", kManual), "\x02LDB;00,04\x03\x17");
    EXPECT_EQ(FrameBracedCommand("{|", kManual), "{|");
}

TEST(Framing, FixedCommandsAreFramedWithTheJobCodes) {
    for (const ControlCodes& codes : {kDefault, kBraces, kManual}) {
        const FixedCommands fixed = BuildFixedCommands(codes);
        const auto framed = [&](const std::string& letters) {
            return std::string(1, static_cast<char>(codes.code1)) + letters +
                   static_cast<char>(codes.code2) + static_cast<char>(codes.code3);
        };
        EXPECT_EQ(fixed.statusRequest, framed("WS"));
        EXPECT_EQ(fixed.typeRequest, framed("WV"));
        EXPECT_EQ(fixed.basicModeA, framed("!Z"));
        EXPECT_EQ(fixed.basicModeB, framed("!T"));
        EXPECT_EQ(fixed.reset, framed("WR"));
        EXPECT_EQ(fixed.enterSettingMode, framed("ZSS"));
        EXPECT_EQ(fixed.leaveWithRestart, framed("ZSE"));
        EXPECT_EQ(fixed.leaveNoRestart, framed("ZSR"));
    }
    EXPECT_EQ(BuildFixedCommands(kDefault).statusRequest.size(), 5u);
    EXPECT_EQ(BuildFixedCommands(kDefault).enterSettingMode.size(), 6u);
}

}  // namespace
}  // namespace rvq
