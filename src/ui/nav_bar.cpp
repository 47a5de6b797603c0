#include "ui/nav_bar.h"

#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "ui/pictures.h"
#include "ui/scrolling_frame.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kShortcutsCaption = 60000;
constexpr int kBarWidth = 140;

QLabel* Caption(const QString& text, bool strong, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setContentsMargins(10, 6, 10, 6);
    label->setStyleSheet(
        strong ? QStringLiteral("background:#2b4f7e;color:white;font-weight:bold;")
               : QStringLiteral("background:#dfe7f1;color:#22354d;font-weight:bold;"));
    return label;
}

}  // namespace

NavBar::NavBar(const Strings& strings, QWidget* parent) : QWidget(parent) {
    setFixedWidth(kBarWidth);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xf3, 0xf6, 0xfa));
    setPalette(pal);

    // The buttons keep their size and scroll when the window is too short
    // for all five, so no picture covers a label.
    auto* buttons = new QWidget;
    auto* column = new QVBoxLayout(buttons);
    column->setContentsMargins(6, 6, 6, 0);
    column->setSpacing(0);
    for (int i = 0; i < kCategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        auto* b = new QToolButton(buttons);
        b->setText(Text(strings, CategoryLabelId(category)));
        b->setIcon(CategoryIcon(category));
        b->setIconSize(QSize(64, 64));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // The window decides whether the category changes; the button only asks.
        connect(b, &QToolButton::clicked, this, [this, i] { emit categoryRequested(i); });
        buttons_[static_cast<std::size_t>(i)] = b;
        column->addWidget(b);
    }
    column->addStretch(1);
    scroll_ = ScrollingFrame(buttons, this);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->viewport()->setAutoFillBackground(false);
    buttons->setAutoFillBackground(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Caption(Text(strings, kShortcutsCaption), true, this));
    layout->addWidget(Caption(Text(strings, sid::kViewPane), false, this));
    layout->addWidget(scroll_, 1);
    SetCurrent(Category::PrinterSetting);
}

void NavBar::SetCurrent(Category category) {
    for (int i = 0; i < kCategoryCount; ++i)
        buttons_[static_cast<std::size_t>(i)]->setChecked(i == static_cast<int>(category));
}

}  // namespace rvq::ui
