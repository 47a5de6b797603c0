#include "ui/password_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/environment_options.h"
#include "core/app/field_rules.h"
#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "ui/line_edit_rules.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kChangeCaption = 60410;
constexpr int kOldLabel = 60411;
constexpr int kNewLabel = 60412;
constexpr int kConfirmLabel = 60413;
constexpr int kLoginCaption = 60420;
constexpr int kLoginPrompt = 60421;
constexpr int kOk = 60032;
constexpr int kCancel = 60033;

QDialogButtonBox* OkCancel(const Strings& strings, QDialog* dialog, QPushButton** ok) {
    auto* buttons = new QDialogButtonBox(dialog);
    *ok = buttons->addButton(Text(strings, kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(strings, kCancel), QDialogButtonBox::RejectRole);
    (*ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

QLineEdit* MakePasswordEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kPasswordMaxLength);
    FilterWhileTyping(edit, KeepPasswordCharacters);
    return edit;
}

PasswordChangeDialog::PasswordChangeDialog(const Strings& strings, Interaction& interaction,
                                           std::string stored, QWidget* parent)
    : QDialog(parent), strings_(strings), interaction_(interaction), stored_(std::move(stored)) {
    setWindowTitle(Text(strings, kChangeCaption));
    old_ = MakePasswordEdit(this);
    new_ = MakePasswordEdit(this);
    confirm_ = MakePasswordEdit(this);
    auto* form = new QFormLayout;
    form->addRow(Text(strings, kOldLabel), old_);
    form->addRow(Text(strings, kNewLabel), new_);
    form->addRow(Text(strings, kConfirmLabel), confirm_);
    QDialogButtonBox* buttons = OkCancel(strings, this, &ok_);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordChangeDialog::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

std::string PasswordChangeDialog::newPassword() const { return FromQt(new_->text()); }

void PasswordChangeDialog::OnOk() {
    const int message = CheckPasswordChange(stored_, FromQt(old_->text()), FromQt(new_->text()),
                                            FromQt(confirm_->text()));
    if (message != 0) {
        interaction_.Error(message, strings_.Get(message));
        return;
    }
    accept();
}

LoginDialog::LoginDialog(const Strings& strings, Interaction& interaction, std::string stored,
                         QWidget* parent)
    : QDialog(parent), strings_(strings), interaction_(interaction), stored_(std::move(stored)) {
    setWindowTitle(Text(strings, kLoginCaption));
    password_ = MakePasswordEdit(this);
    QDialogButtonBox* buttons = OkCancel(strings, this, &ok_);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::OnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(strings, kLoginPrompt), this));
    layout->addWidget(password_);
    layout->addWidget(buttons);
}

void LoginDialog::OnOk() {
    if (LoginPasses(stored_, FromQt(password_->text()))) {
        accept();
        return;
    }
    interaction_.Error(sid::kMsgWrongLoginPassword, strings_.Get(sid::kMsgWrongLoginPassword));
    reject();
}

bool Login(const Strings& strings, Interaction& interaction, const std::string& stored,
           QWidget* parent) {
    if (stored.empty()) return true;
    LoginDialog dialog(strings, interaction, stored, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace rvq::ui
