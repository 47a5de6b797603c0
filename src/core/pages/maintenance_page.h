#pragma once

#include <optional>
#include <string_view>

#include "core/app/app_context.h"

#include "core/app/string_ids.h"

namespace rvq {

class Strings;

// The counter list's entries, in list order (string ids).
inline constexpr int kCounterChoiceCount = 5;

// The selection the clear sends for a position of the counter list:
// All 2, FEED 1, PRINT 0, CUT 3. "Others" has no selection the printers
// know, so nothing (the clear is not offered for it).
std::optional<unsigned> CounterSelectionAt(int position);

// The index the parameter clear sends for a destination code: its position
// among the codes "JA", "QM", "QQ", "QP", "CN" (strings 990 to 994).
// Nothing for a code outside that list.
std::optional<unsigned> DestinationClearIndex(const Strings& strings, std::string_view code);

// Which of the self diagnosis page's controls may be used.
struct MaintenanceControls {
    bool perPrinter = true;     // refresh, save, logging, clears, lists, combos
    bool factoryShown = false;  // "Factory Setting..."
    bool factoryEnabled = false;
};

// A Multi-LAN list leaves only the head check and the printer reset, which
// run against every selected printer; the factory setting needs the full
// service mode.
MaintenanceControls MaintenanceControlStates(bool multiLan, ServiceMode serviceMode);

}  // namespace rvq
