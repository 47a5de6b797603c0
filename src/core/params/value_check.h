#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/app/printer_model.h"
#include "core/params/group_checks.h"
#include "core/params/group_ticks.h"

namespace rvq {
class Strings;
}

namespace rvq::params {

// A value no control of the pages could hold: it is refused before
// anything goes to the printer.
struct BadValue {
    const ParamItem* item = nullptr;
    std::string value;   // as the item holds it
    std::string reason;  // what the item takes instead, as a sentence
};

// Why the item's control could not hold `value`, or nothing when it could:
// a list takes one of its labels (in either language); a number stays
// within MinValue..MaxValue (so no sign on an unsigned kind); a text takes
// at most MaxLength characters; an address four numbers 0..255, blank
// ones allowed (they are completed as 0).
std::optional<std::string> ValueProblem(const ParamItem& item, std::string_view value,
                                        const Strings& strings);

// The first item, in group and command order, of the ticked groups whose
// value cannot be held. Items that are not sent under `context` (service
// items outside the service mode, per-printer items in a Multi-LAN run,
// items the printer lacks) are not looked at.
std::optional<BadValue> FindBadValue(const PrinterModel& model, const GroupTicks& ticks,
                                     const GroupCheckContext& context, const Strings& strings);

// The message for it (message 64800): the value, the item, its page and
// the reason.
std::string BadValueMessage(const BadValue& bad, const Strings& strings);

// FindBadValue, showing the failure as an error; true when every value
// can be set.
[[nodiscard]] bool CheckValues(const PrinterModel& model, const GroupTicks& ticks,
                               const GroupCheckContext& context, const Strings& strings,
                               Interaction& interaction);

}  // namespace rvq::params
