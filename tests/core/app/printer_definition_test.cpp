#include "core/app/printer_definition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rvq {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kFixtures = std::string(RVQ_FIXTURES_DIR) + "/definitions/";

// A file around the given Printer elements.
std::string File(const std::string& printers) {
    return "<R-VQSettingTool>" + printers + "</R-VQSettingTool>";
}

std::vector<std::string> GroupNames(const PrinterModel& model) {
    std::vector<std::string> names;
    for (const auto& group : model.groups) names.push_back(group.name);
    return names;
}

std::vector<std::string> ItemNames(const PrinterModel& model) {
    std::vector<std::string> names;
    for (const auto& item : model.items) names.push_back(item.name);
    return names;
}

TEST(PrinterDefinition, LaterModelStartsFromTheFirstAndReplacesByNameInPlace) {
    std::vector<std::string> names;
    auto model = LoadPrinterModel(kFixtures + "three_printers.xml", "THIRD", &names);
    ASSERT_TRUE(model);
    EXPECT_THAT(names, ElementsAre("BASE", "SECOND", "THIRD"));

    // Own attributes on top of the base; nothing of SECOND.
    EXPECT_EQ(model->name, "THIRD");
    EXPECT_EQ(model->resolution, 300);
    EXPECT_EQ(model->maxWidth, 1040);
    EXPECT_EQ(model->gaijiWidth, 720);
    EXPECT_EQ(model->blockSize, 128);
    EXPECT_EQ(model->maxBlock, 32);
    EXPECT_EQ(model->dataStartBlock, 19);
    EXPECT_THAT(model->destinations, ElementsAre("QM", "JA"));
    EXPECT_THAT(model->getCommandIndexes, ElementsAre(0, 100));
    EXPECT_THAT(model->changeItemNames, ElementsAre("Mode"));

    // G2 replaced where it stood, G4 appended, G9 of SECOND absent.
    EXPECT_THAT(GroupNames(*model), ElementsAre("G1", "G2", "G3", "G4"));
    const ParamGroup& g2 = model->groups[1];
    EXPECT_EQ(g2.checkBoxId, 4051);
    EXPECT_THAT(g2.ctrlIds, IsEmpty());
    ASSERT_EQ(g2.setCommands.size(), 1u);
    EXPECT_EQ(g2.setCommands[0].commandId, 102);
    EXPECT_THAT(g2.setCommands[0].paramNames, ElementsAre("Speed", "7"));
    EXPECT_THAT(g2.setCommands[0].paramTypes, ElementsAre(1, 0));
    EXPECT_THAT(model->groups[0].ctrlIds, ElementsAre(4401));

    // Speed replaced in place with a fresh record (MinValue back to 0).
    EXPECT_THAT(ItemNames(*model), ElementsAre("Mode", "Speed", "Label", "Extra"));
    const ParamItem* speed = FindItem(*model, "Speed");
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->ctrlId, 4807);
    EXPECT_EQ(speed->offset, 3);
    EXPECT_EQ(speed->minValue, 0);
    EXPECT_EQ(speed->maxValue, 20);
    EXPECT_EQ(speed->numDefault, 8);
    // Layout whitespace between the List elements is no part of the text.
    EXPECT_EQ(FindItem(*model, "Mode")->textDefault, "Off");
    EXPECT_EQ(FindItem(*model, "OnlySecond"), nullptr);
}

TEST(PrinterDefinition, FirstModelAndDiscardedModelsStillListAllNames) {
    std::vector<std::string> names;
    auto base = LoadPrinterModel(kFixtures + "three_printers.xml", "BASE", &names);
    ASSERT_TRUE(base);
    EXPECT_EQ(base->resolution, 203);
    EXPECT_THAT(GroupNames(*base), ElementsAre("G1", "G2", "G3"));
    EXPECT_THAT(names, ElementsAre("BASE", "SECOND", "THIRD"));

    names.clear();
    EXPECT_FALSE(LoadPrinterModel(kFixtures + "three_printers.xml", "NONE", &names));
    EXPECT_THAT(names, ElementsAre("BASE", "SECOND", "THIRD"));
    EXPECT_FALSE(LoadPrinterModel(kFixtures + "no_such_file.xml", "BASE", nullptr));
}

