#pragma once

#include <QString>

#include "ui/page_view.h"

namespace rvq::ui {

// Stands in for a page this version of the program does not offer yet: it
// shows the page's title and says so, and does nothing else.
class PlaceholderPage : public PageView {
public:
    PlaceholderPage(const QString& title, const QString& notice, QWidget* parent = nullptr);
};

}  // namespace rvq::ui
