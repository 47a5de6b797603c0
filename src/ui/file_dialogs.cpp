#include "ui/file_dialogs.h"

#include <QFileDialog>

#include "core/app/file_filter.h"
#include "core/app/strings.h"
#include "ui/ui_text.h"

namespace rvq::ui {

std::optional<std::string> QtFileDialogs::OpenFile(QWidget* parent, int titleId, int filterId) {
    const QString title = titleId != 0 ? Text(strings_, titleId) : QString();
    const QString path =
        QFileDialog::getOpenFileName(parent, title, QString(), DialogFilter(strings_, filterId));
    if (path.isEmpty()) return std::nullopt;
    return FromQt(path);
}

std::optional<std::string> QtFileDialogs::SaveFile(QWidget* parent, int titleId, int filterId,
                                                   int extensionId) {
    const QString title = titleId != 0 ? Text(strings_, titleId) : QString();
    const QString path =
        QFileDialog::getSaveFileName(parent, title, QString(), DialogFilter(strings_, filterId));
    if (path.isEmpty()) return std::nullopt;
    return WithDefaultExtension(FromQt(path), strings_.Get(extensionId));
}

std::optional<std::string> QtFileDialogs::OpenFolder(QWidget* parent, int titleId) {
    const QString title = titleId != 0 ? Text(strings_, titleId) : QString();
    const QString path = QFileDialog::getExistingDirectory(parent, title);
    if (path.isEmpty()) return std::nullopt;
    return FromQt(path);
}

}  // namespace rvq::ui
