#pragma once

#include <string>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/item_values.h"
#include "core/params/send_state.h"

namespace rvq::params {

// Shown instead of a password's or key's value.
inline constexpr const char* kSecretShown = "(secret)";
// Shown for an item the printer did not report.
inline constexpr const char* kNotReportedShown = "(not reported)";
// Shown for the file's value of an item the set would not send.
inline constexpr const char* kNotSentShown = "(not sent)";

// One item a set of a group would write, against what a printer holds.
struct ItemDiff {
    std::string group;
    std::string item;
    std::string printerValue;  // as shown; kSecretShown for a secret
    std::string fileValue;
    bool changed = false;     // the set would send another value than the printer holds
    int getCommand = 0;       // the get command whose reply carries the item
    bool shortReply = false;  // that reply ended before the item's field
};

// The items the set commands of the groups (by check box id, in that
// order) write, each once: the value `wanted` holds against the value
// `held` holds. Values are compared as the set command would send them.
// Items no reply carries (passwords, keys, files) are shown but not
// compared; an item whose field a short reply lacked counts as changed,
// since what the printer holds is unknown. An item the set leaves out in
// `context` (a service item, a per-printer item of a Multi-LAN run) is
// shown as not sent and never counts as changed.
std::vector<ItemDiff> DiffGroups(const PrinterModel& wanted, const PrinterModel& held,
                                 const std::vector<int>& groupIds, ShownLanguage language,
                                 const SendContext& context = {});

}  // namespace rvq::params
