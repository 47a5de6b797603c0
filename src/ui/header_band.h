#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

namespace rvq::ui {

// The band above the pages: the selected printer on a large first line,
// the connection on a second, and the "Options..." button.
class HeaderBand : public QWidget {
    Q_OBJECT
public:
    HeaderBand(const QString& optionsLabel, QWidget* parent = nullptr);

    // Two lines joined by the character 0x08.
    void SetHeaderText(const std::string& text);
    QString modelLine() const { return model_; }
    QString connectionLine() const { return connection_; }
    QPushButton* optionsButton() const { return options_; }

signals:
    void optionsClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString model_;
    QString connection_;
    QPushButton* options_;
};

}  // namespace rvq::ui
