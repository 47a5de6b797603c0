#include "core/pages/tool_page.h"

#include "core/platform/start_program.h"

namespace rvq {

bool FontToolOffered(const ToolSettings& settings, bool isJapanese) {
    return !settings.fontToolPath.empty() && !isJapanese;
}

void StartFontTool(ToolSettings& settings) {
    if (settings.fontToolPath.empty()) return;
    if (!StartProgram(settings.fontToolPath)) settings.fontToolPath.clear();
}

}  // namespace rvq
