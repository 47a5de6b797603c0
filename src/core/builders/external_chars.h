#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/builders/build_result.h"
#include "core/builders/mono_bitmap.h"
#include "core/builders/print_method.h"

namespace rvq {

class Strings;

// Where the printer keeps the characters; the digit of the print commands.
enum class GaijiLocation { Flash = 0, Usb = 1 };

struct GaijiLimits {
    int maxWidth = 0;
    int maxHeight = 0;
    int maxLeft = 0;
    int maxTop = 0;
    int maxSpacing = 0;
};

GaijiLimits GaijiLimitsFor(GaijiLocation location, int gaijiWidth);

// Types 1-44 and 51, and 52-55 on USB memory.
bool IsGaijiTypeAllowed(int type, GaijiLocation location);
std::vector<int> GaijiTypesFor(GaijiLocation location);

bool IsTwoByteGaijiType(int type);
bool IsFixedSizeGaijiType(int type);  // 41-44
bool IsValidGaijiCode(int type, int code);
int DefaultGaijiCode(int type);
// What a code out of the type's range becomes when the field is left.
int ReplaceGaijiCode(int type, int code);
// "HEX(41)" or "HEX(2020)"
std::string FormatGaijiCode(int type, int code);

// The location's limits and the fixed sizes of types 41-44.
bool GaijiBitmapSizeFits(int width, int height, int type, const GaijiLimits& limits);

// One external character: the bitmap file and the values of its record.
struct GaijiRecord {
    std::string path{};
    int width = 0;
    int height = 0;
    int type = 1;
    int code = 0x20;
    int left = 0;
    int top = 0;
    int spacing = 0;
};

// Values a folder file name gives ("G_0141.BMP", "G_0141_2_3_16.BMP");
// nothing when the upper-cased name does not follow the pattern.
std::optional<GaijiRecord> ParseGaijiFileName(std::string_view name, GaijiLocation location,
                                              const GaijiLimits& limits, int defaultSpacing);

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

// "{", "|", "}" when the control codes are automatic, else the configured ones.
ControlCodes GaijiFileCodes(const ToolSettings& settings);

// One registration command: header, bitmap rows as nibble characters, code2 code3.
std::string BuildGaijiRecord(const GaijiRecord& record, const MonoBitmap& bitmap,
                             GaijiLocation location, const ControlCodes& codes);

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
