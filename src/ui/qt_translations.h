#pragma once

#include <string>

class QCoreApplication;

namespace rvq::ui {

// Qt's own texts in the interface's language: the standard buttons of
// message boxes ("OK", "Cancel", "Yes", "No"), the file dialogs and the
// edit menus of fields. English needs nothing. Returns false when the
// Japanese interface finds no Japanese translations of Qt in `folder`.
bool InstallQtTranslations(QCoreApplication& app, bool japanese, const std::string& folder);

// Where the system keeps Qt's translations.
std::string QtTranslationsFolder();

}  // namespace rvq::ui
