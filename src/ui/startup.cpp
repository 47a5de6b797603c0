#include "ui/startup.h"

#include <iostream>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/environment_options.h"
#include "core/app/file_locations.h"
#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/tool_settings_file.h"

namespace rvq::ui {

StartResult PrepareStart(AppContext& context, Document& document, Interaction& interaction,
                         const FileLocations& locations, const LoginPrompt& login,
                         const LanguageChosen& languageChosen) {
    context.settings = LoadToolSettings(locations, context.strings);
    const std::string& iniPath = context.settings.iniPath;
    if (!context.settings.loaded) {
        interaction.Error(sid::kIniFileError, context.strings.Get(sid::kIniFileError));
        return {StartOutcome::SettingsRejected, iniPath + ": its [HEADER] TITLE is not \"" +
                                                    context.strings.Get(sid::kDefTitle) + "\""};
    }
    StartResult result;
    if (!SelectLanguage(context) && context.isJapanese)
        result.warning = LanguageTableProblem(context);
    for (const std::string& warning : context.strings.overlayWarnings())
        std::cerr << "rvq-setting-tool: " << warning << "\n";
    if (languageChosen) languageChosen(context.isJapanese);
    // Equal codes in VQTool.INI were replaced by the standard ones; the
    // Environment dialog is where the operator chooses others.
    if (context.settings.equalCodesReplaced) {
        interaction.Error(sid::kMsgEqualControlCodes,
                          context.strings.Get(sid::kMsgEqualControlCodes));
    }
    // A store this user cannot read may hold a password: never skip the login for it.
    if (const std::string& problem = context.settings.passwordStoreProblem; !problem.empty()) {
        interaction.Error(0, problem);
        return {StartOutcome::LoginRefused, problem};
    }
    if (!context.settings.password.empty() && !(login && login(context.settings.password))) {
        return {StartOutcome::LoginRefused, {}};
    }
    const DataFile definitions = FindDataFile(locations, kDefinitionsFileName);
    if (!definitions.found())
        return {StartOutcome::DefinitionMissing,
                NotFoundMessage(kDefinitionsFileName, definitions)};
    if (!document.OnNewDocument(definitions.path, context.settings.printerModel,
                                context.settings.destination)) {
        return {StartOutcome::DefinitionMissing, definitions.path + ": the printer model \"" +
                                                     context.settings.printerModel +
                                                     "\" cannot be loaded"};
    }
    return result;
}

}  // namespace rvq::ui
