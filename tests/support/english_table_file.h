#pragma once

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace rvq::test {

// One English table file as the build embeds it: a row's optional name
// ("1502 kStatusFail<TAB>Fail") is dropped, the rest kept byte for byte.
inline std::string ReadEnglishTableFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    std::string out;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find('\n', pos);
        end = end == std::string::npos ? content.size() : end + 1;
        const std::string line = content.substr(pos, end - pos);
        pos = end;
        std::size_t digits = 0;
        while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
            ++digits;
        const std::size_t tab = line.find('\t');
        if (digits > 0 && digits < line.size() && line[digits] == ' ' && tab != std::string::npos)
            out += line.substr(0, digits) + line.substr(tab);
        else
            out += line;
    }
    return out;
}

}  // namespace rvq::test
