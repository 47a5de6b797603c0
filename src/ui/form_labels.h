#pragma once

class QWidget;

namespace rvq::ui {

// Gives the labels of every form under `root` one width, so the fields of
// forms stacked in different frames start at the same place.
void AlignFormLabels(QWidget* root);

}  // namespace rvq::ui