TEST(PrinterDefinition, EmptyGroupListKeepsInheritedGroups) {
    auto model = LoadPrinterModelFromMemory(
        File(
            R"(<Printer name="A"><GroupList><Group name="G1" CheckBoxID="1"/><Group name="G2" CheckBoxID="2"/></GroupList></Printer>)"
            R"(<Printer name="B"><GroupList></GroupList></Printer>)"),
        "B", nullptr);
    ASSERT_TRUE(model);
    EXPECT_THAT(GroupNames(*model), ElementsAre("G1", "G2"));
}

TEST(PrinterDefinition, LastModelWithTheWantedNameWins) {
    const std::string xml = File(R"(<Printer name="X" Resolution="1"/>)"
                                 R"(<Printer name="Y" Resolution="2"/>)"
                                 R"(<Printer name="X" Resolution="3"/>)"
                                 R"(<Printer name="Y" Resolution="4"/>)"
                                 R"(<Printer name="Z" Resolution="5"/>)");
    const struct {
        const char* wanted;
        int resolution;
    } cases[] = {{"X", 3}, {"Y", 4}, {"Z", 5}};
    for (const auto& c : cases) {
        std::vector<std::string> names;
        auto model = LoadPrinterModelFromMemory(xml, c.wanted, &names);
        ASSERT_TRUE(model) << c.wanted;
        EXPECT_EQ(model->name, c.wanted);
        EXPECT_EQ(model->resolution, c.resolution) << c.wanted;
        EXPECT_THAT(names, ElementsAre("X", "Y", "X", "Y", "Z"));
    }
}

TEST(PrinterDefinition, ChangeItemTakesValuesOfListedDestinationsInOrder) {
    auto model =
        LoadPrinterModelFromMemory(File(R"(<Printer name="A"><DestinationList>)"
                                        R"(<ChangeItem QM="9">Early</ChangeItem>)"
                                        R"(<Item>QM</Item><Item>JA</Item>)"
                                        R"(<ChangeItem JA="2" CN="7" QM="1">Mode</ChangeItem>)"
                                        R"(</DestinationList></Printer>)"),
                                   "A", nullptr);
    ASSERT_TRUE(model);
    EXPECT_THAT(model->destinations, ElementsAre("QM", "JA"));
    EXPECT_THAT(model->changeItemNames, ElementsAre("Early", "Mode"));
    ASSERT_EQ(model->changeItemValues.size(), 2u);
    EXPECT_THAT(model->changeItemValues[0], IsEmpty());
    EXPECT_THAT(model->changeItemValues[1], ElementsAre("1", "2"));
}

TEST(PrinterDefinition, LaterDestinationListReplacesCodesButKeepsChangeItems) {
    auto model = LoadPrinterModelFromMemory(
        File(
            R"(<Printer name="A"><DestinationList><Item>QM</Item><ChangeItem QM="1">Mode</ChangeItem></DestinationList></Printer>)"
            R"(<Printer name="B"><DestinationList><Item>JA</Item><Item>QM</Item><ChangeItem QM="3">Mode</ChangeItem></DestinationList></Printer>)"),
        "B", nullptr);
    ASSERT_TRUE(model);
    EXPECT_THAT(model->destinations, ElementsAre("JA", "QM"));
    EXPECT_THAT(model->changeItemNames, ElementsAre("Mode", "Mode"));
    EXPECT_THAT(model->changeItemValues[0], ElementsAre("1"));
    EXPECT_THAT(model->changeItemValues[1], ElementsAre("", "3"));
}

