#include "core/params/ribbon_width.h"

#include <gtest/gtest.h>

#include "test_items.h"

namespace rvq::params {
namespace {

TEST(RibbonWidth, A91AnswerMarksTheSecondDriveVoltagesUnavailable) {
    const SetCommand ribbon{1207, {"RibbonWidth", "DriveVoltage2(Feed)"}, {1, 1}};
    const SetCommand other{1207, {"DriveVoltage2(Feed)", "RibbonWidth"}, {1, 1}};
    EXPECT_TRUE(IsRibbonWidthCommand(ribbon));
    EXPECT_FALSE(IsRibbonWidthCommand(other));

    PrinterModel model;
    for (const char* name :
         {"DriveVoltage2(Take-up)-PC", "DriveVoltage2(Take-up)", "DriveVoltage2(Feed)-PC",
          "DriveVoltage2(Feed)", "DriveVoltage1(Feed)"}) {
        model.items.push_back(test::NumberItem(name, kind::kNumeric, 0));
    }
    EXPECT_FALSE(ApplyRibbonWidthAcknowledgement(model, "90"));
    EXPECT_EQ(FindItem(model, "DriveVoltage2(Feed)")->flag, 0);

    EXPECT_TRUE(ApplyRibbonWidthAcknowledgement(model, "91"));
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(model.items[i].flag, item_flag::kNotOnPrinter) << model.items[i].name;
    EXPECT_EQ(FindItem(model, "DriveVoltage1(Feed)")->flag, 0);
}

}  // namespace
}  // namespace rvq::params
