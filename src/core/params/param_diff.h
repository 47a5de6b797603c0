#pragma once

#include <string>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/item_values.h"

namespace rvq::params {

// Shown instead of a password's or key's value.
inline constexpr const char* kSecretShown = "(secret)";
// Shown for an item the printer did not report.
inline constexpr const char* kNotReportedShown = "(not reported)";

// One item a set of a group would write, against what a printer holds.
struct ItemDiff {
    std::string group;
    std::string item;
    std::string printerValue;  // as shown; kSecretShown for a secret
    std::string fileValue;
    bool changed = false;  // the set would send another value than the printer holds
};

// The items the set commands of the groups (by check box id, in that
// order) write, each once: the value `wanted` holds against the value
// `held` holds. Values are compared as the set command would send them.
// Items no reply carries (passwords, keys, files) are shown but not
// compared; an item whose field a short reply lacked counts as changed,
// since what the printer holds is unknown.
std::vector<ItemDiff> DiffGroups(const PrinterModel& wanted, const PrinterModel& held,
                                 const std::vector<int>& groupIds, ShownLanguage language);

}  // namespace rvq::params
