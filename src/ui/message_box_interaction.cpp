#include "ui/message_box_interaction.h"

#include <QMessageBox>

#include "core/app/environment_options.h"
#include "core/app/strings.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kTitleId = 550;

QString BoxText(const std::string& text) {
    QString shown = ToQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

bool MessageBoxInteraction::Confirm(int messageId, const std::string& text) {
    const bool okCancel = messageId == kMsgRestartForLanguage;
    const auto yes = okCancel ? QMessageBox::Ok : QMessageBox::Yes;
    const auto no = okCancel ? QMessageBox::Cancel : QMessageBox::No;
    QMessageBox box(QMessageBox::Question, Text(strings_, kTitleId), BoxText(text), yes | no,
                    parent_);
    box.setDefaultButton(no);
    return box.exec() == yes;
}

void MessageBoxInteraction::Error(int /*messageId*/, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, Text(strings_, kTitleId), BoxText(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

void MessageBoxInteraction::Info(int /*messageId*/, const std::string& text) {
    QMessageBox box(QMessageBox::Information, Text(strings_, kTitleId), BoxText(text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace rvq::ui
