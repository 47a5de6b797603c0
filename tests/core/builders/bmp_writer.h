#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rvq::test {

struct BmpOptions {
    bool blackFirst = false;  // palette entry 0 black: a clear bit is black
    bool topDown = false;     // negative height
    char padding = '\0';      // filler of the row padding
};

// A one-bit BMP from rows of '#' (black) and '.' (white), top row first.
inline std::string MakeBmp(const std::vector<std::string>& picture, BmpOptions options = {}) {
    const int width = picture.empty() ? 0 : static_cast<int>(picture[0].size());
    const int height = static_cast<int>(picture.size());
    const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    std::string file(62, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(62 + stride * height));
    put32(10, 62);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(options.topDown ? -height : height));
    file[26] = 1;
    file[28] = 1;
    const std::string white("\xFF\xFF\xFF\0", 4), black(4, '\0');
    file.replace(54, 4, options.blackFirst ? black : white);
    file.replace(58, 4, options.blackFirst ? white : black);
    for (int r = 0; r < height; ++r) {
        const std::string& line = picture[options.topDown ? r : height - 1 - r];
        std::string row(stride, options.padding);
        for (std::size_t b = 0; b < (static_cast<std::size_t>(width) + 7) / 8; ++b) row[b] = '\0';
        for (int x = 0; x < width; ++x) {
            const bool bit = (line[x] == '#') != options.blackFirst;
            if (bit) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        if (options.blackFirst && width % 8) {
            // Padding bits of a black-first file are set, as a paint program leaves them.
            row[width / 8] = static_cast<char>(row[width / 8] | (0xFF >> (width % 8)));
        }
        file += row;
    }
    return file;
}

// A blank picture of the given size.
inline std::vector<std::string> Blank(int width, int height) {
    return std::vector<std::string>(static_cast<std::size_t>(height),
                                    std::string(static_cast<std::size_t>(width), '.'));
}

}  // namespace rvq::test
