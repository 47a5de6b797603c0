#pragma once

#include <string>
#include <vector>

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

// After a set job, successful or not: a detected connection change is
// kept with the parts whose items are in `acknowledged` (the items of the
// set commands the printer acknowledged), the others staying as the tool
// has them; nothing is kept when no part was acknowledged. The printer
// takes a change once it acknowledged it, whatever failed later. Returns
// whether a change had been detected.
bool KeepAcknowledgedChange(const PrinterModel& model, const GroupTicks& ticks,
                            const ToolSettings& settings, const Strings& strings, bool serviceMode,
                            const std::vector<std::string>& acknowledged, PendingChanges& pending);

// What the operator is told once a set that changed the connection has
// ended: 64820 and the connection the printer took, or 64821 and the one
// the tool keeps using ("LAN 10.0.0.5,9100", "COM3 19200,N,8,1,0").
struct ConnectionNote {
    int messageId = 0;
    std::string text;
};
ConnectionNote NextConnectionNote(const ToolSettings& settings, const Strings& strings,
                                  const PendingChanges& pending, bool printerTookIt);

// After a successful set with the command group ticked: the printer's
// control codes differ from the ones the tool uses.
void DetectControlCodeChange(const PrinterModel& model, const GroupTicks& ticks,
                             const ToolSettings& settings, const Strings& strings,
                             PendingChanges& pending);

// The codes the items "ManualCode1" to "ManualCode3" hold, each read as a
// hexadecimal byte (a missing item reads as 0).
ControlCodes ManualControlCodes(const PrinterModel& model);

// Stores the pending values into the settings and clears both flags.
// Returns whether anything changed.
bool ApplyPendingChanges(ToolSettings& settings, PendingChanges& pending);

}  // namespace rvq::params
