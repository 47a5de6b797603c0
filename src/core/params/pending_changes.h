#pragma once

#include <string>

#include "core/app/printer_model.h"
#include "core/app/tool_settings.h"
#include "core/params/group_ticks.h"

namespace rvq {
class Strings;
}

namespace rvq::params {

// What the tool must change in its own settings once a set that changed
// the printer's interface or control codes has been followed by a restore
// to online.
struct PendingChanges {
    bool connectionChanged = false;
    std::string connection;  // the settings string of the new connection ("9600,N,8,1,0",
                             // "HOST,PORT", USB filter)
    bool codesChanged = false;
    std::string codeMode;  // the tool's control-code mode name ("AUTO", "Manual", ...)
    ControlCodes codes;
};

// From the items of the ticked groups: the printer will answer on another
// line, address, port or USB serial number after its restart.
void DetectConnectionChange(const PrinterModel& model, const GroupTicks& ticks,
                            const ToolSettings& settings, const Strings& strings, bool serviceMode,
                            PendingChanges& pending);

// After a successful set with the command group ticked: the printer's
// control codes differ from the ones the tool uses.
void DetectControlCodeChange(const PrinterModel& model, const GroupTicks& ticks,
                             const ToolSettings& settings, const Strings& strings,
                             PendingChanges& pending);

// Stores the pending values into the settings and clears both flags.
// Returns whether anything changed.
bool ApplyPendingChanges(ToolSettings& settings, PendingChanges& pending);

}  // namespace rvq::params
