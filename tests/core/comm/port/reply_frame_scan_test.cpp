#include "core/comm/port/reply_frame_scan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace rvq {
namespace {

struct ScanCase {
    const char* name;
    std::string received;
    bool found;
    std::size_t offset;
    std::size_t length;
};

void PrintTo(const ScanCase& c, std::ostream* out) { *out << c.name; }

class FindReplyFrameTest : public testing::TestWithParam<ScanCase> {};

TEST_P(FindReplyFrameTest, LocatesTheFirstCompleteFrame) {
    const ScanCase& c = GetParam();
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.received.data());
    const auto frame = FindReplyFrame({data, c.received.size()});
    ASSERT_EQ(frame.has_value(), c.found);
    if (!c.found) return;
    EXPECT_EQ(frame->offset, c.offset);
    EXPECT_EQ(frame->length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindReplyFrameTest,
    testing::Values(ScanCase{"plain",
                             std::string("\x01\x02"
                                         "00A\x03\x04\r\n",
                                         9),
                             true, 0, 9},
                    ScanCase{"stray_before_and_after",
                             std::string("zz\x01\x02"
                                         "OK\x03\x04\r\nyy",
                                         12),
                             true, 2, 8},
                    ScanCase{"soh_without_stx_is_stray",
                             std::string("\x01x\x01\x02"
                                         "7\x03\x04\r\n",
                                         9),
                             true, 2, 7},
                    ScanCase{"incomplete_end",
                             std::string("\x01\x02"
                                         "00\x03\x04\r",
                                         7),
                             false, 0, 0},
                    ScanCase{"only_start", std::string("ab\x01\x02", 4), false, 0, 0},
                    ScanCase{"nothing", std::string("garbage"), false, 0, 0},
                    // The end is searched from the third byte after SOH, so an empty
                    // payload does not close the frame; the next end does.
                    ScanCase{"end_too_early", std::string("\x01\x02\x03\x04\r\nX\x03\x04\r\n", 11),
                             true, 0, 11},
                    ScanCase{"first_end_wins",
                             std::string("\x01\x02"
                                         "A\x03\x04\r\nB\x03\x04\r\n",
                                         12),
                             true, 0, 7}),
    [](const testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rvq
