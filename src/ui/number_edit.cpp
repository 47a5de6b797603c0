#include "ui/number_edit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/field_rules.h"
#include "ui/focus_forwarding.h"
#include "ui/line_edit_rules.h"
#include "ui/ui_text.h"

namespace rvq::ui {

NumberEdit::NumberEdit(int min, int max, int emptyValue, int maxLength, QWidget* parent)
    : QWidget(parent), min_(min), max_(max), emptyValue_(emptyValue) {
    edit_ = new QLineEdit(this);
    edit_->setMaxLength(maxLength);
    edit_->setAlignment(Qt::AlignRight);
    edit_->setFixedWidth(
        edit_->fontMetrics().horizontalAdvance(QLatin1Char('9')) * (maxLength + 2) + 12);
    edit_->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferLatin);
    edit_->installEventFilter(this);
    FilterWhileTyping(edit_, KeepDigits);
    connect(edit_, &QLineEdit::returnPressed, this, [this] { Clamp(); });

    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(18, 11);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(0);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(up_);
    buttons->addWidget(down_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    ForwardFocus(this, edit_);
    setValue(emptyValue);
}

int NumberEdit::value() const {
    return ClampNumberText(FromQt(edit_->text()), min_, max_, emptyValue_);
}

void NumberEdit::setValue(int value) {
    const int clamped = value < min_ ? min_ : value > max_ ? max_ : value;
    edit_->setText(QString::number(clamped));
}

void NumberEdit::SetRange(int min, int max, int emptyValue, int maxLength) {
    min_ = min;
    max_ = std::max(min, max);
    emptyValue_ = emptyValue;
    if (maxLength > 0) {
        edit_->setMaxLength(maxLength);
        edit_->setFixedWidth(
            edit_->fontMetrics().horizontalAdvance(QLatin1Char('9')) * (maxLength + 2) + 12);
    }
    setValue(value());
}

bool NumberEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::FocusOut) Clamp();
    return QWidget::eventFilter(watched, event);
}

void NumberEdit::Clamp() {
    setValue(value());
    emit valueCommitted();
}

void NumberEdit::Step(int delta) {
    setValue(value() + delta);
    emit valueCommitted();
}

}  // namespace rvq::ui
