#include "ui/startup_report.h"

#include <sys/resource.h>
#include <QCoreApplication>
#include <QWidget>
#include <chrono>
#include <iostream>

namespace rvq::ui {

int ReportStartup(QWidget& window) {
    // The show is complete once the pending layout and paint events ran.
    QCoreApplication::processEvents();
    if (!window.isVisible()) return 1;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << "shown " << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()
              << " ns, peak resident " << usage.ru_maxrss << " KB, window \""
              << window.windowTitle().toStdString() << "\"" << std::endl;
    return 0;
}

}  // namespace rvq::ui
