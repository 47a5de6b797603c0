#include "core/params/clock_reply.h"

#include <gtest/gtest.h>

namespace rvq::params {
namespace {

using Fields = std::vector<std::string>;

TEST(JoinClockReply, JoinsWhatIsThereAndNeverReadsPastTheEnd) {
    const struct {
        const char* name;
        Fields reply;
        Fields joined;
    } cases[] = {
        {"six fields",
         {"H", "26", "12", "10", "11", "22", "33"},
         {"H", "26,12,10", "12", "10", "11,22,33", "22", "33"}},
        {"cleared clock",
         {"H", "00", "00", "00", "00", "00", "00"},
         {"H", "00,01,01", "00", "00", "00,00,00", "00", "00"}},
        {"time cut short",
         {"H", "26", "12", "10", "11", "22"},
         {"H", "26,12,10", "12", "10", "11", "22"}},
        {"date cut short", {"H", "26", "12"}, {"H", "26", "12"}},
        {"already joined", {"H", "00,00,00", "11,22,33"}, {"H", "00,01,01", "11,22,33"}},
        {"header only", {"H"}, {"H"}},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) {
        Fields fields = c.reply;
        JoinClockReply(fields);
        EXPECT_EQ(fields, c.joined) << c.name;
    }
}

}  // namespace
}  // namespace rvq::params
