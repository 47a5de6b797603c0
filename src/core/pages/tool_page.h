#pragma once

#include "core/app/tool_settings.h"

namespace rvq {

// The font tool's button is offered when a program is stored for it, and
// not with the Japanese interface.
bool FontToolOffered(const ToolSettings& settings, bool isJapanese);

// Starts the stored font tool. A program that cannot be started is
// forgotten (the path is cleared), so the button goes away.
void StartFontTool(ToolSettings& settings);

}  // namespace rvq
