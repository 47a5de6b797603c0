#pragma once

class QWidget;

namespace rvq::ui {

// For the start-up benchmark: once `window` is shown, prints the wall
// clock (nanoseconds since the epoch) and the peak resident size, then
// returns the exit code. Nothing is saved.
int ReportStartup(QWidget& window);

}  // namespace rvq::ui