TEST(PrinterDefinition, TypeTextGivesItemKind) {
    const struct {
        const char* type;
        int kind;
    } cases[] = {
        {"ComboBox", 5},
        {"IPAddress", 6},
        {"Date", 7},
        {"Time", 8},
        {"EditBox_FILE", 9},
        {"EditBox_ReadOnly", 10},
        {"EditBox_ASCII", 4},
        {"EditBox_AlphNumeric", 3},
        {"EditBox_Numeric", 1},
        {"EditBox-HEXBYTE", 0x1A00},
        {"EditBox HEX", 0x201},
        {"EditBox_HEXPassword", 0x601},
        {"EditBox_NumPoint1", 0x11},
        {"EditBox_SignNum", 0x101},
        {"EditBox_SignNumPoint1", 0x111},
        {"EditBox_ALPHNUMSP", 11},
        {"EditBox・Numeric", 1},
        {"EditBox_numeric", 10},
        {"EditBoxNumeric", 10},
        {"EditBox", 10},
        {"EditBox_Numeric ", 10},
        {"combobox", 10},
        {"ComboBox_X", 10},
        {"", 10},
    };
    for (const auto& c : cases) EXPECT_EQ(ItemKindFromType(c.type), c.kind) << c.type;
}

TEST(PrinterDefinition, ItemTextIsDefaultAndNumberForNumericKinds) {
    auto model = LoadPrinterModelFromMemory(
        File(R"(<Printer name="A"><ItemList GetCmdIndex="1400">)"
             R"(<Item name="N" type="EditBox_Numeric">120</Item>)"
             R"(<Item name="H" type="EditBox_HEX">0A</Item>)"
             R"(<Item name="S" type="EditBox_SignNumPoint1">-15</Item>)"
             R"(<Item name="T" type="EditBox_ASCII">42</Item>)"
             R"(<Item name="E" type="EditBox_Numeric">abc</Item>)"
             R"(<Item name="F" CtrlID="7" SpinID="8" offset="-1" MinValue="-5" )"
             R"(MaxValue="5" MinLength="1" MaxLength="3" PageIndex="6" MessageID="3000" )"
             R"(flag="33" Encode="ON"/>)"
             R"(<Item name="G" Encode="on"/>)"
             R"(</ItemList></Printer>)"),
        "A", nullptr);
    ASSERT_TRUE(model);
    const struct {
        const char* name;
        int kind;
        const char* text;
        int number;
    } cases[] = {{"N", 1, "120", 120}, {"H", 513, "0A", 0}, {"S", 0x111, "-15", -15},
                 {"T", 4, "42", 0},    {"E", 1, "abc", 0},  {"F", 10, "", 0}};
    for (const auto& c : cases) {
        const ParamItem* item = FindItem(*model, c.name);
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->kind, c.kind) << c.name;
        EXPECT_EQ(item->textDefault, c.text) << c.name;
        EXPECT_EQ(item->textValue, c.text) << c.name;
        EXPECT_EQ(item->numDefault, c.number) << c.name;
        EXPECT_EQ(item->numValue, c.number) << c.name;
        EXPECT_EQ(item->getCmdIndex, 1400) << c.name;
    }
    const ParamItem& f = *FindItem(*model, "F");
    EXPECT_EQ(f.ctrlId, 7);
    EXPECT_EQ(f.spinId, 8);
    EXPECT_EQ(f.offset, -1);
    EXPECT_EQ(f.minValue, -5);
    EXPECT_EQ(f.maxValue, 5);
    EXPECT_EQ(f.minLength, 1);
    EXPECT_EQ(f.maxLength, 3);
    EXPECT_EQ(f.pageIndex, 6);
    EXPECT_EQ(f.messageId, 3000);
    EXPECT_EQ(f.flag, 33);
    EXPECT_TRUE(f.encode);
    const ParamItem& g = *FindItem(*model, "G");
    EXPECT_FALSE(g.encode);
    EXPECT_EQ(g.ctrlId, -1);
    EXPECT_EQ(g.spinId, -1);
}

