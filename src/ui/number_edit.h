#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace rvq::ui {

// A numeric field with up and down buttons: only digits can be typed, and
// when the field is left its value is forced into its range (an empty
// field takes the given value).
class NumberEdit : public QWidget {
    Q_OBJECT
public:
    NumberEdit(int min, int max, int emptyValue, int maxLength, QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    // New limits (another model or location); the shown value is clamped.
    // A maxLength above 0 also sets how many digits the field takes.
    void SetRange(int min, int max, int emptyValue, int maxLength = 0);
    QLineEdit* lineEdit() const { return edit_; }

signals:
    // The value was settled: the field was left or a button stepped it.
    void valueCommitted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Clamp();
    void Step(int delta);

    int min_;
    int max_;
    int emptyValue_;
    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace rvq::ui
