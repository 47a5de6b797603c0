#pragma once

#include <QPixmap>
#include <QSize>

namespace rvq {
struct MonoBitmap;
}

namespace rvq::ui {

// The bitmap as it will print, black on white, scaled by whole steps to
// fit `box` so that every dot stays a crisp square.
QPixmap MonoBitmapPixmap(const MonoBitmap& bitmap, QSize box);

}  // namespace rvq::ui
