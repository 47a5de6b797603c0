// The one place where the desktop program chooses how its jobs run.
#include "core/comm/job_kind.h"
#include "core/comm/job_reporter.h"
#include "ui/progress_dialog.h"
#include "ui/ui_services.h"

namespace rvq::ui {

namespace {

constexpr int kStatusStart = 1500;
constexpr int kDetailNoOperations = 40204;

// Until the printer operations are linked into this program, every job
// says so in its log and fails, rather than pretending to have run.
class UnavailableOperations : public JobExecutor {
public:
    void Run(const JobSetup& /*setup*/, JobReporter& reporter) override {
        reporter.LogStatus(kStatusStart);
        reporter.LogFailure(kResultFail, kDetailNoOperations, 0);
    }
};

}  // namespace

std::shared_ptr<JobExecutor> MakeDesktopExecutor(UiServices& /*services*/) {
    return std::make_shared<UnavailableOperations>();
}

}  // namespace rvq::ui

namespace rvq::ui {

int RunJobDialog(UiServices& services, QWidget* parent, std::shared_ptr<const JobInputs> inputs) {
    ProgressDialog dialog(services, MakeDesktopExecutor(services), std::move(inputs), parent);
    return dialog.Run();
}

}  // namespace rvq::ui
