#pragma once

#include <string>
#include <vector>

#include "core/params/group_checks.h"
#include "core/params/group_ticks.h"
#include "core/params/pending_changes.h"

namespace rvq {
struct AppContext;
class Document;
class Interaction;
}  // namespace rvq

namespace rvq::params {

// Why a set cannot go ahead.
enum class SetRefusal {
    None,
    NothingTicked,  // no model, or no group to write is ticked: nothing was shown
    CheckFailed,    // a value or a group check refused the set: its message was shown
};

// What a set writes, found before anything goes to the printer.
struct [[nodiscard]] PreparedSet {
    SetRefusal refusal = SetRefusal::None;
    std::vector<int> groups;  // check box ids in model order: the set job's groups
    GroupCheckContext checks;
    // This set's connection change, if its groups make one.
    PendingChanges change;
    // The question asked before the set is sent (1302).
    int confirmId = 0;
    std::string confirmText;

    explicit operator bool() const { return refusal == SetRefusal::None; }
};

// Gathers the ticked groups and, under the model's lock, checks their
// values (CheckValues) and the groups (ValidateGroups, which may complete
// addresses) and detects a change of the printer's own connection. The
// first failure is shown through `interaction` and refuses the set. A set
// that may go ahead forgets what an earlier set acknowledged: a run that
// never reaches the printer acknowledges nothing. The question in the plan
// is left to the caller to ask.
PreparedSet PrepareSet(Document& document, const GroupTicks& ticks, const AppContext& context,
                       bool multiLan, Interaction& interaction);

// After the set job, successful or not. Under the model's lock: the
// connection change is kept with the parts the printer acknowledged (it
// takes a new connection once it acknowledged it, whatever failed
// afterwards) and joins `pending`, which may already hold one from an
// earlier set; after a successful job the read-back values become the
// page values and a change of the printer's control codes joins
// `pending`. When the set had changed the connection, 64820 or 64821 says
// where the tool reaches the printer next. A Multi-LAN run leaves no
// printer in its setting mode.
void FinishSet(Document& document, AppContext& context, const GroupTicks& ticks,
               const PreparedSet& plan, bool jobSucceeded, PendingChanges& pending,
               Interaction& interaction);

}  // namespace rvq::params
