#include "core/comm/ops/firmware_rules.h"

#include <gtest/gtest.h>

namespace rvq {
namespace {

// Positions in the order BOOT, BOOT2, MAIN, MAIN2.
FirmwareSectionIndices At(int boot, int boot2, int main, int main2) {
    return {boot, boot2, main, main2};
}

TEST(FirmwareRules, BankTypeFromTheImagesInTheList) {
    struct Case {
        FirmwareSectionIndices indices;
        std::optional<char> type;
    };
    const Case cases[] = {
        {At(-1, -1, -1, -1), 'C'},  // fonts or web pages only
        {At(0, -1, 1, -1), 'C'},          {At(-1, 0, -1, 1), 'N'},
        {At(-1, -1, -1, 0), 'N'},         {At(0, -1, -1, 1), std::nullopt},  // BOOT with MAIN2
        {At(-1, 0, 1, -1), std::nullopt},                                    // BOOT2 with MAIN
        {At(0, 1, -1, -1), std::nullopt}, {At(-1, -1, 0, 1), std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BankTypeFromSections(c.indices), c.type)
            << c.indices[0] << "," << c.indices[1] << "," << c.indices[2] << "," << c.indices[3];
    }
}

TEST(FirmwareRules, ABankTypeSkipsTheOtherBanksBootAndMain) {
    // BOOT, BOOT2, MAIN, MAIN2, C/G as the sorted list holds them.
    const FirmwareSectionIndices indices = At(0, 1, 2, 3);
    std::vector<int> sentToN, sentToC;
    for (int i = 0; i < 5; ++i) {
        if (SendsFirmwareBlock('N', i, indices)) sentToN.push_back(i);
        if (SendsFirmwareBlock('C', i, indices)) sentToC.push_back(i);
    }
    EXPECT_EQ(sentToN, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(sentToC, (std::vector<int>{0, 2, 4}));
    EXPECT_TRUE(SendsFirmwareBlock('N', 0, At(-1, -1, -1, -1)));
}

TEST(FirmwareRules, WrittenStatusTimeOuts) {
    constexpr int kT = 20000;
    constexpr std::uint32_t kMb = 1048580;  // 1 MB image + 4
    EXPECT_EQ(WrittenStatusTimeoutMs(kMb, DownloadLink::Lan, kT), 16 * 1500 + kT + 10000);
    EXPECT_EQ(WrittenStatusTimeoutMs(kMb, DownloadLink::Usb, kT), 16 * 1500 + kT + 10000 + 15000);
    EXPECT_EQ(WrittenStatusTimeoutMs(kMb, DownloadLink::MultiLan, kT), 16 * 3000 + kT + 10000);
    EXPECT_EQ(WrittenStatusTimeoutMs(kMb, DownloadLink::Serial, kT), 10 * 1000 + kT - 2000 - 5000);
    // Past 6000000 bytes the slow-link waits get 20 s more.
    EXPECT_EQ(WrittenStatusTimeoutMs(6000001, DownloadLink::Serial, kT),
              60000 + 20000 + kT - 2000 - 5000);
    EXPECT_EQ(PlainWrittenWaitMs(6000000, kT), 60000 + kT - 2000);
    EXPECT_EQ(PlainWrittenWaitMs(6000001, kT), 60000 + 20000 + kT - 2000);
    // A serial wait of at most 5 s is not shortened; a tiny time-out never goes negative.
    EXPECT_EQ(WrittenStatusTimeoutMs(1000, DownloadLink::Serial, 7000), 5000);
    EXPECT_EQ(WrittenStatusTimeoutMs(1000, DownloadLink::Serial, 1000), 0);
    EXPECT_EQ(PlainWrittenWaitMs(1000, 1000), 0);
}

}  // namespace
}  // namespace rvq
