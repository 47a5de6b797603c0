#include "core/app/strings.h"

#include <gtest/gtest.h>

namespace rvq {
namespace {

TEST(Strings, BuiltInTableParsesAndHoldsTheIniNames) {
    const Strings strings;
    EXPECT_GT(strings.size(), 50u);
    EXPECT_EQ(strings.Get(505), "LAN MULTI");
    EXPECT_EQ(strings.Get(534), "NAME%d");
    EXPECT_EQ(strings.Get(1200), "Date,Time,Interface,Processing,Process,Detailed status");
    EXPECT_EQ(strings.Get(99999), "");
}

TEST(Strings, ParserHandlesEscapesAndRejectsMalformedLines) {
    int bad = 0;
    auto table = ParseStringTable("# c\n\n1\ta\\r\\nb\\e\\x41\\\\\r\n2\t\n", &bad);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->at(1), "a\r\nb\x1b" "A\\");
    EXPECT_EQ(table->at(2), "");

    const struct {
        const char* content;
        int line;
    } cases[] = {{"1\tok\nx2\tbad\n", 2}, {"3 no tab\n", 1}, {"4\tbad \\q escape\n", 1}, {"5\ttrailing \\", 1},
                 {"6\t\\x4", 1}};
    for (const auto& c : cases) {
        bad = 0;
        EXPECT_FALSE(ParseStringTable(c.content, &bad)) << c.content;
        EXPECT_EQ(bad, c.line) << c.content;
    }
}

}  // namespace
}  // namespace rvq
