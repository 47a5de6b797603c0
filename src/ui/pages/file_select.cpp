#include "ui/pages/file_select.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/ui_text.h"

namespace rvq::ui {

FileSelect::FileSelect(const QString& browseText, QWidget* parent) : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setReadOnly(true);
    edit_->setMinimumWidth(280);
    browse_ = new QPushButton(browseText, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_, 1);
    layout->addWidget(browse_);
    connect(browse_, &QPushButton::clicked, this, &FileSelect::OnBrowse);
}

std::string FileSelect::path() const { return FromQt(edit_->text()); }

void FileSelect::Clear() { edit_->clear(); }

void FileSelect::OnBrowse() {
    if (!choose) return;
    const std::optional<std::string> chosen = choose();
    if (!chosen || chosen->empty()) return;
    if (accept && !accept(*chosen)) {
        edit_->clear();
    } else {
        edit_->setText(ToQt(*chosen));
    }
    emit changed();
}

}  // namespace rvq::ui
