#include "ui/pages/tool_page.h"

#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/string_ids.h"
#include "core/comm/ops/download_inputs.h"
#include "core/pages/tool_page.h"
#include "core/platform/input_file.h"
#include "ui/file_dialogs.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kSendFile = 62200;
constexpr int kStartFontTool = 62202;

}  // namespace

ToolPage::ToolPage(UiServices& services, QWidget* parent) : PageView(parent), services_(services) {
    const Strings& strings = services.context.strings;
    send_ = new QPushButton(Text(strings, kSendFile), this);
    fontTool_ = new QPushButton(Text(strings, kStartFontTool), this);
    for (QPushButton* b : {send_, fontTool_}) b->setMinimumWidth(180);
    connect(send_, &QPushButton::clicked, this, &ToolPage::OnSendFile);
    connect(fontTool_, &QPushButton::clicked, this, &ToolPage::OnStartFontTool);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(send_, 0, Qt::AlignLeft);
    layout->addWidget(fontTool_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    UpdateFontToolButton();
}

void ToolPage::showEvent(QShowEvent* event) {
    PageView::showEvent(event);
    UpdateFontToolButton();
}

void ToolPage::UpdateFontToolButton() {
    fontTool_->setVisible(
        FontToolOffered(services_.context.settings, services_.context.isJapanese));
}

void ToolPage::OnSendFile() {
    const auto path = services_.files.OpenFile(this, 0, sid::kAllFilesFilter);
    if (!path || path->empty()) return;
    // The job reads the file while it sends it, so any size goes; what
    // cannot be opened (or is no regular file) is refused here.
    if (!InputFile(*path).ok()) {
        services_.interaction.Error(sid::kMsgReadFailed,
                                    services_.context.strings.Get(sid::kMsgReadFailed));
        return;
    }
    if (services_.runJob) std::ignore = services_.runJob(this, SendFileJobInputs(*path));
}

void ToolPage::OnStartFontTool() {
    // A program that does not start is forgotten; the button goes when the
    // page is shown again.
    StartFontTool(services_.context.settings);
}

}  // namespace rvq::ui
