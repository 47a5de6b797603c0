#include "core/app/document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/app/strings.h"
#include "core/platform/file_io.h"

namespace rvq {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kDataFolder = std::string(RVQ_SOURCE_DIR) + "/data";

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/rvq-doc-XXXXXX";
        path_ = ::mkdtemp(pattern) != nullptr ? pattern : "";
    }
    ~TempFolder() {
        if (!path_.empty()) std::filesystem::remove_all(path_);
    }
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& content) const {
        ASSERT_TRUE(WriteFileAtomically(File(name), content));
    }

private:
    std::string path_;
};

// A definition with a destination-dependent list item; the second change
// item names an item the model does not have.
const char* const kDestinations = R"(<R-VQSettingTool><Printer name="A">
  <DestinationList><Item>QM</Item><Item>JA</Item><Item>QQ</Item>
    <ChangeItem QM="1" JA="0" QQ="9">Code</ChangeItem>
    <ChangeItem QM="1" JA="1" QQ="1">Missing</ChangeItem>
  </DestinationList>
  <ItemList GetCmdIndex="0"><Item name="Code" type="ComboBox">
    <List CommandCode="0">Japanese</List><List CommandCode="1">European</List><List CommandCode="9"/>Other</Item>
  </ItemList></Printer>
  <Printer name="B"><DestinationList><Item>QM</Item><Item>JA</Item><Item>QQ</Item><Item>CN</Item></DestinationList></Printer>
</R-VQSettingTool>)";

TEST(Document, NewDocumentLoadsTheModelAndListsAllNames) {
    Document doc;
    ASSERT_TRUE(doc.OnNewDocument(kDataFolder + "/VQTool_Printer.XML", "R-VQ4T2-H", "JA"));
    EXPECT_EQ(doc.definitionPath(), kDataFolder + "/VQTool_Printer.XML");
    EXPECT_THAT(doc.modelNames(),
                ElementsAre("R-VQ4T1-T", "R-VQ4T1-G", "R-VQ4T2-G", "R-VQ4T2-T", "R-VQ4T2-H",
                            "R-VQ4D2-G", "R-VQ4D2-T", "R-VQ6T2-T", "R-VQ6T2-G"));
    ASSERT_NE(doc.model(), nullptr);
    EXPECT_EQ(doc.model()->name, "R-VQ4T2-H");
    EXPECT_EQ(FindItem(*doc.model(), "CountryCode")->textValue, "Japan");

    Document missing;
    EXPECT_FALSE(missing.OnNewDocument(kDataFolder + "/VQTool_Printer.XML", "R-VQ9", "QM"));
    EXPECT_EQ(missing.model(), nullptr);
    EXPECT_EQ(missing.modelNames().size(), 9u);
    EXPECT_FALSE(
        missing.OnNewDocument("/nonexistent-folder/VQTool_Printer.XML", "R-VQ4T1-T", "QM"));
}

TEST(Document, DestinationPicksTheLabelOfTheMatchingCommandCode) {
    TempFolder folder;
    folder.Write("VQTool_Printer.XML", kDestinations);
    const struct {
        const char* destination;
        const char* label;
    } cases[] = {{"QM", "European"}, {"JA", "Japanese"}, {"XX", "European"}, {"QQ", ""}};
    for (const auto& c : cases) {
        Document doc;
        ASSERT_TRUE(doc.OnNewDocument(folder.File("VQTool_Printer.XML"), "A", c.destination));
        const ParamItem* code = FindItem(*doc.model(), "Code");
        EXPECT_EQ(code->textDefault, c.label) << c.destination;
        EXPECT_EQ(code->textValue, c.label) << c.destination;
    }
}

TEST(Document, DestinationWithoutValueOrMatchLeavesTheItem) {
    TempFolder folder;
    folder.Write("VQTool_Printer.XML", kDestinations);
    Document doc;
    // Model B lists CN, for which the inherited change item has no value.
    ASSERT_TRUE(doc.OnNewDocument(folder.File("VQTool_Printer.XML"), "B", "CN"));
    EXPECT_EQ(FindItem(*doc.model(), "Code")->textValue, "Other");

    FindItem(*doc.model(), "Code")->commandCodes = {"5"};
    doc.ApplyDestination("QM");
    EXPECT_EQ(FindItem(*doc.model(), "Code")->textValue, "Other");
}

