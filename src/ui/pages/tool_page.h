#pragma once

#include "ui/page_view.h"

class QPushButton;

namespace rvq::ui {

struct UiServices;

// The Tool page: sends any file to the printer unchanged and starts the
// font download program when one is stored.
class ToolPage : public PageView {
public:
    explicit ToolPage(UiServices& services, QWidget* parent = nullptr);

    QPushButton* sendButton() const { return send_; }
    QPushButton* fontToolButton() const { return fontTool_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnSendFile();
    void OnStartFontTool();
    void UpdateFontToolButton();

    UiServices& services_;
    QPushButton* send_ = nullptr;
    QPushButton* fontTool_ = nullptr;
};

}  // namespace rvq::ui
