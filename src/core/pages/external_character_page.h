#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rvq {

class Strings;

// Offset and spacing fields take 3 characters while their maximum is
// below 1000, else 4.
int GaijiFieldMaxLength(int maximum);

// The code in a "HEX(__)" or "HEX(____)" field: its hexadecimal digits,
// 0 when there are none.
int GaijiCodeFromField(std::string_view text);

// Offsets and spacing after a type change: both offsets 0; spacing 0 and
// the fields locked in Folder mode and for the fixed-size types 41-44,
// otherwise the first bitmap's width with the fields open.
struct GaijiOffsetFields {
    int left = 0;
    int top = 0;
    int spacing = 0;
    bool editable = true;
};
GaijiOffsetFields GaijiOffsetsForType(bool folderMode, int type, int firstBitmapWidth);

// The six magnification texts, in list order.
std::vector<std::string> MagnificationTexts(const Strings& strings);

}  // namespace rvq
