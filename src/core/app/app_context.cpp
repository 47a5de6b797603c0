#include "core/app/app_context.h"

#include "core/app/file_locations.h"
#include "core/app/string_ids.h"
#include "core/platform/file_io.h"

namespace rvq {

bool SelectLanguage(AppContext& context, const std::string& dataFolder) {
    context.isJapanese = context.settings.language == "JPN";
    if (!context.isJapanese) return false;
    const std::string name = context.strings.Get(sid::kJapaneseLibrary);
    const DataFile table = FindDataFile(context.settings.locations, name);
    if (table.found() && context.strings.LoadOverlay(table.path)) return true;
    return !dataFolder.empty() && context.strings.LoadOverlay(JoinPath(dataFolder, name));
}

std::string LanguageTableProblem(const AppContext& context) {
    const std::string name = context.strings.Get(sid::kJapaneseLibrary);
    const DataFile table = FindDataFile(context.settings.locations, name);
    if (!table.found()) return NotFoundMessage(name, table) + "; the texts stay English";
    return table.path + ": cannot be read as a table of texts; the texts stay English";
}

}  // namespace rvq
