// The decisions behind the self diagnosis, memory and tool pages: which
// selection and destination index a clear sends, which controls stay
// usable, the PC save area, the job inputs and the font tool start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/app/strings.h"
#include "core/builders/test_print.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/pages/maintenance_page.h"
#include "core/pages/memory_page.h"
#include "core/pages/tool_page.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

TEST(MaintenancePageRules, CounterSelectionByListPosition) {
    const std::vector<std::pair<int, std::optional<unsigned>>> cases{
        {0, 2u}, {1, 1u}, {2, 0u}, {3, 3u}, {4, std::nullopt}, {-1, std::nullopt}};
    for (const auto& [position, selection] : cases)
        EXPECT_EQ(CounterSelectionAt(position), selection) << position;
}

TEST(MaintenancePageRules, DestinationIndexIsThePositionAmongTheKnownCodes) {
    const Strings strings;
    const std::vector<std::pair<std::string, std::optional<unsigned>>> cases{
        {"JA", 0u}, {"QM", 1u},           {"QQ", 2u},           {"QP", 3u},
        {"CN", 4u}, {"qm", std::nullopt}, {"XX", std::nullopt}, {"", std::nullopt}};
    for (const auto& [code, index] : cases)
        EXPECT_EQ(DestinationClearIndex(strings, code), index) << code;
}

TEST(MaintenancePageRules, MultiLanAndServiceModeDecideTheControls) {
    struct Case {
        bool multiLan;
        ServiceMode mode;
        bool perPrinter, factoryShown, factoryEnabled;
    };
    const Case cases[] = {
        {false, ServiceMode::Off, true, false, false},
        {false, ServiceMode::Restricted, true, false, false},
        {false, ServiceMode::Full, true, true, true},
        {true, ServiceMode::Full, false, true, false},
        {true, ServiceMode::Off, false, false, false},
    };
    for (const Case& c : cases) {
        const MaintenanceControls got = MaintenanceControlStates(c.multiLan, c.mode);
        EXPECT_EQ(got.perPrinter, c.perPrinter);
        EXPECT_EQ(got.factoryShown, c.factoryShown);
        EXPECT_EQ(got.factoryEnabled, c.factoryEnabled);
    }
}

PrinterModel MemoryModel(int maxBlock, int blockSize) {
    PrinterModel model;
    model.maxBlock = maxBlock;
    model.blockSize = blockSize;
    return model;
}

TEST(MemoryPageRules, PcSaveIsWhatTheThreeAreasLeave) {
    const PrinterModel model = MemoryModel(24, 128);
    EXPECT_EQ(PcSaveText(model, kDefaultFontBlocks, kDefaultBitmapBlocks,
                         BasicBlocksAt(kDefaultBasicPosition)),
              "1280 KB");
    EXPECT_EQ(PcSaveText(model, 2, 3, 4u), "1920 KB");
    EXPECT_EQ(PcSaveText(model, 0, 14, BasicBlocksAt(0)), "");
    EXPECT_EQ(BasicBlocksAt(0), std::nullopt);
    EXPECT_EQ(BasicBlocksAt(5), 4u);
}

TEST(MemoryPageRules, AllocationListsAndCapacity) {
    const PrinterModel model = MemoryModel(24, 128);
    const std::vector<std::string> choices = AllocationChoices(model);
    ASSERT_EQ(choices.size(), 25u);
    EXPECT_EQ(choices.front(), "0 KB  (0 Block)");
    EXPECT_EQ(choices[14], "1792 KB  (14 Block)");
    EXPECT_EQ(choices.back(), "3072 KB  (24 Block)");
    EXPECT_TRUE(AllocationFits(model, 10, 14, 0u));
    EXPECT_FALSE(AllocationFits(model, 10, 14, 1u));
    EXPECT_TRUE(AllocationFits(model, 10, 14, std::nullopt));
    EXPECT_FALSE(AllocationFits(model, 20, 14, std::nullopt));
}

TEST(MaintenanceInputs, AllocationCarriesTheKeepBasicFlag) {
    const auto kept = MemoryAllocateJobInputs(1, 14, std::nullopt);
    EXPECT_EQ(kept->kind, JobKind::MemoryAllocate);
    ASSERT_TRUE(std::holds_alternative<MemoryAllocateArgs>(kept->args));
    EXPECT_EQ(InputsOf<MemoryAllocateArgs>(*kept).allocation, (MemoryAllocation{1, 14, 0, true}));
    EXPECT_EQ(InputsOf<MemoryAllocateArgs>(*MemoryAllocateJobInputs(0, 14, 3u)).allocation,
              (MemoryAllocation{0, 14, 3, false}));
}

TEST(MaintenanceInputs, TestPrintBlocksKeepTheirOrderAndSizes) {
    const TestPrintData data{"setup", "", "issue command"};
    const auto inputs = TestPrintJobInputs(data);
    EXPECT_EQ(inputs->kind, JobKind::TestPrint);
    const auto& blocks = InputsOf<TestPrintArgs>(*inputs).blocks;
    ASSERT_EQ(blocks.size(), 3u);
    std::vector<std::size_t> sizes;
    sizes.reserve(blocks.size());
    for (const auto& block : blocks) sizes.push_back(block->size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{5, 0, 13}));
    EXPECT_EQ(std::string(blocks[2]->begin(), blocks[2]->end()), "issue command");
}

TEST(ToolPageRules, FontToolOfferedOnlyWithAPathAndNotInJapanese) {
    ToolSettings settings;
    EXPECT_FALSE(FontToolOffered(settings, false));
    settings.fontToolPath = "/opt/font/tool";
    EXPECT_TRUE(FontToolOffered(settings, false));
    EXPECT_FALSE(FontToolOffered(settings, true));
}

TEST(ToolPageRules, AProgramThatCannotStartIsForgotten) {
    test::TempDir dir;
    ToolSettings settings;
    settings.fontToolPath = dir.File("missing-program");
    StartFontTool(settings);
    EXPECT_EQ(settings.fontToolPath, "");

    settings.fontToolPath = dir.Write("not-executable", "#!/bin/sh\n");
    StartFontTool(settings);
    EXPECT_EQ(settings.fontToolPath, "");
}

TEST(ToolPageRules, TheProgramStartsInItsOwnFolder) {
    test::TempDir dir;
    const std::string program = dir.Write("tool.sh", "#!/bin/sh\npwd > started.txt\n");
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    ToolSettings settings;
    settings.fontToolPath = program;
    StartFontTool(settings);
    EXPECT_EQ(settings.fontToolPath, program);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string started;
    while (std::chrono::steady_clock::now() < deadline) {
        started = test::ReadAll(dir.File("started.txt"));
        if (!started.empty() && started.back() == '\n') break;
        std::this_thread::yield();
    }
    EXPECT_EQ(std::filesystem::canonical(started.substr(0, started.size() - 1)),
              std::filesystem::canonical(dir.path()));
}

}  // namespace
}  // namespace rvq
