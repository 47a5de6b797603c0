#include "core/builders/rom_load_header.h"

#include "core/app/text.h"
#include "core/builders/rom_trailer.h"

namespace rvq {

namespace {

void PutColumn(std::string& bytes, std::size_t offset, const std::string& column) {
    const std::size_t n = std::min(column.size(), rom_trailer::kColumn);
    bytes.replace(offset, n, column, 0, n);
}

}  // namespace

std::string BuildLoadCommand(std::uint32_t loadAddress, std::uint32_t sizeKb,
                             const ControlCodes& codes) {
    std::string command;
    command += static_cast<char>(codes.code1);
    command += "LD;";
    std::string address(4, '\0');
    WriteBigEndian32(address, 0, loadAddress);
    command += address;
    command += ',';
    command += static_cast<char>((sizeKb >> 8) & 0xFF);
    command += static_cast<char>(sizeKb & 0xFF);
    command += static_cast<char>(codes.code2);
    command += static_cast<char>(codes.code3);
    return command;
}

std::string BuildProgramPrefix(const ControlCodes& codes) {
    return std::string(1, static_cast<char>(codes.code1)) + "LP;";
}

std::string EncodeRomLoadHeader(const RomLoadHeader& header) {
    using namespace rom_load_header;
    std::string bytes(kSize, ' ');
    bytes.replace(0, kMark.size(), kMark);
    PutColumn(bytes, kModel, header.modelColumn);
    PutColumn(bytes, kVersion, header.versionColumn);
    bytes.replace(kSum, 4, Format("%04X", static_cast<unsigned>(header.imageSum)));
    PutColumn(bytes, kSection, header.sectionColumn);
    bytes.replace(kLoadAddress, 8, Format("%08X", header.loadAddress));
    // The header is a file format: it always carries the default codes.
    const ControlCodes fileCodes;
    bytes.replace(kLoadCommand, 13, BuildLoadCommand(header.loadAddress, header.sizeKb, fileCodes));
    bytes.replace(kProgramPrefix, 4, BuildProgramPrefix(fileCodes));
    return bytes;
}

}  // namespace rvq
