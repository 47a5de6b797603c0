#pragma once

// ROM files as the firmware page reads them, for download tests.

#include <cstddef>
#include <string>

namespace rvq::test {

// `kb` KB of image (a byte pattern that differs from file to file) whose
// last 256 bytes are the trailer naming the section, version and model.
inline std::string RomFile(std::size_t kb, const std::string& section, const std::string& version,
                           const std::string& model = "R-VQ4T1") {
    std::string image(kb * 1024, '\0');
    const unsigned seed = static_cast<unsigned>(section.size() * 31 + version.back());
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 7 + seed) % 251);
    std::string trailer(256, ' ');
    trailer[0] = static_cast<char>(kb >> 24);
    trailer[1] = static_cast<char>(kb >> 16);
    trailer[2] = static_cast<char>(kb >> 8);
    trailer[3] = static_cast<char>(kb);
    trailer.replace(4, 4, std::string("\x00\xB0\x00\x00", 4));
    trailer.replace(0x20, 9, "25OCT2010");
    trailer.replace(0x30, model.size(), model);
    trailer.replace(0x40, version.size(), version);
    trailer.replace(0x50, section.size(), section);
    image.replace(image.size() - 256, 256, trailer);
    return image;
}

}  // namespace rvq::test
