#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/ui_text.h"

namespace rvq::ui {

bool InstallQtTranslations(QCoreApplication& app, bool japanese, const std::string& folder) {
    if (!japanese) return true;
    // Dates and names Qt shows itself (the calendar of a date field) follow
    // the interface too.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), ToQt(folder))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

std::string QtTranslationsFolder() {
    return FromQt(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace rvq::ui
