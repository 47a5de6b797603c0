#include "core/builders/mono_bitmap.h"

namespace rvq {

namespace {

constexpr std::size_t kHeaderSize = 54;
constexpr std::size_t kFirstPaletteEntryEnd = kHeaderSize + 4;

std::uint32_t Le32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

std::uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

}  // namespace

std::optional<MonoBitmap> ReadMonoBitmap(std::string_view file) {
    if (file.size() < kFirstPaletteEntryEnd || !file.starts_with("BM") || Le16(file, 28) != 1) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(Le32(file, 18));
    const auto height = static_cast<std::int32_t>(Le32(file, 22));
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    const bool bottomUp = height > 0;
    const std::uint64_t rowCount =
        bottomUp ? static_cast<std::uint64_t>(height) : static_cast<std::uint64_t>(-height);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    const std::uint64_t dataOffset = Le32(file, 10);
    if (dataOffset > file.size() || stride * rowCount > file.size() - dataOffset)
        return std::nullopt;

    // Palette entry 0 is the colour of a clear bit; unless it is white the
    // bits are turned round so that a set bit is black.
    const bool invert = static_cast<unsigned char>(file[54]) != 0xFF ||
                        static_cast<unsigned char>(file[55]) != 0xFF ||
                        static_cast<unsigned char>(file[56]) != 0xFF;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
    const unsigned lastMask = width % 8 ? (0xFFu << (8 - width % 8)) & 0xFF : 0xFF;

    MonoBitmap bitmap;
    bitmap.width = width;
    bitmap.height = static_cast<int>(rowCount);
    bitmap.rows.reserve(rowBytes * rowCount);
    for (std::uint64_t r = 0; r < rowCount; ++r) {
        const std::uint64_t source = bottomUp ? rowCount - 1 - r : r;
        std::string row(file.substr(dataOffset + source * stride, rowBytes));
        if (invert) {
            for (char& c : row) c = static_cast<char>(~c);
            row.back() = static_cast<char>(static_cast<unsigned char>(row.back()) & lastMask);
        }
        bitmap.rows += row;
    }
    return bitmap;
}

}  // namespace rvq
