#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace rvq::ui {

// A read-only path field with a browse button, as every file field of the
// download and builder pages has. `choose` asks for the path (a dialog);
// `accept` takes it in (encodes, reads, checks) and may refuse it, which
// leaves the field empty.
class FileSelect : public QWidget {
    Q_OBJECT
public:
    FileSelect(const QString& browseText, QWidget* parent = nullptr);

    std::function<std::optional<std::string>()> choose;
    std::function<bool(const std::string& path)> accept;

    std::string path() const;
    void Clear();
    QLineEdit* lineEdit() const { return edit_; }
    QPushButton* browseButton() const { return browse_; }

signals:
    // A path was taken in, or a refused one cleared the field.
    void changed();

private:
    void OnBrowse();

    QLineEdit* edit_;
    QPushButton* browse_;
};

}  // namespace rvq::ui
