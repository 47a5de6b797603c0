#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/app/printer_definition.h"
#include "core/app/strings.h"
#include "core/params/page_layout.h"

namespace rvq::params {
namespace {

const std::string kDefinitionFile = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";

// The layout lays out exactly what the definition file's groups hold: a
// control missing from the table would vanish from its page, one listed
// twice or under the wrong group would show in two places.
TEST(ParameterLayout, PlacesEveryGroupControlOfEveryModelOnceUnderItsGroup) {
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(kDefinitionFile, "", &names);
    ASSERT_FALSE(names.empty());
    std::map<int, int> placed;  // control id -> check box id
    for (const LayoutGroup& group : ParameterLayout())
        for (const LayoutRow& row : group.rows)
            for (const LayoutControl& control : row.controls) {
                EXPECT_TRUE(placed.emplace(control.ctrlId, group.checkBoxId).second)
                    << "control " << control.ctrlId << " laid out twice";
            }
    for (const std::string& name : names) {
        const std::unique_ptr<PrinterModel> model =
            LoadPrinterModel(kDefinitionFile, name, nullptr);
        ASSERT_NE(model, nullptr) << name;
        for (const ParamGroup& group : model->groups) {
            const LayoutGroup* layout = FindLayoutGroup(group.checkBoxId);
            ASSERT_NE(layout, nullptr) << name << " group " << group.name;
            EXPECT_EQ(layout->pageIndex, group.pageIndex) << group.name;
            for (int ctrlId : group.ctrlIds) {
                const auto found = placed.find(ctrlId);
                ASSERT_NE(found, placed.end()) << name << " control " << ctrlId;
                EXPECT_EQ(found->second, group.checkBoxId) << name << " control " << ctrlId;
            }
        }
    }
}

TEST(ParameterLayout, UnitsAreNumberedTexts) {
    const Strings strings;
    const struct {
        int ctrlId;
        const char* unit;
    } cases[] = {{4857, "min"}, {4805, "mm"}, {4802, "V"}, {5058, "labels"}, {5062, "sec"}};
    for (const auto& c : cases) {
        const LayoutRow* hit = nullptr;
        for (const LayoutGroup& group : ParameterLayout())
            for (const LayoutRow& row : group.rows)
                for (const LayoutControl& control : row.controls)
                    if (control.ctrlId == c.ctrlId) hit = &row;
        ASSERT_NE(hit, nullptr) << c.ctrlId;
        EXPECT_EQ(strings.Get(hit->unitId), c.unit) << c.ctrlId;
    }
    EXPECT_EQ(ShapeOf(5057), ControlShape::Password);
    EXPECT_EQ(ShapeOf(4804), ControlShape::Shown);
    EXPECT_EQ(ShapeOf(4801), ControlShape::Auto);
}

}  // namespace
}  // namespace rvq::params
