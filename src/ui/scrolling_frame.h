#pragma once

class QScrollArea;
class QWidget;

namespace rvq::ui {

// Puts `content` into a frameless scroll area that keeps it at least at
// its minimum size: a window too small for it scrolls instead of squeezing
// its controls over each other. The content grows with the area.
QScrollArea* ScrollingFrame(QWidget* content, QWidget* parent = nullptr);

}  // namespace rvq::ui
