#pragma once

#include <QIcon>
#include <QPixmap>

#include "core/app/navigation.h"
#include "core/comm/progress_view.h"

namespace rvq::ui {

// The program's own artwork, drawn at run time so it stays sharp at any
// scale: the navigation buttons, the program icon and the progress
// dialog's status pictures.
QIcon CategoryIcon(Category category);
QIcon ProgramIcon();
QPixmap StatusPixmap(StatusPicture picture);

}  // namespace rvq::ui
