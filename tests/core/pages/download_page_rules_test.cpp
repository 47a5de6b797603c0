#include <gtest/gtest.h>

#include "core/app/printer_model.h"
#include "core/app/strings.h"
#include "core/builders/basic_encoder.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/ops/basic_download.h"
#include "core/pages/basic_download_page.h"
#include "core/pages/external_character_page.h"

namespace rvq {
namespace {

PrinterModel Flash(int maxBlock = 24, int blockSize = 128) {
    PrinterModel model;
    model.maxBlock = maxBlock;
    model.blockSize = blockSize;
    return model;
}

std::string Text(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

TEST(BasicDownloadPage, AllocationListsAndPcSaveArea) {
    const Strings strings;
    const PrinterModel model = Flash();
    const auto entries = AllocationEntries(strings, model);
    ASSERT_EQ(entries.size(), 25u);
    EXPECT_EQ(entries.front(), "0 KB  (0 Block)");
    EXPECT_EQ(entries[14], "1792 KB  (14 Block)");
    EXPECT_EQ(entries.back(), "3072 KB  (24 Block)");

    const struct {
        BasicAllocationChoice choice;
        std::string shown;
        bool fits;
    } cases[] = {
        {{}, "768 KB", true},             // 24 - 0 - 14 - 4 blocks
        {{0, 14, 0}, "", true},           // No Change
        {{10, 14, 1}, "0 KB", true},      // the flash taken whole
        {{10, 14, 2}, "-128 KB", false},  // one block too many
        {{12, 14, 0}, "", false},         // too many even without BASIC
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice.ttfBlocks * 1000 + c.choice.basicIndex);
        EXPECT_EQ(PcSaveText(strings, model, c.choice), c.shown);
        EXPECT_EQ(AllocationFits(model, c.choice), c.fits);
    }
}

class BasicPageJob : public ::testing::Test {
protected:
    Strings strings_;
    ControlCodes codes_{};
    BasicEncoder main_{strings_, codes_, false};
    BasicEncoder system_{strings_, codes_, false};
    BasicEncoder data_{strings_, codes_, false};
    BasicPageChoice choice_;

    void SetUp() override {
        choice_.files = {{{false, 15, &main_}, {false, 17, &system_}, {false, 19, &data_}}};
    }
    void EncodeMain() {
        ASSERT_TRUE(main_.EncodeBasicProgram(RVQ_FIXTURES_DIR "/basic/LOOPS.BAS", 1));
    }
};

TEST_F(BasicPageJob, StartNeedsAnAllocationThatFitsOrATickedEncodedFile) {
    const PrinterModel model = Flash();
    EXPECT_FALSE(BasicStartEnabled(model, choice_));
    choice_.files[0].use = true;
    EXPECT_FALSE(BasicStartEnabled(model, choice_));  // ticked, nothing chosen yet
    EncodeMain();
    EXPECT_TRUE(BasicStartEnabled(model, choice_));
    choice_.allocate = true;
    choice_.allocation = {20, 14, 0};
    EXPECT_FALSE(BasicStartEnabled(model, choice_));  // would overfill the flash
    choice_.allocation = {};
    choice_.files[0].use = false;
    EXPECT_TRUE(BasicStartEnabled(model, choice_));
}

TEST_F(BasicPageJob, CarriesTheAllocationAndTheTickedFilesAtTheirStartingBlocks) {
    EncodeMain();
    ASSERT_TRUE(data_.EncodeBasicDataFile(RVQ_FIXTURES_DIR "/basic/LOOPS.BAS"));
    choice_.allocate = true;
    choice_.allocation = {0, 14, 0};
    choice_.files[0].use = true;
    choice_.files[0].startBlock = 5;
    // The data file is encoded but not ticked: its step is not taken.
    auto job = MakeBasicPageJob(choice_);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->kind, JobKind::BasicDownload);
    const BasicDownloadArgs& args = InputsOf<BasicDownloadArgs>(*job);
    EXPECT_EQ(args.allocation, (MemoryAllocation{0, 14, 0, true}));
    EXPECT_TRUE(args.allocate);
    EXPECT_EQ(args.mainProgram.length, main_.ProgramCommandLength());
    EXPECT_EQ(args.mainProgram.sourcePath, RVQ_FIXTURES_DIR "/basic/LOOPS.BAS");
    EXPECT_EQ(args.systemProgram.length, 0u);
    EXPECT_EQ(args.dataFile.length, 0u);
    EXPECT_EQ(Text(main_.BlockLoadCommand()).substr(1, 6), "LDB;05");
    const auto firstBuffer = args.mainProgram.buffer;

    // Sent again from another block: the program is the same, the
    // block-load command is rewritten, the first job's buffer untouched.
    choice_.allocation = {0, 14, 5};
    choice_.files[0].startBlock = 7;
    auto again = MakeBasicPageJob(choice_);
    ASSERT_TRUE(again);
    const BasicDownloadArgs& againArgs = InputsOf<BasicDownloadArgs>(*again);
    EXPECT_EQ(againArgs.allocation, (MemoryAllocation{0, 14, 4, false}));
    const auto& second = *againArgs.mainProgram.buffer;
    EXPECT_EQ(std::string(second.begin() + 1, second.begin() + 7), "LDB;07");
    EXPECT_EQ(std::string(firstBuffer->begin() + 1, firstBuffer->begin() + 7), "LDB;05");
    EXPECT_TRUE(std::equal(firstBuffer->begin() + 20, firstBuffer->end(), second.begin() + 20,
                           second.end()));
}

TEST(ExternalCharacterPage, CodeFieldsAndFieldRules) {
    const struct {
        const char* field;
        int code;
    } codes[] = {{"HEX(41)", 0x41},     {"HEX(7f)", 0x7F},     {"HEX(4_)", 0x4}, {"HEX(__)", 0},
                 {"HEX(2020)", 0x2020}, {"HEX(FFFF)", 0xFFFF}, {"", 0}};
    for (const auto& c : codes) EXPECT_EQ(GaijiCodeFromField(c.field), c.code) << c.field;

    EXPECT_EQ(GaijiFieldMaxLength(719), 3);
    EXPECT_EQ(GaijiFieldMaxLength(999), 3);
    EXPECT_EQ(GaijiFieldMaxLength(1000), 4);
    EXPECT_EQ(GaijiFieldMaxLength(5460), 4);

    const struct {
        bool folder;
        int type;
        int spacing;
        bool editable;
    } offsets[] = {{false, 1, 24, true},
                   {false, 51, 24, true},
                   {false, 44, 0, false},
                   {false, 41, 0, false},
                   {true, 1, 0, false}};
    for (const auto& c : offsets) {
        const GaijiOffsetFields f = GaijiOffsetsForType(c.folder, c.type, 24);
        EXPECT_EQ(f.spacing, c.spacing) << c.type;
        EXPECT_EQ(f.editable, c.editable) << c.type;
        EXPECT_EQ(f.left + f.top, 0);
    }
    const Strings strings;
    EXPECT_EQ(MagnificationTexts(strings)[1], "1.0 x 1.0");
}

}  // namespace
}  // namespace rvq
