#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_test_support.h"
#include "support/temp_dir.h"

namespace rvq::sim::test {
namespace {

using namespace std::string_literals;

// The ZA reply of the shipped base model for destination QM: character
// code 1, zero font, ribbon width, the LCD language in hexadecimal, the
// contrast, then the adjustments (all 0).
std::vector<std::string> ZaFields(const std::string& contrast) {
    std::vector<std::string> fields = {"ZA   ", "1", "0", "0", "01", contrast};
    fields.resize(25, "0");
    return fields;
}

class SimStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(printer_.loadError().empty()) << printer_.loadError();
        ASSERT_EQ(Send("\x1bZSS\n\0"s).Replies(), "\x01\x02SETTING\x03\x04\r\n");
    }
    Exchange Send(const std::string& bytes) { return test::Send(printer_, decoder_, bytes); }
    // Sends one command with ESC LF NUL and returns the reply.
    std::string Command(const std::string& text) { return Send("\x1b" + text + "\n\0"s).Replies(); }
    std::vector<std::string> Get(const std::string& letters) { return Fields(Command(letters)); }

    SimPrinter printer_{ShippedModel()};
    CommandDecoder decoder_ = printer_.MakeDecoder();
};

TEST_F(SimStore, GetRepliesHoldTheDefinitionDefaults) {
    // Destination QM: the character code and LCD language take its values;
    // the LCD language is shown in hexadecimal.
    EXPECT_EQ(Get("ZA"), ZaFields("4"));
    EXPECT_EQ(Get("ZB"), (std::vector<std::string>{"ZB   ", "B0", "0", "0", "0000000000", "0"}));
    EXPECT_EQ(Get("ZC"), (std::vector<std::string>{"ZC   ", "0", "1B", "0A", "00", "0", "0", "0"}));
    EXPECT_EQ(Get("ZWR20"), (std::vector<std::string>{"ZWR20", "", "2"}));
    // A block the model has no items in answers with no fields.
    EXPECT_EQ(Get("ZN"), (std::vector<std::string>{"ZN   "}));
}

TEST_F(SimStore, SetCommandsChangeWhatTheNextGetReturns) {
    const struct {
        std::string set;
        std::string get;
        std::size_t field;
        std::string expected;
    } cases[] = {
        {"ZA00;+005,-012", "ZA", 6, "+005"},
        {"ZA00;+005,-012", "ZA", 8, "-012"},
        {"ZA07;0", "ZA", 4, "00"},
        {"ZB01;A4", "ZB", 1, "A4"},
        {"ZC03;02,03,17", "ZC", 4, "17"},
        {"ZW05;010,001,002,003", "ZWR00", 2, "10.1.2.3"},
        {"ZW01;my host, 2nd", "ZWR00", 7, "my host, 2nd"},
        {"ZW01;", "ZWR00", 7, ""},
        {"ZT00;240115,103000", "ZT", 1, "24"},  // date and time as six fields
        {"ZT00;240115,103000", "ZT", 6, "00"},
        {"ZO04;13581", "ZO", 1, "1"},
        {"ZW20;OFFICE", "ZWR20", 1, "OFFICE"},
        // An SNMP trap row: its setting and its address, dotted.
        {"ZW15;03,1,192,168,001,010", "ZWR00", 19, "1"},
        {"ZW15;03,1,192,168,001,010", "ZWR00", 20, "192.168.1.10"},
        {"ZW15;03,1,192,168,001,010", "ZWR00", 16, "0.0.0.0"},  // row 1 keeps its address
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fields(Command(c.set)),
                  (std::vector<std::string>{c.set.substr(0, 4) + " ", "90"}))
            << c.set;
        const auto fields = Get(c.get);
        ASSERT_GT(fields.size(), c.field) << c.set;
        EXPECT_EQ(fields[c.field], c.expected) << c.set;
    }
    // The password went to the printer but shows in no reply.
    EXPECT_EQ(printer_.state().secrets.at("ZO04"), "3581");
}

TEST_F(SimStore, RefusedIgnoredAndMisshapenSetsChangeNothing) {
    printer_.config().faults.setAnswers = {{"ZA00", "92"}, {"ZA08", "91"}};
    printer_.config().faults.neverAnswer = {"ZA04"};
    EXPECT_EQ(Fields(Command("ZA00;+005,-012")), (std::vector<std::string>{"ZA00 ", "92"}));
    EXPECT_EQ(Command("ZA04;1"), "");
    EXPECT_EQ(Fields(Command("ZC03;02,03")), (std::vector<std::string>{"ZC03 ", "92"}));
    EXPECT_EQ(Fields(Command("ZW05;10.1.2.3")), (std::vector<std::string>{"ZW05 ", "92"}));
    // "91" is still an acceptance.
    EXPECT_EQ(Fields(Command("ZA08;7")), (std::vector<std::string>{"ZA08 ", "91"}));
    EXPECT_EQ(Get("ZA"), ZaFields("7"));
    EXPECT_EQ(Get("ZC")[4], "00");
    EXPECT_EQ(Get("ZWR00")[2], "192.168.10.20");
    // Unknown keys are not answered.
    EXPECT_EQ(Command("ZA99;1"), "");
    // Out of the setting mode the printer does not take parameter commands.
    ASSERT_EQ(Command("ZSR"), "\x01\x02VPCL   \x03\x04\r\n");
    EXPECT_EQ(Command("ZA"), "");
    EXPECT_EQ(Command("ZA08;3"), "");
    EXPECT_EQ(Command("ZLR10"), "");
}

