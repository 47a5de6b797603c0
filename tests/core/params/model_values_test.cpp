#include "core/params/model_values.h"

#include <gtest/gtest.h>

#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::NumberItem;
using test::TextItem;

PrinterModel TwoPageModel() {
    PrinterModel model;
    model.items = {NumberItem("Contrast", kind::kNumeric, 4), EnableItem("DHCP", "Disable"),
                   TextItem("NewPassword", kind::kAscii, "5813"),
                   TextItem("ESSID", kind::kAscii, "")};
    model.groups = {
        test::Group("DISPLAY_GROUP", 0, 4058, {{9, {"Contrast"}, {1}}, {99, {"3"}, {0}}}),
        test::Group("SERVER_GROUP", 3, 4105,
                    {{2209, {"DHCP"}, {1}}, {2301, {"ESSID", "NoSuchItem"}, {2, 2}}}),
    };
    return model;
}

void Edit(PrinterModel& model) {
    FindItem(model, "Contrast")->numValue = 9;
    FindItem(model, "DHCP")->textValue = "Enable";
    FindItem(model, "NewPassword")->textValue = "abcd";
    FindItem(model, "ESSID")->textValue = "office";
}

TEST(ModelValues, SeedThenCommitKeepsUnreportedItemsAndResetsNeverReportedOnes) {
    PrinterModel model = TwoPageModel();
    Edit(model);
    SeedReadValues(model);
    EXPECT_EQ(FindItem(model, "Contrast")->numRead, 9);
    EXPECT_EQ(FindItem(model, "DHCP")->textRead, "Enable");
    EXPECT_EQ(FindItem(model, "NewPassword")->textRead, "5813");
    EXPECT_EQ(FindItem(model, "NewPassword")->textValue, "5813");

    FindItem(model, "Contrast")->numRead = 2;  // what a get reported
    CommitReadValues(model);
    EXPECT_EQ(FindItem(model, "Contrast")->numValue, 2);
    EXPECT_EQ(FindItem(model, "ESSID")->textValue, "office") << "not reported: kept";
}

TEST(ModelValues, RestoreDefaultsOfOnePageOrAll) {
    PrinterModel model = TwoPageModel();
    Edit(model);
    FindItem(model, "ESSID")->textRead = "read";
    RestoreDefaults(model, 3);
    EXPECT_EQ(FindItem(model, "DHCP")->textValue, "Disable");
    EXPECT_EQ(FindItem(model, "ESSID")->textValue, "");
    EXPECT_EQ(FindItem(model, "ESSID")->textRead, "read") << "read values stay";
    EXPECT_EQ(FindItem(model, "Contrast")->numValue, 9) << "another page";

    RestoreDefaults(model, std::nullopt);
    EXPECT_EQ(FindItem(model, "Contrast")->numValue, 4);
    EXPECT_EQ(FindItem(model, "NewPassword")->textValue, "abcd") << "in no set command";

    ResetAllToDefaults(model);
    EXPECT_EQ(FindItem(model, "NewPassword")->textValue, "5813");
    EXPECT_EQ(FindItem(model, "ESSID")->textRead, "");
}

}  // namespace
}  // namespace rvq::params
