#include "ui/scrolling_frame.h"

#include <QScrollArea>

namespace rvq::ui {

QScrollArea* ScrollingFrame(QWidget* content, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    return area;
}

}  // namespace rvq::ui
