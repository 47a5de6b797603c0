#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/app/strings.h"
#include "core/platform/code_page.h"
#include "support/english_table_file.h"

namespace rvq {
namespace {

namespace fs = std::filesystem;

using Table = std::map<int, std::string>;

Table ParseTable(const std::string& content, const fs::path& path) {
    int bad = 0;
    auto table = ParseStringTable(content, &bad);
    EXPECT_TRUE(table) << path << " line " << bad;
    return table.value_or(Table{});
}

Table JapaneseTable() {
    const fs::path path = fs::path(RVQ_SOURCE_DIR) / "data/lang/VQTool_Jpn.strings";
    std::ifstream in(path);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    return ParseTable(content, path);
}

// Every English table file, read now, so texts added later are covered too.
Table EnglishTables() {
    Table all;
    for (const auto& entry :
         fs::directory_iterator(fs::path(RVQ_SOURCE_DIR) / "src/core/app/strings")) {
        if (entry.path().extension() != ".tsv") continue;
        for (auto& [id, text] : ParseTable(test::ReadEnglishTableFile(entry.path()), entry.path()))
            all.emplace(id, std::move(text));
    }
    return all;
}

// English texts that are data rather than words; translating them would
// break the files, lists and lookups that rely on the exact text.
struct DataRange {
    int first;
    int last;
    const char* reason;
};
constexpr DataRange kDataTexts[] = {
    {151, 151, "Japanese table file name"},
    {500, 546, "VQTool.INI section and key names"},
    {550, 567, "VQTool.INI default values"},
    {571, 572, "control code modes stored in VQTool.INI as shown"},
    {610, 631, "baud rates, data lengths and stop bits stored in VQTool.INI as shown"},
    {640, 642, "parity values stored in VQTool.INI (645-647 are the shown forms)"},
    {650, 654, "flow control names stored in VQTool.INI"},
    {720, 720, "file extension"},
    {722, 722, "file extension"},
    {724, 724, "file extension"},
    {726, 726, "file extension"},
    {730, 730, "file extension"},
    {732, 732, "file extension"},
    {734, 734, "file extension"},
    {736, 736, "file extension"},
    {738, 738, "file extension"},
    {760, 763, "Multi-LAN list file header lines"},
    {770, 777, "VQTool.INI test print key names"},
    {940, 941, "ROM descriptor templates written into ROM images"},
    {990, 994, "destination codes"},
};

const DataRange* DataRangeOf(int id) {
    for (const DataRange& range : kDataTexts)
        if (id >= range.first && id <= range.last) return &range;
    return nullptr;
}

bool RoundTripsThroughCp932(const std::string& text) {
    return FromCodePage(ToCodePage(text, CodePage::Japanese932), CodePage::Japanese932) == text;
}

TEST(JapaneseTable, ConversionScannerSeesEveryConversionAsWritten) {
    using V = std::vector<std::string>;
    const struct {
        const char* text;
        V conversions;
    } cases[] = {
        {"no conversions", V{}},
        {"100%% done", V{}},
        {"%d : Linefeed Error", V{"%d"}},
        {"An error (%02d) occurred", V{"%02d"}},
        {"%s then %lu and %-5.2f%%", V{"%s", "%lu", "%-5.2f"}},
        {"\"%01.1u\" %02.2X", V{"%01.1u", "%02.2X"}},
        {"%d dots x %d dots", V{"%d", "%d"}},
        {"unfinished %0", V{"%0"}},
    };
    for (const auto& c : cases) EXPECT_EQ(PrintfConversions(c.text), c.conversions) << c.text;
}

// Formatting a translation with the English text's arguments must read
// every argument as the type it was given.
TEST(JapaneseTable, KeepsThePrintfConversionsOfTheEnglishText) {
    const Table english = EnglishTables();
    for (const auto& [id, text] : JapaneseTable()) {
        const auto it = english.find(id);
        if (it == english.end()) continue;  // refused by JapaneseTableOnlyTranslatesKnownTexts
        EXPECT_EQ(PrintfConversions(text), PrintfConversions(it->second))
            << "string " << id << ": " << text;
    }
}

// Job logs, settings files and printer text are written in code page 932
// with the Japanese interface; a character it lacks would turn into '?'.
TEST(JapaneseTable, EveryTextConvertsToCp932WithoutLoss) {
    ASSERT_FALSE(RoundTripsThroughCp932("\xF0\x9F\x98\x80"));  // U+1F600 has no CP932 form
    for (const auto& [id, text] : JapaneseTable()) {
        EXPECT_TRUE(IsValidUtf8(text)) << "string " << id;
        EXPECT_TRUE(RoundTripsThroughCp932(text)) << "string " << id << ": " << text;
    }
}

TEST(JapaneseTable, TranslatesEveryInterfaceTextAndMessageButNoData) {
    const Table japanese = JapaneseTable();
    for (const auto& [id, text] : EnglishTables()) {
        if (IsCommandTableId(id)) continue;
        const bool translated = japanese.count(id) != 0;
        if (const DataRange* data = DataRangeOf(id)) {
            EXPECT_FALSE(translated)
                << "string " << id << " is data (" << data->reason << "): \"" << text << "\"";
        } else {
            EXPECT_TRUE(translated)
                << "string " << id << " has no Japanese text: \"" << text << "\"";
        }
    }
}

}  // namespace
}  // namespace rvq
