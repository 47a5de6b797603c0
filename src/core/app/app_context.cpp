#include "core/app/app_context.h"

#include "core/app/string_ids.h"
#include "core/platform/file_io.h"

namespace rvq {

bool SelectLanguage(AppContext& context, const std::string& dataFolder) {
    context.isJapanese = context.settings.language == "JPN";
    if (!context.isJapanese) return false;
    const std::string& name = context.strings.Get(sid::kJapaneseLibrary);
    if (context.strings.LoadOverlay(JoinPath(context.settings.programFolder, name))) return true;
    return !dataFolder.empty() && context.strings.LoadOverlay(JoinPath(dataFolder, name));
}

}  // namespace rvq
