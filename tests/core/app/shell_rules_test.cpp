#include <gtest/gtest.h>

#include "core/app/file_filter.h"
#include "core/app/navigation.h"
#include "core/app/string_ids.h"
#include "core/app/window_placement.h"
#include "core/comm/job/progress_view.h"

namespace rvq {
namespace {

TEST(Navigation, ParallelPortsCannotOpenThePagesThatNeedReplies) {
    EXPECT_EQ(CategoryRefusal("LPT2", Category::ParameterSetting), 970);
    EXPECT_EQ(CategoryRefusal("LPT2", Category::Maintenance), 970);
    EXPECT_EQ(CategoryRefusal("LPT2", Category::Download), 0);
    EXPECT_EQ(CategoryRefusal("LPT2", Category::Tool), 0);
    EXPECT_EQ(CategoryRefusal("LAN", Category::ParameterSetting), 0);
}

TEST(Navigation, MenuCommandsFollowTheCategory) {
    EXPECT_TRUE(MenuCommandEnabled(command::kImport, Category::ParameterSetting));
    EXPECT_FALSE(MenuCommandEnabled(command::kImport, Category::Tool));
    EXPECT_FALSE(MenuCommandEnabled(command::kRestoreDisplay, Category::PrinterSetting));
    EXPECT_TRUE(MenuCommandEnabled(command::kRestoreDisplay, Category::Download));
    EXPECT_TRUE(MenuCommandEnabled(command::kAbout, Category::PrinterSetting));
}

TEST(Navigation, ServiceModeOnlyRises) {
    using M = ServiceMode;
    const struct {
        M current, requested, expected;
    } cases[] = {{M::Off, M::Full, M::Full},
                 {M::Restricted, M::Full, M::Full},
                 {M::Off, M::Restricted, M::Restricted},
                 {M::Full, M::Restricted, M::Full},
                 {M::Restricted, M::Restricted, M::Restricted}};
    for (const auto& c : cases) EXPECT_EQ(RaiseServiceMode(c.current, c.requested), c.expected);
}

TEST(WindowPlacement, TenNumbersOrNothing) {
    const auto p = ParseWindowPlacement("0,3,-1,-1,-8,-8,10,20,920,760");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->showCommand, kShowMaximised);
    EXPECT_EQ(p->right - p->left, 910);
    EXPECT_EQ(FormatWindowPlacement(*p), "0,3,-1,-1,-8,-8,10,20,920,760");
    for (const char* bad : {"", "1,2,3", "0,1,0,0,0,0,10,20,x,40", "0,1,0,0,0,0,100,100,100,400"}) {
        EXPECT_FALSE(ParseWindowPlacement(bad)) << bad;
    }
    EXPECT_EQ(DefaultWindowSize(false).width, 910);
    EXPECT_EQ(DefaultWindowSize(true).height, 695);
}

TEST(ProgressView, ButtonsAndPictureAfterEachOutcome) {
    const ProgressButtons running = ButtonsFor(false, false, false, true);
    EXPECT_EQ(running.closeLabelId, sid::kLabelCancel);
    EXPECT_FALSE(running.logging || running.retry || running.errorList);

    const ProgressButtons success = ButtonsFor(true, false, false, true);
    EXPECT_EQ(success.closeLabelId, sid::kLabelClose);
    EXPECT_TRUE(success.logging);
    EXPECT_FALSE(success.retry || success.errorList);

    const ProgressButtons failure = ButtonsFor(true, true, false, false);
    EXPECT_TRUE(failure.retry);
    EXPECT_FALSE(failure.errorList);
    EXPECT_TRUE(ButtonsFor(true, true, false, true).errorList);

    const ProgressButtons cancelled = ButtonsFor(true, true, true, true);
    EXPECT_EQ(cancelled.closeLabelId, sid::kLabelCancel);
    EXPECT_TRUE(cancelled.retry && cancelled.errorList);

    EXPECT_EQ(PictureFor(false, RunState::Running, 0), StatusPicture::Running);
    EXPECT_EQ(PictureFor(true, RunState::Succeeded, 1501), StatusPicture::Succeeded);
    EXPECT_EQ(PictureFor(true, RunState::Failed, 1502), StatusPicture::Failed);
    EXPECT_EQ(PictureFor(true, RunState::Failed, 1503), StatusPicture::Cancelled);
    EXPECT_EQ(OverallPercent(250, 500), 50);
    EXPECT_EQ(OverallPercent(10, 0), 0);
}

TEST(FileFilter, DialogFiltersAndDefaultExtension) {
    const auto entries = ParseFileFilter("CSV Files(*.CSV)|*.CSV|All Files(*.*)|*.*||");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "CSV Files");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.CSV", "*.csv"}));
    EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*"}));
    EXPECT_EQ(WithDefaultExtension("/tmp/log", "CSV"), "/tmp/log.CSV");
    EXPECT_EQ(WithDefaultExtension("/tmp/log.txt", "CSV"), "/tmp/log.txt");
    EXPECT_EQ(WithDefaultExtension("/tmp.d/log", "CSV"), "/tmp.d/log.CSV");
}

}  // namespace
}  // namespace rvq
