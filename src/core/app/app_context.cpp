#include "core/app/app_context.h"

#include "core/app/string_ids.h"
#include "core/platform/file_io.h"

namespace rvq {

bool SelectLanguage(AppContext& context) {
    context.isJapanese = context.settings.language == "JPN";
    if (!context.isJapanese) return false;
    const std::string table = JoinPath(context.settings.programFolder, context.strings.Get(sid::kJapaneseLibrary));
    return context.strings.LoadOverlay(table);
}

}  // namespace rvq
