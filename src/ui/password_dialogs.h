#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace rvq {
class Interaction;
class Strings;
}  // namespace rvq

namespace rvq::ui {

// A masked password field: at most 16 characters with codes up to 0xFF.
QLineEdit* MakePasswordEdit(QWidget* parent);

// Asks for the old password and a new one twice.
class PasswordChangeDialog : public QDialog {
    Q_OBJECT
public:
    PasswordChangeDialog(const Strings& strings, Interaction& interaction, std::string stored,
                         QWidget* parent = nullptr);

    std::string newPassword() const;
    QLineEdit* oldEdit() const { return old_; }
    QLineEdit* newEdit() const { return new_; }
    QLineEdit* confirmEdit() const { return confirm_; }
    QPushButton* okButton() const { return ok_; }

private:
    void OnOk();

    const Strings& strings_;
    Interaction& interaction_;
    std::string stored_;
    QLineEdit* old_;
    QLineEdit* new_;
    QLineEdit* confirm_;
    QPushButton* ok_;
};

// Guards the start of the program when a password is stored. A wrong
// password is told and ends the dialog as refused.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(const Strings& strings, Interaction& interaction, std::string stored,
                QWidget* parent = nullptr);

    QLineEdit* passwordEdit() const { return password_; }
    QPushButton* okButton() const { return ok_; }

private:
    void OnOk();

    const Strings& strings_;
    Interaction& interaction_;
    std::string stored_;
    QLineEdit* password_;
    QPushButton* ok_;
};

// True when nothing is stored or the login dialog was passed.
bool Login(const Strings& strings, Interaction& interaction, const std::string& stored,
           QWidget* parent = nullptr);

}  // namespace rvq::ui
