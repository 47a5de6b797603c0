#include "core/app/strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "support/english_table_file.h"
#include "support/temp_dir.h"

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
    EXPECT_EQ(table->at(1),
              "a\r\nb\x1b"
              "A\\");
    EXPECT_EQ(table->at(2), "");

    const struct {
        const char* content;
        int line;
    } cases[] = {{"1\tok\nx2\tbad\n", 2},
                 {"3 no tab\n", 1},
                 {"4\tbad \\q escape\n", 1},
                 {"5\ttrailing \\", 1},
                 {"6\t\\x4", 1}};
    for (const auto& c : cases) {
        bad = 0;
        EXPECT_FALSE(ParseStringTable(c.content, &bad)) << c.content;
        EXPECT_EQ(bad, c.line) << c.content;
    }
}

}  // namespace
}  // namespace rvq

namespace rvq {
namespace {

// Every area keeps its texts in its own table file; an id given twice would
// silently replace another area's text.
TEST(Strings, NoIdIsDefinedInTwoTables) {
    std::map<int, std::string> owner;
    const std::filesystem::path folder =
        std::filesystem::path(RVQ_SOURCE_DIR) / "src/core/app/strings";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto table = ParseStringTable(test::ReadEnglishTableFile(entry.path()));
        ASSERT_TRUE(table) << entry.path();
        for (const auto& [id, text] : *table) {
            const auto [it, added] = owner.emplace(id, entry.path().filename().string());
            EXPECT_TRUE(added) << "string " << id << " is in " << it->second << " and "
                               << entry.path().filename();
        }
    }
}

}  // namespace
}  // namespace rvq

namespace rvq {
namespace {

// The Japanese table translates texts; it never adds ids of its own and
// never touches the printer command tables or the BASIC keyword tables, which
// are the same in every language.
TEST(Strings, JapaneseTableOnlyTranslatesKnownTexts) {
    std::ifstream in(std::string(RVQ_SOURCE_DIR) + "/data/lang/VQTool_Jpn.strings");
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int bad = 0;
    const auto table = ParseStringTable(content, &bad);
    ASSERT_TRUE(table) << "line " << bad;
    const Strings english;
    for (const auto& [id, text] : *table) {
        EXPECT_TRUE(english.Has(id)) << id << " is not an English text";
        EXPECT_FALSE(id >= 40000 && id < 51000) << id << " is a printer command table entry";
        EXPECT_FALSE(id >= 23000 && id < 26000) << id << " is a BASIC keyword table entry";
    }
}

}  // namespace
}  // namespace rvq

namespace rvq {
namespace {

TEST(Strings, SameFormatArgumentsComparesWhatEachConversionReads) {
    const struct {
        const char* original;
        const char* text;
        bool same;
    } cases[] = {
        {"(\"%s\")", "(「%s」)", true},
        {"%d dots x %d dots", "%dドット x %dドット", true},
        {"%02d", "%d", true},  // width and flags read no argument
        {"%d", "%i", true},
        {"%04X", "%u", true},
        {"100%% done", "100%% 完了", true},
        {"(\"%s\")", "(\"%s\") %s", false},  // one argument too many
        {"%s", "", false},
        {"%d : x", "%s : x", false},
        {"%s %d", "%d %s", false},  // order
        {"%d", "%ld", false},
        {"%d", "%*d", false},  // the star reads an argument too
        {"%s", "%1$s", false},
        {"%s", "%n", false},
        {"50% off", "50% off", true},  // not a format at all, but the same
        {"text", "%", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameFormatArguments(c.original, c.text), c.same) << c.original << " / " << c.text;
}

// An edited table cannot make a message read arguments it is not given, and
// cannot change what the printer is sent.
TEST(Strings, OverlayLeavesOutEntriesThatWouldReadOtherArguments) {
    const test::TempDir folder;
    const std::string path = folder.Write("edited.strings",
                                          "1409\tエラー (\"%s\") %s\n"
                                          "1200\t日付,時刻\n"
                                          "22001\t%d行目 : 改行エラー\n"
                                          "40001\t\\eZX;%s\\n\n"
                                          "23010\tPRINTX\n");
    Strings strings;
    const std::string english1409 = strings.Get(1409);
    const std::string english40001 = strings.Get(40001);
    const std::string english23010 = strings.Get(23010);
    ASSERT_TRUE(strings.LoadOverlay(path));
    EXPECT_EQ(strings.Get(1409), english1409);
    EXPECT_EQ(strings.Get(40001), english40001);
    EXPECT_EQ(strings.Get(23010), english23010);
    EXPECT_EQ(strings.Get(1200), "日付,時刻");
    EXPECT_EQ(strings.Get(22001), "%d行目 : 改行エラー");
    const auto& warnings = strings.overlayWarnings();
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("string 1409 "), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("(%s %s)"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("string 23010 "), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[2].find("string 40001 "), std::string::npos) << warnings[2];
    for (const std::string& w : warnings) EXPECT_EQ(w.find('\n'), std::string::npos) << w;
}

}  // namespace
}  // namespace rvq
