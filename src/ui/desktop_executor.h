#pragma once

#include <memory>

#include "core/comm/job/job_inputs.h"
#include "core/comm/job/job_runner.h"

class QWidget;

namespace rvq::ui {

struct UiServices;

// The executor the desktop program runs its jobs with.
std::shared_ptr<JobExecutor> MakeDesktopExecutor(UiServices& services);

// Runs a job of the desktop program behind its progress dialog.
int RunJobDialog(UiServices& services, QWidget* parent, std::shared_ptr<const JobInputs> inputs);

}  // namespace rvq::ui
