#include <algorithm>

#include "core/app/text.h"
#include "core/builders/confirmation_print.h"

namespace rvq {

namespace {

struct Magnification {
    int horizontal;
    int vertical;
};

constexpr Magnification kMagnifications[] = {{5, 5},   {10, 10}, {20, 20},
                                             {30, 30}, {10, 20}, {20, 10}};

// code1 + body + code2 + code3, then CR LF as every line of the file.
std::string Command(const std::string& body, const ControlCodes& codes) {
    std::string out(1, static_cast<char>(codes.code1));
    out += body;
    out += static_cast<char>(codes.code2);
    out += static_cast<char>(codes.code3);
    out += "\r\n";
    return out;
}

}  // namespace

std::string BuildConfirmationPrint(const ConfirmationPrint& print, int type, int code,
                                   GaijiLocation location, const ControlCodes& codes) {
    const int length = print.labelLengthMm * 10;
    const int width = print.labelWidthMm * 10;
    const int digit = location == GaijiLocation::Usb ? 1 : 0;
    const Magnification mag = kMagnifications[std::clamp(print.magnification, 0, 5)];

    std::string out;
    out += Command(
        Format(length >= 9979 ? "D%05d,%04d,%05d" : "D%04d,%04d,%04d", length + 20, width, length),
        codes);
    out += Command("C", codes);
    if (IsFixedSizeGaijiType(type)) {
        out += Command(Format("PC000;0010,0200,%02d,%02d,%c%d,00,B", mag.horizontal, mag.vertical,
                              "UVWX"[type - 41], digit),
                       codes);
    } else {
        out += Command(Format("PC000;0010,0010,%02d,%02d,%02d%d,00,B", mag.horizontal, mag.vertical,
                              type, digit),
                       codes);
    }
    std::string data = "RC000;";
    if (code > 0xFF) {
        data += static_cast<char>((code >> 8) & 0xFF);
    } else if (IsFixedSizeGaijiType(type)) {
        data += '\xF0';
    }
    data += static_cast<char>(code & 0xFF);
    out += Command(data, codes);
    out += Command(Format("XS;I,%04d,%03d%d%c%c%d00", 1, 0, 0, 'C', '3',
                          PrintMethodCode(print.method, print.modelName)),
                   codes);
    return out;
}

std::string ConfirmationPrintPath(const std::string& outputPath) {
    const std::size_t slash = outputPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = outputPath.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart) return outputPath + ".PRN";
    std::string path = outputPath.substr(0, dot) + ".PRN";
    // Never the external character file itself.
    if (path == outputPath) path += ".PRN";
    return path;
}

}  // namespace rvq
