#include "ui/pages/parameter_controls.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QToolButton>

#include "core/app/text.h"
#include "core/params/input_rules.h"
#include "ui/focus_forwarding.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {
const char* const kFilterKind = "rvqFilterKind";
const char* const kUpperCase = "rvqUpperCase";
// Literal "HEX(", two hex digits forced to upper case, literal ")". The
// digits are optional so that a half-typed field still ends its editing.
const QString kHexByteMask = QStringLiteral("\\H\\E\\X(>hh);_");
constexpr int kAddressParts = 4;
constexpr int kAddressDigits = 3;
constexpr int kAddressMax = 255;
}  // namespace

void AttachEditFilter(QLineEdit* edit, int itemKind) {
    SetEditFilter(edit, itemKind, false);
    // Parameter values are plain characters: no input method composes them.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const int kind = edit->property(kFilterKind).toInt();
        QString kept = ToQt(params::FilterInput(kind, FromQt(text)));
        if (edit->property(kUpperCase).toBool()) kept = kept.toUpper();
        if (kept == text) return;
        const int removed = static_cast<int>(text.size() - kept.size());
        const int cursor = edit->cursorPosition();
        edit->setText(kept);
        edit->setCursorPosition(std::max(0, cursor - removed));
    });
}

void SetEditFilter(QLineEdit* edit, int itemKind, bool upperCase) {
    edit->setProperty(kFilterKind, itemKind);
    edit->setProperty(kUpperCase, upperCase);
}

QLineEdit* MakeHexByteEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setInputMask(kHexByteMask);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("HEX(WW)")) + 16);
    return edit;
}

std::string HexByteDigits(const QLineEdit* edit) {
    QString text = edit->text();
    text.remove(QStringLiteral("HEX("));
    text.remove(QLatin1Char(')'));
    return FromQt(text.trimmed());
}

void ShowHexByte(QLineEdit* edit, const std::string& digits) {
    edit->setText(QStringLiteral("HEX(%1)").arg(ToQt(digits)));
}

PasswordEdit::PasswordEdit(bool remaskUntouched, QWidget* parent)
    : QLineEdit(parent), remaskUntouched_(remaskUntouched) {
    connect(this, &QLineEdit::textEdited, this, [this] {
        // Runs after the kind's filter, which is connected first.
        if (!text().isEmpty()) state_ = Typed;
    });
}

void PasswordEdit::Mask() {
    setEchoMode(QLineEdit::Password);
    state_ = Untouched;
}

void PasswordEdit::Unmask() { setEchoMode(QLineEdit::Normal); }

void PasswordEdit::focusInEvent(QFocusEvent* event) {
    if (masked()) {
        Unmask();
        clear();
        state_ = Cleared;
    }
    QLineEdit::focusInEvent(event);
}

void PasswordEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (masked()) return;
    if (state_ == Typed && commit) {
        setText(ToQt(commit(FromQt(text()))));
        return;
    }
    if (state_ == Cleared || remaskUntouched_) Mask();
    if (itemText) setText(ToQt(itemText()));
}

AddressEdit::AddressEdit(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < kAddressParts; ++i) {
        auto* part = new QLineEdit(this);
        part->setMaxLength(kAddressDigits);
        part->setValidator(new QIntValidator(0, kAddressMax, part));
        part->setAlignment(Qt::AlignCenter);
        part->setAttribute(Qt::WA_InputMethodEnabled, false);
        part->setFixedWidth(part->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10);
        part->setObjectName(QStringLiteral("part%1").arg(i));
        parts_[static_cast<std::size_t>(i)] = part;
        if (i > 0) row->addWidget(new QLabel(QStringLiteral("."), this));
        row->addWidget(part);
    }
    row->addStretch(1);
    ForwardFocus(this, parts_[0]);
}

std::string AddressEdit::text() const {
    std::string address;
    for (int i = 0; i < kAddressParts; ++i) {
        if (i > 0) address += '.';
        address += FromQt(parts_[static_cast<std::size_t>(i)]->text());
    }
    return address;
}

void AddressEdit::setText(const std::string& address) {
    const std::vector<int> numbers = ParseIntList(address, '.', kAddressParts);
    for (int i = 0; i < kAddressParts; ++i)
        parts_[static_cast<std::size_t>(i)]->setText(
            QString::number(numbers[static_cast<std::size_t>(i)]));
}

FileEdit::FileEdit(const std::function<std::optional<std::string>()>& browse, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    button_->setText(QStringLiteral("..."));
    edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    row->addWidget(edit_, 1);
    row->addWidget(button_);
    ForwardFocus(this, edit_);
    connect(button_, &QToolButton::clicked, this, [this, browse] {
        if (const auto path = browse()) edit_->setText(ToQt(*path));
    });
}

}  // namespace rvq::ui
