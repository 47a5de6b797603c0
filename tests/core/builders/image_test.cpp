#include <gtest/gtest.h>

#include "basic_test_support.h"

namespace rvq::basic {
namespace {

using test::Build;
using test::Hex;
using test::Slice;

std::string Name(const Bytes& image, std::size_t offset, std::size_t size) {
    return Hex(Slice(image, offset, size));
}

TEST(BasicImage, OneLineMainProgram) {
    const BasicImageResult built = Build({"PRINT 1"}, BasicSlot::Main);
    ASSERT_TRUE(built.result);
    const Bytes& image = built.image;
    ASSERT_EQ(image.size(), 131072u);
    EXPECT_EQ(Name(image, 0x00, 16),
              "54 45 53 54 2E 42 41 53 00 00 00 00 00 00 00 00");  // TEST.BAS, main
    EXPECT_EQ(Name(image, 0x10, 16), "00 00 00 04 00 01 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(Name(image, 0x20, 9), "00 01 00 00 00 00 00 00 FF");
    EXPECT_EQ(Name(image, 0x1CD00, 5), "03 8A 02 01 FF");
    EXPECT_EQ(image.back(), 0xFF);
}

TEST(BasicImage, OneLineSystemModeProgram) {
    const BasicImageResult built = Build({"10 PRINT 1"}, BasicSlot::System);
    ASSERT_TRUE(built.result);
    const Bytes& image = built.image;
    ASSERT_EQ(image.size(), 131072u);
    EXPECT_EQ(image[0x0F], 1);
    EXPECT_EQ(Name(image, 0x10, 16), "00 04 00 01 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(Name(image, 0x20, 5), "00 0A 00 00 FF");
    EXPECT_EQ(Name(image, 0x5200, 5), "03 8A 02 01 FF");
}

// The unused end of every table is 0xFF; the slots themselves start zero.
TEST(BasicImage, UnusedTableAreasAreFilledWithFF) {
    const struct {
        BasicSlot slot;
        std::vector<std::pair<std::size_t, std::size_t>> ranges;
    } cases[] = {
        {BasicSlot::Main,
         {{0x28, 0x13900},
          {0x169F0, 0x17000},
          {0x17578, 0x17600},
          {0x1B480, 0x1B500},
          {0x1BCD0, 0x1BD00},
          {0x1CCA0, 0x1CD00}}},
        {BasicSlot::System,
         {{0x24, 0x2000},
          {0x38F0, 0x3900},
          {0x3E78, 0x3F00},
          {0x4B80, 0x4C00},
          {0x4D90, 0x4E00},
          {0x5120, 0x5200}}},
    };
    for (const auto& c : cases) {
        const BasicImageResult built = Build({"PRINT 1"}, c.slot);
        ASSERT_TRUE(built.result);
        std::size_t tableStart = 0x00;
        for (const auto& [from, to] : c.ranges) {
            for (std::size_t at = from; at < to; ++at) {
                ASSERT_EQ(built.image[at], 0xFF) << std::hex << at;
            }
            if (tableStart != 0) {
                for (std::size_t at = tableStart; at < from; ++at) {
                    ASSERT_EQ(built.image[at], 0x00) << std::hex << at;
                }
            }
            tableStart = to;
        }
    }
}

TEST(BasicImage, CountsAndTables) {
    const BasicImageResult built = Build(
        {"A$=\"X\"", "WHILE A", "DIM B(3)", "WEND", "*LOOP", "FOR I=1 TO 2", "NEXT", "GOTO *LOOP"});
    ASSERT_TRUE(built.result);
    const Bytes& image = built.image;
    EXPECT_EQ(Name(image, 0x14, 12), "00 08 00 03 00 01 00 01 00 01 00 01");
    EXPECT_EQ(Name(image, 0x13900, 3), "41 24 00");  // A$
    EXPECT_EQ(Name(image, 0x13900 + 24, 2), "41 00");
    EXPECT_EQ(Name(image, 0x13900 + 48, 2), "49 00");
    EXPECT_EQ(Name(image, 0x13900 + 72, 1), "00");
    EXPECT_EQ(Name(image, 0x17000, 2), "42 00");
    EXPECT_EQ(Name(image, 0x17600, 16), "4C 4F 4F 50 00 00 00 00 00 00 00 00 00 05 00 00");
    EXPECT_EQ(Name(image, 0x1B500, 5), "00 01 00 03 00");
    EXPECT_EQ(Name(image, 0x1BD00, 5), "00 05 00 06 00");
}

TEST(BasicImage, NamesAreCutAndLabelPositionsUseTheirByteOrder) {
    std::vector<std::string> source(299, "X=1");
    source.emplace_back("*ABCDEFGHIJKL");
    source.emplace_back("ABCDEFGHIJKLMNOPQRS=1");
    const BasicImageResult built = Build(source);
    ASSERT_TRUE(built.result);
    EXPECT_EQ(Name(built.image, 0x17600, 16), "41 42 43 44 45 46 47 48 49 4A 4B 4C 01 2C 00 00");
    EXPECT_EQ(Name(built.image, 0x13900 + 24, 17),
              "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 00");
}

TEST(BasicImage, LineTableKeepsTheLowSixteenBitsOfLineNumbers) {
    const BasicImageResult built = Build({"10 PRINT 1", "65546 PRINT 2", "PRINT 3"});
    ASSERT_TRUE(built.result);
    EXPECT_EQ(Name(built.image, 0x20, 24),
              "00 0A 00 00 00 00 00 00 00 0A 00 00 00 00 00 04 00 03 00 00 00 00 00 08");
}

TEST(BasicImage, ImageGrowsByWholeBlocks) {
    std::vector<std::string> source(100, "PRINT \"" + std::string(200, 'A') + "\"");
    const BasicImageResult built = Build(source, BasicSlot::Main);
    ASSERT_TRUE(built.result);
    // 0x1CD00 + 100 * 204 bytes of code needs a second block.
    EXPECT_EQ(built.image.size(), 2 * 131072u);
    EXPECT_EQ(built.image[0x1CD00 + 100 * 204 - 1], 'A');
    EXPECT_EQ(built.image[0x1CD00 + 100 * 204], 0xFF);
}

}  // namespace
}  // namespace rvq::basic
