#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/tool_settings.h"

namespace rvq {

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

// "{", "|", "}" when the control codes are automatic, else the configured ones.
ControlCodes GaijiFileCodes(const ToolSettings& settings);

}  // namespace rvq
