#include "ui/message_box_interaction.h"

#include <QMessageBox>

#include "core/app/environment_options.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

QString BoxText(const std::string& text) {
    QString shown = ToQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(BoxKind kind, const Strings& strings, int messageId,
                                            const std::string& text, QWidget* parent) {
    const bool okCancel = messageId == sid::kMsgRestartForLanguage;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (kind == BoxKind::Error) icon = QMessageBox::Critical;
    if (kind == BoxKind::Question) {
        icon = QMessageBox::Question;
        buttons =
            okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Yes | QMessageBox::No;
    }
    auto box = std::make_unique<QMessageBox>(icon, Text(strings, sid::kDefTitle), BoxText(text),
                                             buttons, parent);
    if (kind == BoxKind::Question)
        box->setDefaultButton(okCancel ? QMessageBox::Cancel : QMessageBox::No);
    return box;
}

bool MessageBoxInteraction::Confirm(int messageId, const std::string& text) {
    const auto box = MakeMessageBox(BoxKind::Question, strings_, messageId, text, parent_);
    const int answer = box->exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

void MessageBoxInteraction::Error(int messageId, const std::string& text) {
    MakeMessageBox(BoxKind::Error, strings_, messageId, text, parent_)->exec();
}

void MessageBoxInteraction::Info(int messageId, const std::string& text) {
    MakeMessageBox(BoxKind::Notice, strings_, messageId, text, parent_)->exec();
}

}  // namespace rvq::ui
