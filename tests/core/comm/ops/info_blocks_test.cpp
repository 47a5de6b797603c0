// Length fields of the information blocks and the maintenance reply checks.
#include <gtest/gtest.h>

#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/printer_info_read.h"

namespace rvq {
namespace {

std::string Frame(const std::string& header, const std::string& length) {
    return std::string("\x01\x02") + header + length;
}

TEST(InfoBlocks, AnnouncedLengthTakesOnlyDigitsThatFitTheBuffer) {
    const std::string header(17, 'H');
    const struct {
        std::string field;
        std::optional<std::size_t> frameLength;
    } cases[] = {
        {"0100", 127},          {"0000", 27},
        {"1173", 1200},          // exactly the 1200-byte buffer
        {"1174", std::nullopt},  // one past it
        {"01a0", std::nullopt}, {" 100", std::nullopt},
        {"-100", std::nullopt}, {"+100", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnnouncedFrameLength(Frame(header, c.field), kVersionBlock), c.frameLength)
            << c.field;
    }
    // A frame cut before its length field announces nothing.
    EXPECT_EQ(AnnouncedFrameLength(Frame(header, "01"), kVersionBlock), std::nullopt);
    EXPECT_EQ(AnnouncedFrameLength(Frame(std::string(25, 'D'), "33554649"), kDataLogBlock),
              33554688u);
    EXPECT_EQ(AnnouncedFrameLength(Frame(std::string(25, 'D'), "33554650"), kDataLogBlock),
              std::nullopt);
}

TEST(InfoBlocks, SavedTextPutsTheHeaderOnItsOwnLine) {
    const std::string payload = std::string(17, 'H') + "0005" + "ab\r\nc";
    EXPECT_EQ(BlockFileText(payload, kVersionBlock), std::string(17, 'H') + "\r\n\r\nab\r\nc");
    // Too short to hold the length field: nothing to replace.
    EXPECT_EQ(BlockFileText("short", kVersionBlock), "short");
}

TEST(InfoBlocks, SerialFlowIsTheLastSetting) {
    EXPECT_EQ(WithSerialFlow("9600,N,8,1,0", '4'), "9600,N,8,1,4");
    EXPECT_EQ(WithSerialFlow("", '4'), "");
}

// Maintenance reply fields: field 0 the header, counters at 3, 8 and
// 13..21, the destination at 22.
std::vector<std::string> Reply(std::initializer_list<std::pair<std::size_t, const char*>> set) {
    std::vector<std::string> fields(23, "00000000");
    fields[0] = "ZS";
    fields[22] = "0";
    for (const auto& [index, value] : set) fields[index] = value;
    return fields;
}

TEST(MaintenanceChecks, CounterClearLooksOnlyAtTheSelectedCounters) {
    const struct {
        unsigned selection;
        std::vector<std::string> fields;
        bool cleared;
    } cases[] = {
        {kCounterSelectionFeed, Reply({{8, "00001234"}}), true},
        {kCounterSelectionFeed, Reply({{3, "00000001"}}), false},
        {kCounterSelectionPrint, Reply({{3, "00000007"}}), true},
        {kCounterSelectionPrint, Reply({{8, "00000007"}}), false},
        {kCounterSelectionCut, Reply({{13, "00000002"}}), false},
        {kCounterSelectionCut, Reply({{3, "5"}, {8, "5"}}), true},
        {kCounterSelectionAll, Reply({}), true},
        {kCounterSelectionAll, Reply({{21, "00000001"}}), false},
        {kCounterSelectionAll, Reply({{14, ""}}), false},  // an empty counter is not a 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountersCleared(c.selection, c.fields), c.cleared) << "selection " << c.selection;
    }
    // A reply that stops before a checked counter has not shown it cleared.
    std::vector<std::string> shortReply = Reply({});
    shortReply.resize(9);
    EXPECT_TRUE(CountersCleared(kCounterSelectionPrint, shortReply));
    EXPECT_FALSE(CountersCleared(kCounterSelectionCut, shortReply));
    EXPECT_FALSE(CountersCleared(kCounterSelectionAll, shortReply));
}

TEST(MaintenanceChecks, ParameterClearWantsTheDestinationBack) {
    EXPECT_TRUE(DestinationApplied(2, Reply({{22, "2"}})));
    EXPECT_FALSE(DestinationApplied(2, Reply({{22, "1"}})));
    std::vector<std::string> shortReply = Reply({});
    shortReply.resize(22);
    EXPECT_FALSE(DestinationApplied(0, shortReply));
}

}  // namespace
}  // namespace rvq
