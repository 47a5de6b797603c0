#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace rvq::ui {

struct UiServices;
class NumberEdit;

// The tool's own options: language, time-out, control codes and the way
// to the password change.
class EnvironmentDialog : public QDialog {
    Q_OBJECT
public:
    // `beforeRestart` runs when a language change will restart the program
    // (the printer setting page stores its values).
    EnvironmentDialog(UiServices& services, std::function<void()> beforeRestart,
                      QWidget* parent = nullptr);

    QComboBox* languageCombo() const { return language_; }
    NumberEdit* timeoutEdit() const { return timeout_; }
    QComboBox* codeTypeCombo() const { return codeType_; }
    QLineEdit* codeEdit(int index) const { return codes_[index]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* passwordButton() const { return password_; }

private:
    void UpdateCodeFields();
    void OnOk();
    void OnPassword();

    UiServices& services_;
    std::function<void()> beforeRestart_;
    QComboBox* language_;
    NumberEdit* timeout_;
    QComboBox* codeType_;
    QLineEdit* codes_[3];
    QLabel* codeLabels_[3];
    QPushButton* password_;
    QPushButton* ok_;
};

}  // namespace rvq::ui
