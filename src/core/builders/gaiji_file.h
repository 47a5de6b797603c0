#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/builders/build_result.h"
#include "core/builders/confirmation_print.h"
#include "core/builders/gaiji_rules.h"
#include "core/builders/mono_bitmap.h"

namespace rvq {

class Strings;

// Reads and checks one bitmap: 891 when it is not a usable monochrome
// bitmap, 892 when it does not fit the limits or the type's size.
struct GaijiBitmapCheck {
    BuildResult result;
    MonoBitmap bitmap;
};
GaijiBitmapCheck CheckGaijiBitmap(const std::string& path, int type, const GaijiLimits& limits,
                                  const Strings& strings);

struct GaijiFolderScan {
    std::vector<GaijiRecord> records;  // in name order
    BuildResult result;                // 893 when none is accepted
};
GaijiFolderScan ScanGaijiFolder(const std::string& folder, GaijiLocation location, int gaijiWidth,
                                int defaultSpacing, const Strings& strings);

// One registration command: header, bitmap rows as nibble characters, code2 code3.
std::string BuildGaijiRecord(const GaijiRecord& record, const MonoBitmap& bitmap,
                             GaijiLocation location, const ControlCodes& codes);

struct GaijiFileJob {
    std::vector<GaijiRecord> records;
    GaijiLocation location = GaijiLocation::Flash;
    int gaijiWidth = 0;
    ControlCodes codes;
    std::string outputPath;
    std::optional<ConfirmationPrint> confirmation;  // for the first record
};

// Writes the external character file (1015 when a bitmap fails, 1016
// when a file cannot be written) and the confirmation print file.
BuildResult CreateExternalCharacterFile(const GaijiFileJob& job, const Strings& strings,
                                        const std::function<void(int percent)>& progress = {});

}  // namespace rvq
