#include "core/params/command_args.h"

#include <gtest/gtest.h>

#include "core/params/value_codecs.h"
#include "support/temp_dir.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

const std::vector<test::Entry> kFieldValues = {{"0", "", "0"}, {"1", "", "1"}, {"2", "", "2"},
                                               {"3", "", "3"}, {"4", "", "4"}, {"5", "", "5"},
                                               {"6", "", "6"}, {"7", "", "7"}, {"8", "", "8"}};

class CollectCommandArgsTest : public ::testing::Test {
protected:
    CollectCommandArgsTest() {
        model_.items = {
            NumberItem("Contrast", kind::kNumeric, 3, 0, 10),
            NumberItem("FeedAdjust", kind::kSignNumPoint1, -12),
            NumberItem("Zero", kind::kNumeric, 0),
            NumberItem("Offset", kind::kSignNum, -1),
            EnableItem("DHCP", "Enable"),
            TextItem("DATE", kind::kDate, "24,01,31"),
            TextItem("IPAddress", kind::kIpAddress, "192.168.1.20"),
            TextItem("ESSID", kind::kAscii, "hello"),
            TextItem("Blank", kind::kAscii, ""),
            ListItem("DHCPInput", {{"ASCII", "ASCII", "0"}, {"HEX", "16進", "1"}}, "ASCII"),
            TextItem("DHCPClientID", kind::kHex, "AB"),
            ListItem("Authentication-1", kFieldValues, "1"),
            ListItem("Authentication-2", kFieldValues, "3"),
            ListItem("Authentication-3", kFieldValues, "2"),
            ListItem("Authentication-4", kFieldValues, "6"),
            EnableItem("SystemModePassword", "Enable"),
            TextItem("NewPassword", kind::kAscii, "abcd"),
            TextItem("OldPassword", kind::kAscii, "wxyz"),
            ListItem("ControlCode",
                     {{"Auto", "自動", "0"},
                      {"Standard", "標準", "1"},
                      {"Non-Standard", "非標準", "2"},
                      {"Manual", "手動", "3"}},
                     "Manual"),
            TextItem("ManualCode1", kind::kHexByte, "1B"),
            TextItem("ServerCertificate", kind::kFile, ""),
            NumberItem("PACFileDelete", kind::kSignNum, -2),
            TextItem("PACFile", kind::kFile, ""),
        };
    }

    CommandArgs Collect(int id, const std::vector<std::pair<int, std::string>>& params,
                        SendContext context = {}) {
        SetCommand command{id, {}, {}};
        for (auto& [type, name] : params) {
            command.paramTypes.push_back(type);
            command.paramNames.push_back(name);
        }
        return CollectCommandArgs(command, model_, context);
    }

    ParamItem& Item(const std::string& name) { return *FindItem(model_, name); }

    PrinterModel model_;
};

TEST_F(CollectCommandArgsTest, NumericParamTypes) {
    const struct {
        std::vector<std::pair<int, std::string>> params;
        std::vector<std::uint32_t> numbers;
    } cases[] = {
        {{{0, "5"}, {0, "-1"}}, {5, 0xFFFFFFFFu}},
        {{{1, "Contrast"}, {1, "FeedAdjust"}, {1, "DHCP"}},
         {3, static_cast<std::uint32_t>(-12), 1}},
        {{{6, "Contrast"}, {6, "Zero"}}, {1, 0}},
        {{{7, "Contrast"}, {7, "Zero"}}, {2, 0}},
        {{{8, "DATE"}}, {24, 1, 31}},
        {{{10, "IPAddress"}}, {192, 168, 1, 20}},
        {{{16, "Contrast"}}, {3}},
        {{{5, "NewPassword"}, {11, "DHCPInput"}, {1, "Contrast"}}, {3}},
    };
    for (const auto& c : cases) {
        const CommandArgs args = Collect(1, c.params);
        EXPECT_EQ(args.outcome, ArgsOutcome::Numbers);
        EXPECT_EQ(args.numbers, c.numbers);
        EXPECT_TRUE(args.texts.empty());
    }
}

