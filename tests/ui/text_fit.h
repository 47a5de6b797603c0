#pragma once

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QWidget>

#include "window_walk.h"

namespace rvq::test {

namespace text_fit {

inline QString Name(const QWidget* w, const QString& text) {
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(w->metaObject()->className()), text);
}

// The room a line edit has for its text.
inline int EditTextRoom(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit) -
        edit->textMargins();
    constexpr int kInnerMargin = 2;  // Qt keeps this much free on each side
    return contents.width() - 2 * kInnerMargin;
}

// The room a combo box has for the text of an entry.
inline int ComboTextRoom(const QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    option.subControls = QStyle::SC_All;
    return combo->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
        .width();
}

// Widgets whose content a squeeze cuts. Arrow buttons without text have
// their own fixed size; the field inside a spin box is sized by the box,
// which is checked itself.
inline bool SqueezeMatters(const QWidget* w) {
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return !button->text().isEmpty();
    if (qobject_cast<const QLineEdit*>(w))
        return qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) == nullptr;
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QGroupBox*>(w);
}

}  // namespace text_fit

// What a user of the window would see cut or squeezed, one line each:
// a label, button, field or frame smaller than the least its content
// needs; a field's text (its default value) or a list's entry wider than
// the field; a column header or a tab wider than its room.
inline QStringList CutTexts(QWidget& root) {
    using namespace text_fit;
    QStringList cut;
    for (QWidget* w : VisibleWidgets(root)) {
        if (SqueezeMatters(w)) {
            const QSize least = w->minimumSizeHint();
            if (w->width() < least.width() || w->height() < least.height()) {
                QString text;
                if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
                if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
                if (auto* group = qobject_cast<QGroupBox*>(w)) text = group->title();
                cut.append(QStringLiteral("%1 is %2x%3, needs %4x%5")
                               .arg(Name(w, text))
                               .arg(w->width())
                               .arg(w->height())
                               .arg(least.width())
                               .arg(least.height()));
            }
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            const QString shown = edit->displayText();
            const int needs = edit->fontMetrics().horizontalAdvance(shown);
            if (!shown.isEmpty() && needs > EditTextRoom(edit))
                cut.append(QStringLiteral("%1 has %2 px for %3 px of text")
                               .arg(Name(edit, shown))
                               .arg(EditTextRoom(edit))
                               .arg(needs));
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) {
                const int needs = combo->fontMetrics().horizontalAdvance(combo->itemText(i));
                if (needs > ComboTextRoom(combo))
                    cut.append(QStringLiteral("%1 has %2 px for its entry of %3 px")
                                   .arg(Name(combo, combo->itemText(i)))
                                   .arg(ComboTextRoom(combo))
                                   .arg(needs));
            }
        }
        if (auto* header = qobject_cast<QHeaderView*>(w)) {
            for (int i = 0; i < header->count(); ++i) {
                if (header->isSectionHidden(i)) continue;
                const QString title =
                    header->model()->headerData(i, header->orientation()).toString();
                if (header->sectionSize(i) < header->sectionSizeHint(i))
                    cut.append(QStringLiteral("header \"%1\" is %2 px, needs %3")
                                   .arg(title)
                                   .arg(header->sectionSize(i))
                                   .arg(header->sectionSizeHint(i)));
            }
        }
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                QString text = tabs->tabText(i);
                text.remove(QLatin1Char('&'));
                if (tabs->tabRect(i).width() < tabs->fontMetrics().horizontalAdvance(text))
                    cut.append(QStringLiteral("tab \"%1\" is cut").arg(text));
            }
        }
    }
    return cut;
}

}  // namespace rvq::test
