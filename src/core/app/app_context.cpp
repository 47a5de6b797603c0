#include "core/app/app_context.h"

#include "core/app/string_ids.h"

namespace rvq {

bool SelectLanguage(AppContext& context) {
    context.isJapanese = context.settings.language == "JPN";
    if (!context.isJapanese) return false;
    const DataFile table =
        FindDataFile(context.settings.locations, context.strings.Get(sid::kJapaneseLibrary));
    return context.strings.LoadOverlay(table.path);
}

std::string LanguageTableProblem(const AppContext& context) {
    const std::string name = context.strings.Get(sid::kJapaneseLibrary);
    const DataFile table = FindDataFile(context.settings.locations, name);
    if (!table.found()) return NotFoundMessage(name, table) + "; the texts stay English";
    return table.path + ": cannot be read as a table of texts; the texts stay English";
}

}  // namespace rvq
