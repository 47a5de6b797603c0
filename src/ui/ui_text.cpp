#include "ui/ui_text.h"

#include <QStringList>

#include "core/app/file_filter.h"
#include "core/app/strings.h"

namespace rvq::ui {

QString Text(const Strings& strings, int id) {
    QString text = ToQt(strings.Get(id));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString DialogFilter(const Strings& strings, int filterId) {
    QStringList parts;
    for (const FileFilterEntry& entry : ParseFileFilter(strings.Get(filterId))) {
        QStringList patterns;
        for (const std::string& p : entry.patterns) patterns << ToQt(p);
        parts << ToQt(entry.label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                     QLatin1Char(')');
    }
    return parts.join(QStringLiteral(";;"));
}

}  // namespace rvq::ui
