#pragma once

#include <QString>

namespace rvq::ui {

struct UiServices;
class MainWindow;

// A debugging aid for the documentation: saves pictures of the shown main
// window's pages, of a question box and of a Get Parameter run's progress
// dialog into `folder`, and every page, dialog and the help window under the
// manual's names into `folder`/manual.
// Messages go to standard error instead of message boxes. Returns the
// process exit code.
int TakeScreenshots(MainWindow& window, UiServices& services, const QString& folder);

}  // namespace rvq::ui
