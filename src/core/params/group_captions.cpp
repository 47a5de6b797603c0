#include "core/params/group_captions.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"

namespace rvq::params {

namespace {

// Group check boxes are numbered 4000-4299; their captions sit at the
// same offset from 3700.
constexpr int kFirstCheckBoxId = 4000;
constexpr int kLastCheckBoxId = 4299;

}  // namespace

std::string GroupCaption(const Strings& strings, int checkBoxId) {
    if (checkBoxId < kFirstCheckBoxId || checkBoxId > kLastCheckBoxId) return {};
    const int id = sid::kFirstGroupCaption + (checkBoxId - kFirstCheckBoxId);
    return strings.Has(id) ? strings.Get(id) : std::string();
}

}  // namespace rvq::params