TEST_F(CollectCommandArgsTest, TextParamTypes) {
    const struct {
        std::vector<std::pair<int, std::string>> params;
        std::vector<std::string> texts;
    } cases[] = {
        {{{2, "ESSID"}, {21, "DHCP"}, {25, "FeedAdjust"}}, {"hello", "1", "-1.2"}},
        {{{15, "ESSID"}}, {"05", "hello"}},
        {{{15, "Blank"}}, {"00", ""}},
        {{{20, "Blank"}, {20, "ESSID"}}, {"000000000000", "hello"}},
        {{{19, "ManualCode1"}}, {"1B"}},
        // Any text param makes the command a text command.
        {{{1, "Contrast"}, {2, "ESSID"}}, {"hello"}},
    };
    for (const auto& c : cases) {
        const CommandArgs args = Collect(2, c.params);
        EXPECT_EQ(args.outcome, ArgsOutcome::Texts);
        EXPECT_EQ(args.texts, c.texts);
    }
}

TEST_F(CollectCommandArgsTest, CommandsThatAreNotSent) {
    const std::vector<std::pair<int, std::string>> cases[] = {
        {{4, "Contrast"}},
        {{18, "Contrast"}},
        {{26, "Contrast"}},
        {{-1, "Contrast"}},
        {{16, "Offset"}, {1, "Contrast"}},
        {{1, "Contrast"}, {2, "NoSuchItem"}},
        {{14, "ServerCertificate"}},  // no file named
    };
    for (const auto& params : cases) EXPECT_EQ(Collect(3, params).outcome, ArgsOutcome::Skip);

    Item("ControlCode").textValue = "Standard";
    EXPECT_EQ(Collect(204, {{19, "ManualCode1"}}).outcome, ArgsOutcome::Skip)
        << "manual codes only in manual mode";
}

TEST_F(CollectCommandArgsTest, HexEntryDecidesHowTheNextTextIsSent) {
    CommandArgs args = Collect(2204, {{11, "DHCPInput"}, {12, "DHCPClientID"}});
    EXPECT_EQ(args.texts, std::vector<std::string>{"4142"});
    EXPECT_NE(Item("DHCPClientID").flag & item_flag::kTextAsHex, 0);

    // Selected under the Japanese interface: the English label decides.
    Item("DHCPInput").textValue = "16進";
    args = Collect(2204, {{22, "DHCPInput"}, {23, "DHCPClientID"}});
    EXPECT_EQ(args.texts, std::vector<std::string>{"AB"});
    EXPECT_EQ(Item("DHCPClientID").flag & item_flag::kTextAsHex, 0);
    EXPECT_EQ(args.outcome, ArgsOutcome::Texts);
}

TEST_F(CollectCommandArgsTest, AuthenticationFieldsBecomeOneCode) {
    const std::vector<std::pair<int, std::string>> four = {{13, "Authentication-1"},
                                                           {13, "Authentication-2"},
                                                           {13, "Authentication-3"},
                                                           {13, "Authentication-4"}};
    EXPECT_EQ(Collect(2501, four).numbers, std::vector<std::uint32_t>{25});
    Item("Authentication-1").textValue = "0";
    Item("Authentication-2").textValue = "2";
    EXPECT_EQ(Collect(2501, four).numbers, std::vector<std::uint32_t>{2})
        << "off: the second field alone";
    EXPECT_TRUE(Collect(2501, {four[0], four[1], four[2]}).numbers.empty());
}

TEST_F(CollectCommandArgsTest, PasswordCommands) {
    const std::string newScrambled = ScramblePassword("abcd");
    const std::string oldScrambled = ScramblePassword("wxyz");

    CommandArgs args =
        Collect(1404, {{5, "NewPassword"}, {5, "OldPassword"}, {3, "SystemModePassword"}});
    EXPECT_EQ(args.texts, (std::vector<std::string>{newScrambled, oldScrambled}));
    args = Collect(508, {{5, "NewPassword"}, {5, "OldPassword"}, {3, "SystemModePassword"}});
    EXPECT_EQ(args.texts, (std::vector<std::string>{oldScrambled, newScrambled}));
    args = Collect(1, {{5, "NewPassword"}, {3, "SystemModePassword"}, {24, "ESSID"}});
    EXPECT_EQ(args.texts, (std::vector<std::string>{"hello", newScrambled}))
        << "other ids: only 24 appends";

    // The stash is per command: without a type 5 first, the passwords are empty.
    args = Collect(1404, {{3, "SystemModePassword"}, {5, "NewPassword"}});
    EXPECT_EQ(args.texts, (std::vector<std::string>{"", ""}));

    args = Collect(1405, {{5, "NewPassword"}, {3, "SystemModePassword"}});
    EXPECT_EQ(args.texts, (std::vector<std::string>{"1", newScrambled}));
    EXPECT_EQ(Item("OldPassword").textValue, "abcd")
        << "the next change starts from the new password";
    EXPECT_EQ(Item("NewPassword").textValue, "abcd");

    Item("SystemModePassword").textValue = "Disable";
    args = Collect(1405, {{5, "NewPassword"}, {3, "SystemModePassword"}});
    EXPECT_EQ(args.texts, (std::vector<std::string>{"0", "5813"}));
    EXPECT_EQ(Item("OldPassword").textValue, "5813");
    EXPECT_EQ(args.outcome, ArgsOutcome::Texts);
}

