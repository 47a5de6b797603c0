// The one place where the desktop program chooses how its jobs run.
#include "ui/desktop_executor.h"
#include "core/comm/ops/operations.h"
#include "ui/progress_dialog.h"
#include "ui/ui_services.h"

namespace rvq::ui {

std::shared_ptr<JobExecutor> MakeDesktopExecutor(UiServices& services) {
    return MakeOperationExecutor(services.context, services.document);
}

int RunJobDialog(UiServices& services, QWidget* parent, std::shared_ptr<const JobInputs> inputs) {
    ProgressDialog dialog(services, MakeDesktopExecutor(services), std::move(inputs), parent);
    return dialog.Run();
}

}  // namespace rvq::ui
