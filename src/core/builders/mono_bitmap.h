#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rvq {

// A one-bit bitmap as the printer wants it: rows top first, (width + 7) / 8
// bytes each, most significant bit leftmost, a set bit a black dot.
struct MonoBitmap {
    int width = 0;
    int height = 0;
    std::string rows;
};

// Reads a monochrome BMP file. Nothing when it is not one or when its
// header, palette or rows do not fit the file; nothing either for a width
// below 1 or a height of 0. A negative height is a top-down bitmap.
std::optional<MonoBitmap> ReadMonoBitmap(std::string_view file);

}  // namespace rvq
