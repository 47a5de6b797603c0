#include "basic_test_support.h"

#include <cstdio>
#include <fstream>

#include "core/app/strings.h"

namespace rvq::test {

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::vector<basic::Text> Lines(const std::vector<std::string>& utf8) {
    std::vector<basic::Text> lines;
    for (const std::string& line : utf8) lines.push_back(T(line));
    return lines;
}

basic::BasicImageResult Build(const std::vector<std::string>& lines, basic::BasicSlot slot,
                              CodePage codePage) {
    static const Strings strings;
    static const basic::BasicKeywords keywords(strings);
    return basic::BuildBasicImage(Lines(lines), slot, "TEST.BAS", codePage, keywords);
}

std::vector<Bytes> CodeLines(const Bytes& image, basic::BasicSlot slot) {
    const basic::SlotLayout& layout = basic::LayoutFor(slot);
    std::size_t codeSize = 0;
    for (std::size_t i = 0; i < layout.codeSizeBytes; ++i)
        codeSize = codeSize * 256 + image[0x10 + i];
    std::vector<Bytes> lines;
    std::size_t at = layout.headerSize;
    const std::size_t end = at + codeSize;
    while (at < end) {
        const std::size_t length = image[at] + 1u;
        lines.push_back(Slice(image, at, length));
        at += length;
    }
    EXPECT_EQ(at, end) << "the code does not end at a line boundary";
    return lines;
}

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t count) {
    if (offset + count > bytes.size()) return {};
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

std::string Hex(const Bytes& bytes) {
    std::string out;
    char cell[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(cell, sizeof cell, out.empty() ? "%02X" : " %02X", b);
        out += cell;
    }
    return out;
}

Bytes FromHex(const std::string& hex) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return out;
}

}  // namespace rvq::test