TEST_F(SimStore, CounterClearResetsTheSelectedCounters) {
    const struct {
        std::string selection;
        std::vector<std::size_t> zeroed;
    } cases[] = {
        {"1", {3}},
        {"0", {8}},
        {"3", {13}},
        {"2", {3, 8, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
    };
    for (const auto& c : cases) {
        SimPrinter fresh(ShippedModel());
        fresh.Handle(
            ReceivedCommand{ReceivedCommand::Kind::Command, kEscCodes, "ZSS", {}, {}, 0, 0});
        CommandDecoder decoder = fresh.MakeDecoder();
        EXPECT_EQ(
            Fields(test::Send(fresh, decoder, "\x1bZS00;" + c.selection + "\n\0"s).Replies())[1],
            "90");
        const auto fields = Fields(test::Send(fresh, decoder, "\x1bZS\n\0"s).Replies());
        ASSERT_EQ(fields.size(), 23u);
        for (std::size_t f : {3, 8, 13, 14, 15, 16, 17, 18, 19, 20, 21}) {
            const bool zeroed = std::find(c.zeroed.begin(), c.zeroed.end(), f) != c.zeroed.end();
            EXPECT_EQ(std::stoll(fields[f]) == 0, zeroed) << c.selection << " field " << f;
        }
    }
    EXPECT_EQ(Fields(Command("ZS00;4"))[1], "92");
}

TEST_F(SimStore, ParameterClearAndFactoryDefaultRestoreTheDefaults) {
    ASSERT_EQ(Fields(Command("ZW21;4"))[1], "90");  // country code
    ASSERT_EQ(Fields(Command("ZS00;1"))[1], "90");  // a counter, which no parameter clear restores
    ASSERT_EQ(Fields(Command("ZS03"))[1], "90");
    EXPECT_EQ(Get("ZWR20")[2], "2");
    ASSERT_EQ(Fields(Command("ZW21;4"))[1], "90");
    // Destination 2 (QQ) has its own country code.
    ASSERT_EQ(Fields(Command("ZS01;2"))[1], "90");
    EXPECT_EQ(Get("ZWR20")[2], "0");
    const auto maintenance = Get("ZS");
    EXPECT_EQ(maintenance[22], "2");
    EXPECT_EQ(std::stoll(maintenance[3]), 0);
    EXPECT_EQ(Fields(Command("ZS01;5"))[1], "92");  // the model has five destinations
    EXPECT_EQ(Get("ZS")[22], "2");
}

TEST(SimStoreModel, RibbonWidthAnswer91AndFoldedItems) {
    // A model whose ribbon width command is numeric and whose four
    // authentication items make one value.
    const rvq::test::TempDir dir;
    const std::string path = dir.Write("defs.xml", R"(<R-VQSettingTool><Printer name="M">
  <GetCommandList><Index>2500</Index></GetCommandList>
  <GroupList><Group name="G" PageIndex="0" CheckBoxID="1"><GetCommand>2500</GetCommand><SetCommandList>
    <Command>2501<Param type="1">RibbonWidth</Param></Command>
    <Command>2502<Param type="13">Authentication-1</Param><Param type="13">Authentication-2</Param><Param type="13">Authentication-3</Param><Param type="13">Authentication-4</Param></Command>
    <Command>2610<Param type="0">7</Param><Param type="1">Other</Param></Command>
  </SetCommandList></Group></GroupList>
  <ItemList GetCmdIndex="2500">
    <Item name="RibbonWidth" type="EditBox_Numeric" offset="1">80</Item>
    <Item name="Authentication-1" type="ComboBox" offset="2"/><Item name="Authentication-2" type="ComboBox" offset="2"/>
    <Item name="Authentication-3" type="ComboBox" offset="2"/><Item name="Authentication-4" type="ComboBox" offset="2"/>
    <Item name="Other" type="EditBox_Numeric" offset="3">5</Item>
  </ItemList></Printer></R-VQSettingTool>)");
    PrinterConfig config;
    config.model = "M";
    config.definitionsPath = path;
    config.lacksDriveVoltage2 = true;
    config.anyMode = true;
    SimPrinter printer(config);
    ASSERT_TRUE(printer.loadError().empty());
    CommandDecoder decoder = printer.MakeDecoder();
    auto command = [&](const std::string& text) {
        return Fields(Send(printer, decoder, "{" + text + "|}").Replies());
    };
    EXPECT_EQ(command("ZW40;110")[1], "91");
    EXPECT_EQ(command("ZW41;031")[1], "90");
    EXPECT_EQ(command("ZW59;7,12")[1], "90");  // the literal 7 is not shown; 12 goes to Other
    EXPECT_EQ(command("ZW41;31")[1], "92");    // the leading 0 is missing
    EXPECT_EQ(command("ZWR40"), (std::vector<std::string>{"ZWR40", "110", "31", "12"}));
}

TEST(SimStoreModel, AMissingModelIsReported) {
    PrinterConfig config = ShippedModel("R-VQ9");
    EXPECT_FALSE(SimPrinter(config).loadError().empty());
}

}  // namespace
}  // namespace rvq::sim::test
