#pragma once

#include <QLineEdit>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QToolButton;

namespace rvq::ui {

// Typing in a parameter edit: characters the field's current kind does not
// allow are removed at once, and hexadecimal fields may force upper case.
// The kind can change later (SetEditFilter), as the DHCP client id and the
// WEP keys do with their input type.
void AttachEditFilter(QLineEdit* edit, int itemKind);
void SetEditFilter(QLineEdit* edit, int itemKind, bool upperCase);

// A one-byte field shown as "HEX(xx)" of which only the two digits can be
// edited.
QLineEdit* MakeHexByteEdit(QWidget* parent);
std::string HexByteDigits(const QLineEdit* edit);
void ShowHexByte(QLineEdit* edit, const std::string& digits);

// A password field that hides what it holds. Taking the focus while hidden
// clears it for typing (state 1); typing makes it state 2; leaving it keeps
// what was typed (`commit` settles it into the item and gives the text to
// show) or, when nothing was typed, hides the item's text again.
class PasswordEdit : public QLineEdit {
    Q_OBJECT
public:
    enum State { Untouched = 0, Cleared = 1, Typed = 2 };

    // `remaskUntouched`: leaving the field unmasked without typing also
    // hides it again.
    PasswordEdit(bool remaskUntouched, QWidget* parent = nullptr);

    State state() const { return state_; }
    bool masked() const { return echoMode() == QLineEdit::Password; }
    void Mask();
    void Unmask();

    std::function<std::string(const std::string& typed)> commit;
    std::function<std::string()> itemText;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool remaskUntouched_;
    State state_ = Untouched;
};

// Four number fields of an IPv4 address. A blank field stays blank in the
// text ("192.168.1.") until the group checks complete it.
class AddressEdit : public QWidget {
    Q_OBJECT
public:
    explicit AddressEdit(QWidget* parent = nullptr);
    std::string text() const;
    void setText(const std::string& address);
    QLineEdit* part(int index) const { return parts_[static_cast<std::size_t>(index)]; }

private:
    std::array<QLineEdit*, 4> parts_{};
};

// A path field with a button that opens a file dialog.
class FileEdit : public QWidget {
    Q_OBJECT
public:
    FileEdit(const std::function<std::optional<std::string>()>& browse, QWidget* parent = nullptr);
    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* browseButton() const { return button_; }

private:
    QLineEdit* edit_;
    QToolButton* button_;
};

}  // namespace rvq::ui
