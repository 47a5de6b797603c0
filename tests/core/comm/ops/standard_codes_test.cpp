// A set that puts the printer on its automatic control codes: the job
// frames with ESC LF NUL from then on, and a single printer's tool settings
// follow.
#include <gtest/gtest.h>

#include "core/comm/ops/parameter_operations.h"
#include "support/temp_dir.h"

#include "core/app/app_context.h"
#include "core/app/tool_settings_file.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/operations.h"
#include "core/comm/port/command_channel.h"

namespace rvq {
namespace {

struct NoSink : JobSink {
    void Line(int, const std::string&, const std::string&) override {}
    void Progress(int, int) override {}
};

constexpr ControlCodes kStandard{0x1B, 0x0A, 0x00};

TEST(SwitchToStandardCodes, OnlyOtherCodesSwitchAndOnlyASinglePrinterChangesTheSettings) {
    const struct {
        const char* name;
        ControlCodes codes;
        bool multiLan;
        bool switches;
        bool settingsChange;
    } cases[] = {
        {"manual codes", {0x01, 0x02, 0x03}, false, true, true},
        {"manual codes, Multi LAN", {0x01, 0x02, 0x03}, true, true, false},
        {"standard codes", kStandard, false, false, false},
        {"braces", {'{', '|', '}'}, false, false, false},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        AppContext context;
        context.settings.iniPath = dir.File("VQTool.INI");
        context.settings.settingsWritable = true;
        context.settings.controlCodeType = "Manual";
        context.settings.controlCodes = c.codes;
        NoSink sink;
        JobReporter reporter(context.strings, sink, context.cancelRequested, "LAN", 786, c.multiLan,
                             0);
        JobSetup setup;
        setup.connection = {"LAN", "127.0.0.1,9100"};
        setup.multiLan = c.multiLan;
        setup.controlCodes = c.codes;
        PrinterJob job(setup, reporter, context);
        CommandChannel channel(context.strings, c.codes, CodePage::Western1252, 1000);

        EXPECT_EQ(SwitchToStandardCodes(job, channel), c.switches) << c.name;
        const ControlCodes expected = c.switches ? kStandard : c.codes;
        EXPECT_EQ(job.codes(), expected) << c.name;
        EXPECT_EQ(channel.controlCodes(), expected) << c.name;
        EXPECT_EQ(job.fixed().statusRequest, BuildFixedCommands(expected).statusRequest) << c.name;

        const ToolSettings saved =
            LoadToolSettings(context.settings.iniPath, dir.path(), context.strings);
        if (c.settingsChange) {
            EXPECT_EQ(context.settings.controlCodeType, "AUTO") << c.name;
            EXPECT_EQ(context.settings.controlCodes, kStandard) << c.name;
            EXPECT_EQ(saved.controlCodeType, "AUTO") << c.name;
            EXPECT_EQ(saved.controlCodes, kStandard) << c.name;
        } else {
            EXPECT_EQ(context.settings.controlCodeType, "Manual") << c.name;
            EXPECT_EQ(context.settings.controlCodes, c.codes) << c.name;
        }
    }
}

}  // namespace
}  // namespace rvq
