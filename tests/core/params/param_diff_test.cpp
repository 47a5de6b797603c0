#include "core/params/param_diff.h"

#include <gtest/gtest.h>

#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::Group;
using test::TextItem;

// Two groups: DISPLAY writes Mode (twice, in two commands, with a literal
// parameter) and Name; PASSWORD writes Secret.
PrinterModel Model() {
    PrinterModel model;
    ParamItem secret = TextItem("Secret", kind::kAscii, "1234");
    secret.encode = true;
    secret.offset = -1;  // never in a reply
    model.items = {EnableItem("Mode", "Enable"), TextItem("Name", kind::kAscii, "front"), secret,
                   TextItem("Other", kind::kAscii, "x")};
    model.groups = {
        Group("DISPLAY", 0, 10, {{1, {"Mode", "0"}, {1, 5}}, {2, {"Name", "Mode"}, {5, 1}}}),
        Group("PASSWORD", 1, 20, {{3, {"Secret"}, {5}}})};
    return model;
}

TEST(ParamDiff, ComparesWhatTheSetWouldSendOncePerItemAndHidesSecrets) {
    PrinterModel wanted = Model();
    PrinterModel held = Model();
    FindItem(wanted, "Name")->textValue = "back";
    FindItem(wanted, "Secret")->textValue = "9999";
    FindItem(held, "Other")->textValue = "changed but in no group";

    const std::vector<ItemDiff> diffs = DiffGroups(wanted, held, {20, 10}, ShownLanguage::English);
    ASSERT_EQ(diffs.size(), 3u);
    EXPECT_EQ(diffs[0].item, "Secret");
    EXPECT_EQ(diffs[0].printerValue, kSecretShown);
    EXPECT_EQ(diffs[0].fileValue, kSecretShown);
    EXPECT_FALSE(diffs[0].changed) << "a printer never shows a password: nothing to compare";
    EXPECT_EQ(diffs[1].item, "Mode");
    EXPECT_EQ(diffs[1].printerValue, "Enable");
    EXPECT_FALSE(diffs[1].changed);
    EXPECT_EQ(diffs[2].item, "Name");
    EXPECT_EQ(diffs[2].group, "DISPLAY");
    EXPECT_EQ(diffs[2].printerValue, "front");
    EXPECT_EQ(diffs[2].fileValue, "back");
    EXPECT_TRUE(diffs[2].changed);
}

TEST(ParamDiff, AnItemAShortReplyLackedCountsAsChangedOneNoReplyCarriesDoesNot) {
    PrinterModel wanted = Model();
    FindItem(wanted, "Name")->offset = -1;  // kept by the tool only, like a certificate file
    FindItem(wanted, "Name")->textValue = "back";
    PrinterModel held = wanted;
    FindItem(held, "Mode")->flag |= item_flag::kNotOnPrinter;
    FindItem(held, "Name")->textValue = "front";
    const std::vector<ItemDiff> diffs = DiffGroups(wanted, held, {10}, ShownLanguage::English);
    ASSERT_EQ(diffs.size(), 2u);
    EXPECT_EQ(diffs[0].printerValue, kNotReportedShown);
    EXPECT_EQ(diffs[0].fileValue, "Enable");
    EXPECT_TRUE(diffs[0].changed) << "the file's value would still be sent";
    EXPECT_EQ(diffs[1].printerValue, kNotReportedShown);
    EXPECT_FALSE(diffs[1].changed);
}

TEST(ParamDiff, AnItemTheSetLeavesOutNeverCountsAsChanged) {
    PrinterModel wanted = Model();
    FindItem(wanted, "Name")->flag |=
        item_flag::kNotMultiLan;  // each printer's own, like its address
    FindItem(wanted, "Mode")->flag |= item_flag::kService;
    PrinterModel held = wanted;
    FindItem(wanted, "Name")->textValue = "back";
    FindItem(wanted, "Mode")->textValue = "Disable";
    const struct {
        SendContext context;
        bool nameChanged;
        bool modeChanged;
    } cases[] = {
        {{ServiceMode::Off, false}, true, false},
        {{ServiceMode::Off, true}, false, false},
        {{ServiceMode::Full, true}, false, true},
    };
    for (const auto& c : cases) {
        const std::vector<ItemDiff> diffs =
            DiffGroups(wanted, held, {10}, ShownLanguage::English, c.context);
        ASSERT_EQ(diffs.size(), 2u);
        EXPECT_EQ(diffs[0].item, "Mode");
        EXPECT_EQ(diffs[0].changed, c.modeChanged);
        EXPECT_EQ(diffs[0].fileValue == kNotSentShown, !c.modeChanged);
        EXPECT_EQ(diffs[1].changed, c.nameChanged);
        EXPECT_EQ(diffs[1].printerValue, "front") << "the printer's value is still shown";
    }
}

}  // namespace
}  // namespace rvq::params