TEST_F(CollectCommandArgsTest, ControlCodeAutoIsNoted) {
    EXPECT_FALSE(Collect(203, {{1, "ControlCode"}}).controlCodeAuto);
    Item("ControlCode").textValue = "自動";
    EXPECT_TRUE(Collect(203, {{1, "ControlCode"}}).controlCodeAuto);
}

TEST_F(CollectCommandArgsTest, SendStateOfEveryNamedItemDecides) {
    Item("ESSID").flag = item_flag::kService;
    EXPECT_EQ(Collect(2301, {{2, "ESSID"}}).outcome, ArgsOutcome::Skip);
    EXPECT_EQ(Collect(2301, {{2, "ESSID"}}, {ServiceMode::Full, false}).outcome,
              ArgsOutcome::Texts);

    Item("ESSID").flag = item_flag::kNotRestrictedService;
    EXPECT_EQ(Collect(2301, {{2, "ESSID"}}, {ServiceMode::Restricted, false}).outcome,
              ArgsOutcome::Skip);
    EXPECT_EQ(Collect(2301, {{2, "ESSID"}}, {ServiceMode::Full, false}).outcome,
              ArgsOutcome::Texts);

    Item("IPAddress").flag = item_flag::kNotMultiLan;
    Item("IPAddress").textRead = "10.0.0.9";
    Item("IPAddress").textDefault = "0.0.0.0";
    EXPECT_EQ(Collect(2206, {{10, "IPAddress"}}, {ServiceMode::Off, true}).outcome,
              ArgsOutcome::Skip);
    EXPECT_EQ(Item("IPAddress").textRead, "0.0.0.0");

    Item("Contrast").flag = item_flag::kNotOnPrinter;
    EXPECT_EQ(Collect(9, {{1, "Contrast"}}, {ServiceMode::Full, false}).outcome, ArgsOutcome::Skip);
}

TEST_F(CollectCommandArgsTest, FilesBecomeOneBinaryBlock) {
    const rvq::test::TempDir dir;
    Item("ServerCertificate").textValue = dir.Write("server.pem", std::string("CERT\0DATA", 9));
    CommandArgs args = Collect(2804, {{14, "ServerCertificate"}});
    EXPECT_EQ(args.outcome, ArgsOutcome::Binary);
    ASSERT_EQ(args.blocks.size(), 1u);
    EXPECT_EQ(args.blocks[0], std::string("CERT\0DATA", 9));
    EXPECT_EQ(args.numbers, std::vector<std::uint32_t>{9});

    Item("ServerCertificate").textValue = dir.Write("empty.pem", "");
    args = Collect(2804, {{14, "ServerCertificate"}});
    EXPECT_EQ(args.outcome, ArgsOutcome::Binary);
    EXPECT_EQ(args.numbers, std::vector<std::uint32_t>{0});

    Item("ServerCertificate").textValue = dir.File("missing.pem");
    EXPECT_EQ(Collect(2804, {{14, "ServerCertificate"}}).outcome, ArgsOutcome::FileFailed);
    EXPECT_EQ(Collect(2804, {{14, "ServerCertificate"}, {2, "ESSID"}}).outcome,
              ArgsOutcome::FileFailed)
        << "a later param must not send the command without its data";

    Item("PACFile").textValue = dir.Write("auto.pac", "PAC");
    EXPECT_EQ(Collect(2807, {{17, "PACFile"}}).outcome, ArgsOutcome::Binary);
    Item("PACFileDelete").numValue = 0;
    EXPECT_EQ(Collect(2807, {{17, "PACFile"}}).outcome, ArgsOutcome::Skip);
}

}  // namespace
}  // namespace rvq::params