TEST(PrinterDefinition, ListEntriesFallBackToEnglishAndStayParallel) {
    auto model = LoadPrinterModelFromMemory(
        File(R"(<Printer name="A"><ItemList GetCmdIndex="0"><Item name="L" type="ComboBox">)"
             R"(<List CommandCode="0" JPN="無効">Disable</List>)"
             R"(<List CommandCode="1">Enable</List>)"
             R"(<List JPN="自動">Auto</List>)"
             R"(<List CommandCode="3" JPN="空"></List>)"
             R"(<List CommandCode="4">A &amp; B</List>)"
             R"(Enable</Item></ItemList></Printer>)"),
        "A", nullptr);
    ASSERT_TRUE(model);
    const ParamItem& item = model->items.at(0);
    EXPECT_THAT(item.labels, ElementsAre("Disable", "Enable", "Auto", "", "A & B"));
    EXPECT_THAT(item.labelsJpn, ElementsAre("無効", "Enable", "自動", "空", "A & B"));
    EXPECT_THAT(item.commandCodes, ElementsAre("0", "1", "3", "4"));
    EXPECT_EQ(item.textDefault, "Enable");
}

TEST(PrinterDefinition, SelfClosingElementsEndWhereTheyStand) {
    auto model = LoadPrinterModel(kFixtures + "self_closing.xml", "A", nullptr);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->maxBlock, 24);
    EXPECT_THAT(GroupNames(*model), ElementsAre("G1", "G2"));
    const ParamGroup& g1 = model->groups[0];
    EXPECT_THAT(g1.ctrlIds, IsEmpty());
    EXPECT_THAT(g1.getCommands, ElementsAre(300));
    ASSERT_EQ(g1.setCommands.size(), 1u);
    EXPECT_EQ(g1.setCommands[0].commandId, 301);
    EXPECT_EQ(model->groups[1].checkBoxId, 4103);
    EXPECT_THAT(ItemNames(*model), ElementsAre("Date", "Baud"));
    EXPECT_EQ(FindItem(*model, "Date")->kind, 7);
    EXPECT_THAT(FindItem(*model, "Baud")->labels, ElementsAre("9600"));
}

TEST(PrinterDefinition, UnknownElementsAreSkippedButKnownOnesInsideThemRead) {
    auto model = LoadPrinterModelFromMemory(
        "<?xml version=\"1.0\"?><Outer><!-- c --><?pi x?>"
        "<R-VQSettingTool><Notes>free text</Notes>"
        "<Printer name=\"A\" Vendor=\"x\"><Wrapper><Allocate BlockSize=\"64\" "
        "MaxBlock=\"8\"/></Wrapper>"
        "<GetCommandList><Index>0</Index><Comment>x</Comment><Index>1x</Index><Index/></"
        "GetCommandList>"
        "</Printer></R-VQSettingTool></Outer>",
        "A", nullptr);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->blockSize, 64);
    EXPECT_EQ(model->maxBlock, 8);
    EXPECT_THAT(model->getCommandIndexes, ElementsAre(0, 1, 0));
}

TEST(PrinterDefinition, HeaderNeedsTitleAndVersionWhenPresent) {
    const std::string printer = R"(<Printer name="A"/>)";
    const struct {
        const char* header;
        bool loads;
    } cases[] = {
        {"", true},
        {"<Header><Title>R-VQ Setting Tool Parameter</Title><Version>1.00</Version></Header>",
         true},
        {"<Header><Version>2</Version><Title>R-VQ Setting Tool Parameter</Title></Header>", true},
        {"<Header><Title>R-VQ Setting Tool Parameter</Title></Header>", false},
        {"<Header><Title>R-VQ Setting Tool Parameter</Title><Version></Version></Header>", false},
        {"<Header><Title>R-VQ Setting Tool Parameters</Title><Version>1</Version></Header>", false},
        {"<Header><Title>r-vq setting tool parameter</Title><Version>1</Version></Header>", false},
        {"<Header/>", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadPrinterModelFromMemory(File(c.header + printer), "A", nullptr) != nullptr,
                  c.loads)
            << c.header;
        // The header may follow the models too.
        EXPECT_EQ(LoadPrinterModelFromMemory(File(printer + c.header), "A", nullptr) != nullptr,
                  c.loads)
            << c.header;
    }
}

