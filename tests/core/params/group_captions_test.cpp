#include "core/params/group_captions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/printer_definition.h"
#include "core/app/strings.h"
#include "support/temp_dir.h"

namespace rvq::params {
namespace {

TEST(GroupCaption, NamesGroupCheckBoxesAndNothingElse) {
    const Strings strings;
    const struct {
        int checkBoxId;
        const char* caption;
    } cases[] = {
        {4000, "Image"},  {4053, "Password"}, {4101, "CENTRO."},
        {4103, "TCP/IP"}, {4253, "Retry"},    {3999, ""},  // just below the check boxes
        {4007, ""},                                        // a gap between groups
        {4300, ""},                                        // past the check boxes
        {4401, ""},                                        // an item control
        {0, ""},          {-4000, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GroupCaption(strings, c.checkBoxId), c.caption) << c.checkBoxId;
}

TEST(GroupCaption, FollowsTheLoadedLanguage) {
    test::TempDir dir;
    Strings strings;
    ASSERT_TRUE(strings.LoadOverlay(dir.Write("lang.strings", "3753\tパスワード\n")));
    EXPECT_EQ(GroupCaption(strings, 4053), "パスワード");
    EXPECT_EQ(GroupCaption(strings, 4000), "Image");
}

// A group without a caption would leave a failure line naming only its page.
TEST(GroupCaption, EveryGroupOfTheShippedDefinitionHasOne) {
    const std::string file = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(file, "", &names);
    ASSERT_FALSE(names.empty());
    const Strings strings;
    for (const std::string& name : names) {
        const auto model = LoadPrinterModel(file, name, nullptr);
        ASSERT_TRUE(model) << name;
        for (const ParamGroup& group : model->groups)
            EXPECT_FALSE(GroupCaption(strings, group.checkBoxId).empty())
                << name << " group " << group.checkBoxId;
    }
}

}  // namespace
}  // namespace rvq::params
