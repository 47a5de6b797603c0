#include "core/params/set_flow.h"

#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/params/model_values.h"
#include "core/params/value_check.h"

namespace rvq::params {

PreparedSet PrepareSet(Document& document, const GroupTicks& ticks, const AppContext& context,
                       bool multiLan, Interaction& interaction) {
    PreparedSet plan;
    plan.checks = {context.serviceMode != ServiceMode::Off, multiLan};
    {
        const std::lock_guard lock(document.modelMutex());
        PrinterModel* model = document.model();
        if (model != nullptr) plan.groups = GatherGroups(*model, ticks, plan.checks.serviceMode);
        if (plan.groups.empty()) {
            plan.refusal = SetRefusal::NothingTicked;
            return plan;
        }
        if (!CheckValues(*model, ticks, plan.checks, context.strings, interaction) ||
            !ValidateGroups(*model, ticks, plan.checks, context.strings, interaction)) {
            plan.refusal = SetRefusal::CheckFailed;
            return plan;
        }
        DetectConnectionChange(*model, ticks, context.settings, context.strings,
                               plan.checks.serviceMode, plan.change);
    }
    document.ClearAcknowledgedItems();
    plan.confirmId = sid::kConfirmSet;
    plan.confirmText = context.strings.Get(sid::kConfirmSet);
    return plan;
}

void FinishSet(Document& document, AppContext& context, const GroupTicks& ticks,
               const PreparedSet& plan, bool jobSucceeded, PendingChanges& pending,
               Interaction& interaction) {
    PendingChanges change = plan.change;
    bool changeDetected = false;
    {
        const std::lock_guard lock(document.modelMutex());
        PrinterModel* model = document.model();
        if (model == nullptr) return;
        changeDetected =
            KeepAcknowledgedChange(*model, ticks, context.settings, context.strings,
                                   plan.checks.serviceMode, document.acknowledgedItems(), change);
        if (change.connectionChanged) {
            pending.connectionChanged = true;
            pending.connection = change.connection;
        }
        if (jobSucceeded) {
            CommitReadValues(*model);
            DetectControlCodeChange(*model, ticks, context.settings, context.strings, pending);
        }
    }
    if (changeDetected) {
        const ConnectionNote note = NextConnectionNote(context.settings, context.strings, pending,
                                                       change.connectionChanged);
        interaction.Info(note.messageId, note.text);
    }
    if (plan.checks.multiLan) context.settingModeState = SettingModeState::Online;
}

}  // namespace rvq::params
