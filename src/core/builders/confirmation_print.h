#pragma once

#include <string>

#include "core/app/tool_settings.h"
#include "core/builders/gaiji_rules.h"
#include "core/builders/print_method.h"

namespace rvq {

// The optional print file that shows the character.
struct ConfirmationPrint {
    int magnification = 1;  // list item 0-5
    PrintMethod method = PrintMethod::ThermalTransfer;
    int labelWidthMm = 0;
    int labelLengthMm = 74;
    std::string modelName{};
};

std::string BuildConfirmationPrint(const ConfirmationPrint& print, int type, int code,
                                   GaijiLocation location, const ControlCodes& codes);

// The output path with its extension replaced by ".PRN"; ".PRN" appended
// when there is no extension or the output itself ends in ".PRN".
std::string ConfirmationPrintPath(const std::string& outputPath);

}  // namespace rvq
