#pragma once

#include <functional>
#include <string>

namespace rvq {
struct AppContext;
class Document;
class Interaction;
}  // namespace rvq

namespace rvq::ui {

enum class StartOutcome { Ready, SettingsRejected, LoginRefused, DefinitionMissing };

struct StartResult {
    StartOutcome outcome = StartOutcome::Ready;
    // One line for standard error saying which file failed and why.
    std::string diagnostic;
};

// Asks for the login password when one is stored; true when passed.
using LoginPrompt = std::function<bool(const std::string& storedPassword)>;
// Told the interface language as soon as it is known, before any window.
using LanguageChosen = std::function<void(bool japanese)>;

// The start of the desktop program after the single-instance lock: the
// tool settings (a rejected file is told), the language, the login and
// the printer definition of the configured model.
StartResult PrepareStart(AppContext& context, Document& document, Interaction& interaction,
                         const std::string& programFolder, const std::string& iniPath,
                         const LoginPrompt& login, const LanguageChosen& languageChosen = {});

}  // namespace rvq::ui
