#include "ui/line_edit_rules.h"

#include <QLineEdit>

#include <algorithm>

#include "core/app/text.h"
#include "ui/ui_text.h"

namespace rvq::ui {

void FilterWhileTyping(QLineEdit* edit, CharacterFilter filter) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, filter](const QString& text) {
        const QString kept = ToQt(filter(FromQt(text)));
        if (kept == text) return;
        const int removed = static_cast<int>(text.size() - kept.size());
        const int cursor = edit->cursorPosition();
        edit->setText(kept);
        edit->setCursorPosition(std::max(0, cursor - removed));
    });
}

void TrimOnLeave(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
        const QString trimmed = ToQt(Trim(FromQt(edit->text())));
        if (trimmed != edit->text()) edit->setText(trimmed);
    });
}

}  // namespace rvq::ui
