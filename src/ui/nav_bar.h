#pragma once

#include <QWidget>
#include <array>

#include "core/app/navigation.h"

class QScrollArea;
class QToolButton;

namespace rvq {
class Strings;
}

namespace rvq::ui {

// The navigation bar: one button per category, the current one pressed.
class NavBar : public QWidget {
    Q_OBJECT
public:
    NavBar(const Strings& strings, QWidget* parent = nullptr);

    // Shows the button of `category` pressed (and only that one).
    void SetCurrent(Category category);
    QToolButton* button(Category category) const {
        return buttons_[static_cast<std::size_t>(category)];
    }
    QScrollArea* scrollArea() const { return scroll_; }

signals:
    void categoryRequested(int category);

private:
    std::array<QToolButton*, kCategoryCount> buttons_{};
    QScrollArea* scroll_ = nullptr;
};

}  // namespace rvq::ui