TEST(PrinterDefinition, ModelIsReturnedAtTheEndOfTheRoot) {
    const std::string file =
        File(R"(<Printer name="A" MaxWidth="1040"><Allocate BlockSize="64"></Allocate></Printer>)");
    for (const char* after : {"", "junk", "<Other/>", "</R-VQSettingTool>",
                              "<R-VQSettingTool><Printer/>", "<", "&x;", "<!DOCTYPE x>"}) {
        const auto model = LoadPrinterModelFromMemory(file + after, "A", nullptr);
        ASSERT_TRUE(model) << after;
        EXPECT_EQ(model->maxWidth, 1040) << after;
        EXPECT_EQ(model->blockSize, 64) << after;
    }
}

TEST(PrinterDefinition, FilesOutsideTheSchemaGiveNoModel) {
    const char* cases[] = {
        // no root
        R"(<Other><Printer name="A"/></Other>)",
        // missing end tags / truncated files
        R"(<R-VQSettingTool><Printer name="A">)",
        R"(<R-VQSettingTool><Printer name="A"></Printer>)",
        R"(<R-VQSettingTool><Printer name="A"><GroupList><Group name="G"></GroupList></Printer></R-VQSettingTool>)",
        // elements that must carry attributes
        R"(<R-VQSettingTool><Printer></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><Allocate/></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><BASIC></BASIC></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><DestinationList><ChangeItem>X</ChangeItem></DestinationList></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><GroupList><Group/></GroupList></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><GroupList><Group name="G"><SetCommandList><Command>1<Param>X</Param></Command></SetCommandList></Group></GroupList></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><ItemList GetCmdIndex="0"><Item>1</Item></ItemList></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><ItemList GetCmdIndex="0"><Item name="I"><List>x</List></Item></ItemList></Printer></R-VQSettingTool>)",
        // an ItemList that does not say which get command reads it
        R"(<R-VQSettingTool><Printer name="A"><ItemList><Item name="I"/></ItemList></Printer></R-VQSettingTool>)",
        R"(<R-VQSettingTool><Printer name="A"><ItemList getcmdindex="0"><Item name="I"/></ItemList></Printer></R-VQSettingTool>)",
        // a failing later model fails the load even when the wanted one came first
        R"(<R-VQSettingTool><Printer name="A"/><Printer/></R-VQSettingTool>)",
        // undeclared entity
        R"(<R-VQSettingTool><Printer name="&x;"/></R-VQSettingTool>)",
        "",
    };
    for (const char* xml : cases)
        EXPECT_FALSE(LoadPrinterModelFromMemory(xml, "A", nullptr)) << xml;
}

// Internal entities, an external entity reading a local file, and ten
// levels of entities each expanding ten times: all refused whole, before
// anything is expanded.
TEST(PrinterDefinition, DocumentTypeDeclarationIsRefused) {
    for (const char* file : {"doctype.xml", "xxe.xml", "entity_bomb.xml"}) {
        SCOPED_TRACE(file);
        std::vector<std::string> names;
        EXPECT_FALSE(LoadPrinterModel(kFixtures + file, "A", &names));
        EXPECT_THAT(names, IsEmpty());
    }
    EXPECT_FALSE(LoadPrinterModelFromMemory(
        R"(<!DOCTYPE R-VQSettingTool SYSTEM "http://127.0.0.1:9/x.dtd"><R-VQSettingTool><Printer name="A"/></R-VQSettingTool>)",
        "A", nullptr));
}

}  // namespace
}  // namespace rvq