TEST(Document, SelectModelKeepsTheCurrentModelWhenTheNewOneFails) {
    TempFolder folder;
    folder.Write("VQTool_Printer.XML", kDestinations);
    Document doc;
    ASSERT_TRUE(doc.OnNewDocument(folder.File("VQTool_Printer.XML"), "A", "QM"));
    FindItem(*doc.model(), "Code")->textValue = "Japanese";

    EXPECT_FALSE(doc.SelectModel("C"));
    ASSERT_NE(doc.model(), nullptr);
    EXPECT_EQ(doc.model()->name, "A");
    EXPECT_EQ(FindItem(*doc.model(), "Code")->textValue, "Japanese");

    ASSERT_TRUE(doc.SelectModel("B"));
    EXPECT_EQ(doc.model()->name, "B");
    EXPECT_THAT(doc.modelNames(), ElementsAre("A", "B"));

    folder.Write("VQTool_Printer.XML", "<R-VQSettingTool><Printer name=\"A\">");
    EXPECT_FALSE(doc.SelectModel("A"));
    EXPECT_EQ(doc.model()->name, "B");
}

TEST(Document, PrinterInfoFillsAndClearClearsTheLists) {
    Document doc;
    doc.ParsePrinterInfo(std::string(21, ' ') +
                         "<< COUNTER >>\r\nTOTAL FEED 1km\r\nTYPE R-VQ4T1 [JA]\r\n");
    doc.ParseVersionInfo(std::string(21, ' ') +
                         "MAIN    R-VQ4T1 V01.20 :1A2B\r\nBOOT    V1.00 :00FF\r\n");
    EXPECT_THAT(doc.infoSection(InfoSection::Counter).names, ElementsAre("TOTAL FEED", "TYPE"));
    EXPECT_EQ(doc.infoDestination(), "[JA]");
    EXPECT_EQ(doc.GetMainVersion(), "V01.20");
    EXPECT_EQ(doc.GetBootVersion(), "V1.00");

    // A reply without a bracketed destination keeps the one seen before.
    doc.ParsePrinterInfo(std::string(21, ' ') + "<< COUNTER >>\r\nTOTAL FEED 2km\r\n");
    EXPECT_EQ(doc.infoDestination(), "[JA]");

    doc.ParseVersionInfo(std::string(21, ' ') + "MAIN    V01.20\r\n");
    EXPECT_EQ(doc.GetMainVersion(), "");
    EXPECT_EQ(doc.GetBootVersion(), "");

    doc.ClearPrinterInfo();
    EXPECT_THAT(doc.versionNames(), IsEmpty());
    EXPECT_THAT(doc.infoSection(InfoSection::Counter).values, IsEmpty());
    EXPECT_EQ(doc.infoDestination(), "");
}

TEST(Document, JobLogIsWrittenWithHeaderCrLfAndTheLanguageCodePage) {
    TempFolder folder;
    const Strings strings;
    Document doc;
    doc.AppendJobLog("stale");
    doc.StartJobLog(785, true);
    EXPECT_THAT(doc.jobLog(), IsEmpty());
    EXPECT_EQ(doc.jobLogTitleId(), 785);
    EXPECT_TRUE(doc.jobLogMultiLan());
    doc.AppendJobLog("2024/01/02,10:00:00,LAN,Get Parameter,Start,");
    doc.AppendJobLog("Café 日本");

    const std::string header = "Date,Time,Interface,Processing,Process,Detailed status\r\n";
    const std::string first = "2024/01/02,10:00:00,LAN,Get Parameter,Start,\r\n";
    ASSERT_TRUE(doc.WriteJobLog(folder.File("en.csv"), strings, false));
    EXPECT_EQ(ReadFileBytes(folder.File("en.csv")), header + first + "Caf\xE9 ??\r\n");
    ASSERT_TRUE(doc.WriteJobLog(folder.File("ja.csv"), strings, true));
    EXPECT_EQ(ReadFileBytes(folder.File("ja.csv")), header + first + "Caf? \x93\xFA\x96\x7B\r\n");

    // Rewriting truncates.
    doc.StartJobLog(780, false);
    ASSERT_TRUE(doc.WriteJobLog(folder.File("en.csv"), strings, false));
    EXPECT_EQ(ReadFileBytes(folder.File("en.csv")), header);

    EXPECT_FALSE(doc.WriteJobLog(folder.File("missing/log.csv"), strings, false));
    EXPECT_FALSE(doc.WriteJobLog(folder.path(), strings, false));
}

}  // namespace
}  // namespace rvq
