#pragma once

#include <string>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/item_values.h"
#include "core/params/send_state.h"

namespace rvq::params {

// Hands the fields of get command `getCommandId`'s reply (field 0 is the
// header) to every item read by that command: the field at the item's
// offset becomes its read value; an item whose offset lies past the last
// field is marked unavailable. Items with a negative offset are not read.
// Pure on the model: a caller sharing it holds its lock around this call,
// not around the exchange that produced the fields.
void BindGetReply(int getCommandId, const std::vector<std::string>& fields, PrinterModel& model,
                  ShownLanguage language);

// Why a set's read-back did not match.
struct VerifyFailure {
    std::string itemName;
    int pageIndex = 0;   // of the group: its page title is string 703 + pageIndex
    int checkBoxId = 0;  // the group's check box, whose caption names it
    int messageId = 0;   // the item's message text
};

struct VerifyResult {
    bool ok = true;
    VerifyFailure failure;  // when not ok
};

// Compares get command `getCommandId`'s reply with what the set job wrote
// for the groups `groupIds` (check box ids, in job order): every param of
// their set commands that names an item read by this command is decoded in
// compare mode. Items held back are first given the printer's value; a
// param naming no item is ignored. Stops at the first difference.
VerifyResult VerifyGroupReply(const std::vector<int>& groupIds, int getCommandId,
                              const std::vector<std::string>& fields, PrinterModel& model,
                              const SendContext& context, ShownLanguage language);

}  // namespace rvq::params
