#pragma once

#include <QIcon>
#include <QPixmap>

#include "core/app/navigation.h"
#include "core/comm/job/progress_view.h"
#include "core/comm/ops/status_check.h"

namespace rvq::ui {

// The program's own artwork, drawn at run time so it stays sharp at any
// scale: the navigation buttons, the program icon and the progress
// dialog's status pictures.
QIcon CategoryIcon(Category category);
QIcon ProgramIcon();
QPixmap StatusPixmap(StatusPicture picture);
// The small mark of a printer's state in a list: a tick when ready, an
// exclamation mark for an error, a dash when it did not answer; none
// when the check stopped first.
QIcon PrinterStateIcon(PrinterState state);

}  // namespace rvq::ui
