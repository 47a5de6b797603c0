#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/group_ticks.h"

namespace rvq {
class Interaction;
class Strings;
}  // namespace rvq

namespace rvq::params {

struct GroupCheckContext {
    bool serviceMode = false;  // full or restricted
    bool multiLan = false;     // the interface is "Multi LAN"
};

// The message of the first check that failed, with its values filled in.
struct GroupCheckFailure {
    int messageId = 0;
    std::string text;
};

// The checks run before a set or an export, in their fixed order, each only
// for a ticked group; the first failure ends them. Addresses of the ticked
// TCP/IP, SNMP trap and server groups are completed in place on the way.
// An item the model lacks is not checked.
[[nodiscard]] std::optional<GroupCheckFailure> CheckGroups(PrinterModel& model,
                                                           const GroupTicks& ticks,
                                                           const GroupCheckContext& context,
                                                           const Strings& strings);

// CheckGroups, showing the failure as an error; true when every check passed.
[[nodiscard]] bool ValidateGroups(PrinterModel& model, const GroupTicks& ticks,
                                  const GroupCheckContext& context, const Strings& strings,
                                  Interaction& interaction);

// What the checks of each ticked group find, one failure per group (the
// check's own message, naming the item), without completing anything: for
// a backup, which saves what the printer holds but says what a set of it
// would refuse.
std::vector<GroupCheckFailure> GroupCheckFailures(const PrinterModel& model,
                                                  const GroupTicks& ticks,
                                                  const GroupCheckContext& context,
                                                  const Strings& strings);

// An address with blank fields takes 0 for each of them: "192.168.1." is
// "192.168.1.0". A complete address is returned unchanged.
std::string CompleteAddress(std::string_view text);

}  // namespace rvq::params
