#include "core/params/clock_reply.h"

namespace rvq::params {

namespace {

constexpr std::size_t kDateField = 1;
constexpr std::size_t kTimeField = 4;

void JoinThree(std::vector<std::string>& fields, std::size_t first) {
    if (fields.size() < first + 3) return;
    fields[first] += "," + fields[first + 1] + "," + fields[first + 2];
}

}  // namespace

void JoinClockReply(std::vector<std::string>& fields) {
    JoinThree(fields, kDateField);
    JoinThree(fields, kTimeField);
    if (fields.size() > kDateField && fields[kDateField] == "00,00,00")
        fields[kDateField] = "00,01,01";
}

}  // namespace rvq::params
