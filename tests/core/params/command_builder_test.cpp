#include "core/params/command_builder.h"

#include <gtest/gtest.h>

#include "core/app/strings.h"
#include "core/params/format_list.h"

namespace rvq::params {
namespace {

TEST(ParseFormatList, CountsQuotedAndPlainFormats) {
    const struct {
        const char* text;
        int count;
        std::vector<std::string> formats;
    } cases[] = {
        {"-1", -1, {}},
        {"0", 0, {}},
        {"1,\"%s\"", 1, {"%s"}},
        {"2,\"%+03.3d,\",\"%+03.3d\"", 2, {"%+03.3d,", "%+03.3d"}},
        {"2,%s,%s", 2, {"%s", "%s"}},
        {"2,\"%s\"%s", 2, {"%s", "%s"}},
        {"1,\"%s\",trailing", 1, {"%s"}},
        {",5", 0, {}},
        // Invalid: an empty quoted format, an open quote, too few formats.
        {"1,\"\"", -1, {}},
        {"1,\"%s", -1, {}},
        {"2,\"%s\"", -1, {}},
        {"2,%s,", -1, {}},
        {"-1,\"%s\"", -1, {}},
    };
    for (const auto& c : cases) {
        const FormatList list = ParseFormatList(c.text);
        EXPECT_EQ(list.count, c.count) << c.text;
        EXPECT_EQ(list.formats, c.formats) << c.text;
    }
}

TEST(ApplyFormat, OnlyFormatsThatFitTheirArgument) {
    EXPECT_EQ(ApplyNumberFormat("%+03.3d,", static_cast<std::uint32_t>(-12)), "-012,");
    EXPECT_EQ(ApplyNumberFormat("00%02.2u", 7), "0007");
    EXPECT_EQ(ApplyNumberFormat("%02.2X", 0x1b), "1B");
    EXPECT_EQ(ApplyNumberFormat("%c", 'A'), "A");
    EXPECT_EQ(ApplyNumberFormat("%3c", 'A'), "  A");
    EXPECT_EQ(ApplyNumberFormat("100%%", 1), "100%");
    EXPECT_EQ(ApplyTextFormat("0%s", "5"), "05");
    // A translated table must not be able to make the program read an
    // argument it does not have.
    for (const char* bad : {"%s", "%n", "%d%d", "%ld", "%", "%099d", "%*d"}) {
        EXPECT_FALSE(ApplyNumberFormat(bad, 1)) << bad;
    }
    for (const char* bad : {"%d", "%s%s", "%-5s", "%n"})
        EXPECT_FALSE(ApplyTextFormat(bad, "x")) << bad;
}

TEST(BuildCommand, ExamplesFromTheCommandTables) {
    const Strings strings;
    const auto number = [](int v) { return static_cast<std::uint32_t>(v); };
    EXPECT_EQ(BuildNumericCommand(strings, 1, {5, number(-12)}), "\x1bZA00;+005,-012\n");
    EXPECT_EQ(BuildNumericCommand(strings, 2216, {1, 2, 3, 4, 5, 6}),
              "\x1bZW15;01,2,003,004,005,006\n");
    EXPECT_EQ(BuildNumericCommand(strings, 204, {0x1b, 0x0a, 0}), "\x1bZC03;1B,0A,00\n");
    EXPECT_EQ(BuildNumericCommand(strings, 1901, {24, 1, 31, 23, 59, 0}),
              "\x1bZT00;240131,235900\n");
    EXPECT_EQ(BuildNumericCommand(strings, 2206, {192, 168, 1, 20}), "\x1bZW05;192,168,001,020\n");
    EXPECT_EQ(BuildNumericCommand(strings, 2502, {3}), "\x1bZW41;03\n");
    EXPECT_EQ(BuildNumericCommand(strings, 2507, {7}), "\x1bZW46;0007\n");
    EXPECT_EQ(BuildNumericCommand(strings, 1060, {1, number(-3)}), "\x1bZK09;1,-03\n");
    EXPECT_EQ(BuildTextCommand(strings, 204, {"1B", "0A", "00"}), "\x1bZC03;1B,0A,00\n");
    EXPECT_EQ(BuildTextCommand(strings, 1405, {"1", "bdac"}), "\x1bZO04;1bdac\n");
    EXPECT_EQ(BuildTextCommand(strings, 106, {"a", "b", "c"}), "\x1bZB05;abc\n");
    EXPECT_EQ(BuildTextCommand(strings, 2610, {"ab", "cd"}), "\x1bZW59;ab,cd\n");
    EXPECT_EQ(BuildTextCommand(strings, 1804, {}), "\x1bZS03\n");
    EXPECT_EQ(BuildNumericCommand(strings, 1804, {}), "\x1bZS03\n");
    EXPECT_EQ(BuildBinaryHeader(strings, 2804, 123), "\x1bZW73;000123,");
    EXPECT_EQ(BuildGetCommand(strings, 0), "\x1bZA\n");
    EXPECT_EQ(BuildGetCommand(strings, 3100), "\x1bZWR100\n");
    EXPECT_EQ(BuildGetCommand(strings, 1102), "\x1bZLR20\n");
}

TEST(BuildCommand, FailsWhenTheTablesCannotBuildIt) {
    const Strings strings;
    EXPECT_FALSE(BuildTextCommand(strings, 2206, {"1"})) << "four formats, one text";
    EXPECT_FALSE(BuildNumericCommand(strings, 102, {1})) << "text only: value list -1";
    EXPECT_FALSE(BuildTextCommand(strings, 2804, {"x"})) << "binary upload: argument list -1";
    EXPECT_FALSE(BuildNumericCommand(strings, 0, {})) << "get command: -1";
    EXPECT_FALSE(BuildNumericCommand(strings, 5, {})) << "one format, no number";
    EXPECT_FALSE(BuildNumericCommand(strings, 1202, {1})) << "lists but no command text";
    EXPECT_FALSE(BuildNumericCommand(strings, 1100 + 50, {1})) << "no such command";
    EXPECT_FALSE(BuildGetCommand(strings, 1150));
    EXPECT_FALSE(BuildBinaryHeader(strings, 5000, 1));
}

TEST(BuildCommand, DamagedTablesAreCheckedBeforeUse) {
    Strings strings;
    strings.Set(47005, "1,\"\"");
    strings.Set(47008, "2,\"%u\"");
    strings.Set(40010, "\x1bZA09;%s%d\n");
    strings.Set(43602, "1,\"%s%s\"");
    EXPECT_FALSE(BuildNumericCommand(strings, 5, {1})) << "empty quoted format";
    EXPECT_FALSE(BuildNumericCommand(strings, 8, {1})) << "fewer formats than the count";
    EXPECT_FALSE(BuildNumericCommand(strings, 10, {1})) << "a second conversion in the command";
    EXPECT_FALSE(BuildTextCommand(strings, 102, {"B0"})) << "two conversions for one text";
}

}  // namespace
}  // namespace rvq::params
