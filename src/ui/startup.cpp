#include "ui/startup.h"

#include <iostream>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/tool_settings_file.h"
#include "core/platform/file_io.h"

namespace rvq::ui {

StartResult PrepareStart(AppContext& context, Document& document, Interaction& interaction,
                         const std::string& programFolder, const std::string& iniPath,
                         const LoginPrompt& login, const LanguageChosen& languageChosen) {
    context.settings = LoadToolSettings(iniPath, programFolder, context.strings);
    if (!context.settings.loaded) {
        interaction.Error(sid::kIniFileError, context.strings.Get(sid::kIniFileError));
        return {StartOutcome::SettingsRejected, iniPath + ": its [HEADER] TITLE is not \"" +
                                                    context.strings.Get(sid::kDefTitle) + "\""};
    }
    SelectLanguage(context);
    for (const std::string& warning : context.strings.overlayWarnings())
        std::cerr << "rvq-setting-tool: " << warning << "\n";
    if (languageChosen) languageChosen(context.isJapanese);
    if (!context.settings.password.empty() && !(login && login(context.settings.password))) {
        return {StartOutcome::LoginRefused, {}};
    }
    if (!document.OnNewDocument(programFolder, context.settings.printerModel,
                                context.settings.destination)) {
        const std::string definitions = document.definitionPath().empty()
                                            ? JoinPath(programFolder, "VQTool_Printer.XML")
                                            : document.definitionPath();
        return {StartOutcome::DefinitionMissing, definitions + ": the printer model \"" +
                                                     context.settings.printerModel +
                                                     "\" cannot be loaded"};
    }
    return {};
}

}  // namespace rvq::ui
