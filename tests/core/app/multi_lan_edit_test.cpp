#include "core/app/multi_lan_edit.h"

#include <gtest/gtest.h>

#include "core/app/string_ids.h"
#include "core/app/text.h"

namespace rvq {
namespace {

TEST(MultiLanEdit, AddInsertsAfterTheSelectionAndSelectsTheNewRow) {
    std::vector<LanPrinter> list{{"10.0.0.1", 8000}, {"10.0.0.2", 8000}};
    AddOutcome out = AddPrinter(list, 0, "10.0.0.9", 9100);
    EXPECT_TRUE(out.added);
    EXPECT_EQ(out.selected, 1);
    EXPECT_EQ(list[1], (LanPrinter{"10.0.0.9", 9100}));

    out = AddPrinter(list, -1, "printer 4", 8000);
    EXPECT_EQ(out.selected, 3);
    EXPECT_EQ(list.back().host, "printer 4");
}

TEST(MultiLanEdit, AddRefusesDuplicatesInvalidHostsAndAFullList) {
    std::vector<LanPrinter> list{{"10.0.0.1", 8000}};
    AddOutcome out = AddPrinter(list, 0, "10.0.0.1", 9100);
    EXPECT_FALSE(out.added);
    EXPECT_EQ(out.messageId, sid::kMsgHostRegistered);
    EXPECT_EQ(out.selected, 0);

    out = AddPrinter(list, 0, "a.b.c.d", 8000);
    EXPECT_FALSE(out.added);
    EXPECT_EQ(out.messageId, 0);
    EXPECT_FALSE(CanAddPrinter(list, ""));
    EXPECT_EQ(list.size(), 1u);

    list.clear();
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(AddPrinter(list, -1, Format("10.0.1.%d", i), 8000).added);
    EXPECT_FALSE(CanAddPrinter(list, "10.0.2.1"));
    EXPECT_FALSE(AddPrinter(list, -1, "10.0.2.1", 8000).added);
    EXPECT_EQ(list.size(), 50u);
}

TEST(MultiLanEdit, DeleteKeepsTheSelectionInsideTheList) {
    std::vector<LanPrinter> list{{"a", 1}, {"b", 2}, {"c", 3}};
    EXPECT_EQ(DeletePrinter(list, 1), 1);
    EXPECT_EQ(list[1].host, "c");
    EXPECT_EQ(DeletePrinter(list, 1), 0);
    EXPECT_EQ(DeletePrinter(list, 5), -1);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(DeletePrinter(list, 0), -1);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace rvq
