#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app/help_files.h"
#include "core/app/help_search.h"
#include "core/app/help_topics.h"
#include "core/app/navigation.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

void Touch(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "<html></html>";
}

TEST(HelpFiles, FindsTheLanguageFirstAndFallsBackToEnglishPageByPage) {
    test::TempDir program, share;
    Touch(share.File("help/en/index.html"));
    Touch(share.File("help/en/tool.html"));
    Touch(share.File("help/ja/index.html"));
    const std::vector<std::string> folders = {program.path(), share.path()};

    const help::Location ja = help::Locate(folders, "help/ja/index.html", "help/en/index.html");
    ASSERT_TRUE(ja.found);
    EXPECT_EQ(ja.folder, share.File("help/ja"));
    EXPECT_EQ(ja.englishFolder, share.File("help/en"));
    EXPECT_EQ(help::PagePath(ja, "index.html"), share.File("help/ja/index.html"));
    // Not translated yet: the English page, never a missing file.
    EXPECT_EQ(help::PagePath(ja, "tool.html"), share.File("help/en/tool.html"));

    // A folder earlier in the list wins.
    Touch(program.File("help/ja/index.html"));
    EXPECT_EQ(help::Locate(folders, "help/ja/index.html", "help/en/index.html").folder,
              program.File("help/ja"));
}

TEST(HelpFiles, WithoutTheLanguageUsesEnglishAndWithoutAnyListsTheFoldersTried) {
    test::TempDir program, share;
    const std::vector<std::string> folders = {program.path(), share.path()};
    const help::Location none = help::Locate(folders, "help/ja/index.html", "help/en/index.html");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.startFile, "index.html");
    EXPECT_EQ(none.tried,
              (std::vector<std::string>{program.File("help/ja"), share.File("help/ja")}));

    Touch(share.File("help/en/index.html"));
    const help::Location english =
        help::Locate(folders, "help/ja/index.html", "help/en/index.html");
    ASSERT_TRUE(english.found);
    EXPECT_EQ(english.folder, share.File("help/en"));
}

constexpr const char* kPage = R"(<!DOCTYPE html><html><head><title>Download &amp; more</title>
<style>body { color: red; }</style></head><body>
<h1>Download</h1><p>Intro text.</p>
<a id="firmware-download" name="firmware-download"></a>
<h2>Firmware Download</h2><p>Press <strong>Add...</strong> for a ROM file; the ROM list &lt;sorted&gt;.</p><p>Not basic, basic or BASIC.</p>
<a id="basic-download" name="basic-download"></a>
<h2>BASIC Download</h2><p>A BASIC program, a rom? No: rom and ROM and Rom.</p>
</body></html>)";

TEST(HelpSearch, CutsAPageAtItsAnchorsIntoTitledPlainText) {
    const std::vector<help::Section> sections = help::SplitPage("download.html", kPage);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].anchor, "");
    EXPECT_EQ(sections[0].title, "Download");
    EXPECT_EQ(sections[1].anchor, "firmware-download");
    EXPECT_EQ(sections[1].title, "Firmware Download");
    EXPECT_EQ(sections[1].text,
              "Firmware Download Press Add... for a ROM file; the ROM list <sorted>. Not basic, "
              "basic or BASIC.");
    EXPECT_EQ(sections[2].file, "download.html");
    // The head (title, style) is no text of the page.
    EXPECT_EQ(sections[0].text.find("color"), std::string::npos);
}

TEST(HelpSearch, FindsSectionsHoldingEveryWordMostOccurrencesFirst) {
    const std::vector<help::Section> sections = help::SplitPage("download.html", kPage);
    struct Case {
        const char* query;
        std::vector<std::string> anchors;
    };
    const Case cases[] = {
        {"rom", {"basic-download", "firmware-download"}},    // 4 against 2, any letter case
        {"basic", {"basic-download", "firmware-download"}},  // a section named so beats 3 mentions
        {"ROM  list", {"firmware-download"}},                // every word must be there
        {"<sorted>", {"firmware-download"}},                 // entities are searched decoded
        {"intro", {""}},
        {"floppy", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> anchors;
        for (const help::Hit& hit : help::Search(sections, c.query))
            anchors.push_back(hit.section->anchor);
        EXPECT_EQ(anchors, c.anchors) << c.query;
    }
}

TEST(HelpTopics, EveryPageOfTheMainWindowHasASection) {
    std::vector<int> labels = {400};
    for (int c = 1; c < kCategoryCount; ++c)
        for (int id : CategoryTabLabelIds(static_cast<Category>(c))) labels.push_back(id);
    for (int id : labels) {
        const auto topic = help::PageTopic(id);
        ASSERT_TRUE(topic.has_value()) << "page " << id << " has no help section";
        EXPECT_FALSE(topic->anchor.empty()) << id;
    }
    EXPECT_FALSE(help::PageTopic(950).has_value());
}

}  // namespace
}  // namespace rvq
