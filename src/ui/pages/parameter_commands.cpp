// The parameter pages' buttons and menu commands: get, set, the Edit and
// View menu commands, import and export.
#include <QDialog>
#include <mutex>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/navigation.h"
#include "core/app/printer_model.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/ops/parameter_inputs.h"
#include "core/params/model_values.h"
#include "core/params/set_flow.h"
#include "core/params/settings_transfer.h"
#include "ui/file_dialogs.h"
#include "ui/pages/parameter_page.h"
#include "ui/ui_services.h"

namespace rvq::ui {

namespace {

// The items the printer does not report: after a get they keep what their
// fields show.
const char* const kFileItems[] = {"ServerCertificate", "ClientCertificate", "KeyFile",
                                  "RandomSeed",        "PACFile",           "PACFileDelete"};

// Password fields hidden again after any get, and in addition after a
// successful one.
const std::set<int> kMaskedAfterGet = {4960, 4961, 4962, 4963, 5000, 5002, 5007, 5010, 5057};
const std::set<int> kMaskedAfterGoodGet = {4855, 4856, 5055, 5056};
// Hidden again by Restore to Default.
const std::set<int> kMaskedByRestore = {4960, 4961, 4962, 4963, 5000, 5007,
                                        5010, 5057, 4855, 4856, 5055, 5056};
// Hidden again by an import, which may have filled them.
const std::set<int> kMaskedByImport = {4855, 4856, 5000, 5055, 5056, 5057};

std::set<int> Union(const std::set<int>& a, const std::set<int>& b) {
    std::set<int> all = a;
    all.insert(b.begin(), b.end());
    return all;
}

}  // namespace

bool ParameterPage::RunJob(std::shared_ptr<const JobInputs> inputs) {
    if (!services_.runJob) return false;
    return services_.runJob(this, std::move(inputs)) == QDialog::Accepted;
}

void ParameterPage::GetParameters() {
    const PrinterModel* model = services_.document.model();
    if (!model) return;
    for (ParameterPage* page : set_.pages) page->StoreValues();
    const bool done = RunJob(GetParameterJobInputs(model->getCommandIndexes));
    for (ParameterPage* page : set_.pages) {
        const std::lock_guard lock(services_.document.modelMutex());
        for (const Field& field : page->fields_) {
            ParamItem* item = page->ItemOf(field.ctrlId);
            if (!item) continue;
            for (const char* name : kFileItems)
                if (item->name == name) page->ReadItem(*item, field.widget);
        }
    }
    for (ParameterPage* page : set_.pages)
        page->MaskPasswords(done ? Union(kMaskedAfterGet, kMaskedAfterGoodGet) : kMaskedAfterGet);
    if (done) {
        RefreshAll();
        return;
    }
    for (ParameterPage* page : set_.pages) page->UpdateButtons();
}

void ParameterPage::SetParameters() {
    if (!services_.document.model()) return;
    for (ParameterPage* page : set_.pages) page->StoreValues();
    AppContext& context = services_.context;
    const params::PreparedSet plan = params::PrepareSet(services_.document, set_.ticks, context,
                                                        multiLan_, services_.interaction);
    if (!plan || !services_.interaction.Confirm(plan.confirmId, plan.confirmText)) return;
    const bool done = RunJob(SetParameterJobInputs(plan.groups));
    // A connection change of an earlier set stays pending beside this
    // one's until the restore.
    params::FinishSet(services_.document, context, set_.ticks, plan, done, set_.pending,
                      services_.interaction);
    RefreshAll();
}

bool ParameterPage::HandleCommand(int command) {
    PrinterModel* model = services_.document.model();
    switch (command) {
        case command::kEnableAll:
        case command::kDisableAll:
            for (ParameterPage* page : set_.pages) page->TickAll(command == command::kEnableAll);
            RefreshAll();
            return true;
        case command::kEnableAllInTab:
        case command::kDisableAllInTab:
            TickAll(command == command::kEnableAllInTab);
            RefreshAll();
            return true;
        case command::kRestoreDefault:
            if (!model) return true;
            {
                const std::lock_guard lock(services_.document.modelMutex());
                params::RestoreDefaults(*model, std::nullopt);
            }
            for (ParameterPage* page : set_.pages) {
                page->MaskPasswords(kMaskedByRestore);
                page->TickAll(false);
            }
            RefreshAll();
            return true;
        case command::kRestoreDisplay:
            if (!model) return true;
            {
                const std::lock_guard lock(services_.document.modelMutex());
                params::RestoreDefaults(*model, pageIndex_);
            }
            MaskPasswords(kMaskedByRestore);
            TickAll(false);
            RefreshAll();
            return true;
        case command::kImport:
            ImportSettings();
            return true;
        case command::kExport:
            ExportSettings();
            return true;
        default:
            return false;
    }
}

void ParameterPage::ImportSettings() {
    const auto path = services_.files.OpenFile(this, sid::kImportTitle, sid::kSettingsFilter);
    if (!path) return;
    for (ParameterPage* page : set_.pages) page->StoreValues();
    AppContext& context = services_.context;
    const bool service = context.serviceMode != ServiceMode::Off;
    const params::SettingsFileEnv env{context.strings, context.isJapanese, {service, multiLan_}};
    const params::ImportResult result = params::ImportSettings(
        *path, services_.document, context.settings, set_.ticks, env, services_.interaction);
    if (result.modelChanged) {
        // The printer setting page, the header and the other pages follow
        // the new model; these pages are laid out over it.
        if (set_.modelChanged) set_.modelChanged();
        for (ParameterPage* page : set_.pages) page->Rebuild();
    }
    for (ParameterPage* page : set_.pages) page->MaskPasswords(kMaskedByImport);
    RefreshAll();
}

void ParameterPage::ExportSettings() {
    PrinterModel* model = services_.document.model();
    if (!model) return;
    const auto path = services_.files.SaveFile(this, sid::kExportTitle, sid::kSettingsFilter,
                                               sid::kSettingsExtension);
    if (!path) return;
    for (ParameterPage* page : set_.pages) page->StoreValues();
    AppContext& context = services_.context;
    const bool service = context.serviceMode != ServiceMode::Off;
    const params::SettingsFileEnv env{context.strings, context.isJapanese, {service, multiLan_}};
    {
        const std::lock_guard lock(services_.document.modelMutex());
        std::ignore = params::ExportSettings(*path, *model, set_.ticks, context.settings, env,
                                             services_.interaction);
    }
    // The checks may have completed addresses.
    RefreshAll();
}

}  // namespace rvq::ui
