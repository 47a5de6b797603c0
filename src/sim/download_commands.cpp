#include "sim/download_commands.h"

#include <algorithm>

namespace rvq::sim {
namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// A text column of the trailer: up to its first NUL, trimmed.
std::string Column(std::string_view trailer, std::size_t at, std::size_t width) {
    std::string_view column = trailer.substr(at, width);
    column = column.substr(0, column.find('\0'));
    return Trimmed(column);
}

}  // namespace

std::vector<BinaryRule> DownloadRules(const std::shared_ptr<PendingLoad>& pending) {
    auto expected = [pending](PendingLoad::Kind kind) {
        return [pending, kind](std::string_view) -> std::optional<std::size_t> {
            if (pending->kind != kind) return std::nullopt;
            return kind == PendingLoad::Kind::Basic ? pending->imageBytes + 3 : pending->imageBytes;
        };
    };
    BinaryRule load{"LD;", 3, [](std::string_view) { return std::optional<std::size_t>(7); }, true};
    BinaryRule firmware{"LP;", 3, expected(PendingLoad::Kind::Firmware), false};
    firmware.announce = true;
    firmware.progressStep = kFirmwareChunk;
    BinaryRule basic{"LP;", 3, expected(PendingLoad::Kind::Basic), false};
    return {load, firmware, basic};
}

CommandObserver DownloadObserver(const std::shared_ptr<PendingLoad>& pending) {
    return [pending](const ReceivedCommand& command) {
        if (command.text == "LD;" && command.data) {
            const auto load = ParseFirmwareLoad(*command.data);
            *pending = load ? PendingLoad{PendingLoad::Kind::Firmware, load->sizeKb * 1024}
                            : PendingLoad{};
        } else if (command.text.starts_with("LDB;")) {
            const auto load = ParseBasicLoad(command.text);
            *pending = load ? PendingLoad{PendingLoad::Kind::Basic,
                                          static_cast<std::size_t>(load->units) * 65536}
                            : PendingLoad{};
        } else if (command.text == "LP;") {
            *pending = PendingLoad{};
        }
    };
}

std::optional<FirmwareLoad> ParseFirmwareLoad(std::string_view data) {
    if (data.size() != 7 || data[4] != ',') return std::nullopt;
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(data[i]));
    };
    FirmwareLoad load;
    load.address = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    load.sizeKb = byte(5) << 8 | byte(6);
    return load;
}

std::optional<BasicLoad> ParseBasicLoad(std::string_view text) {
    if (text.size() != 9 || !text.starts_with("LDB;") || text[6] != ',') return std::nullopt;
    if (!Digit(text[4]) || !Digit(text[5]) || !Digit(text[7]) || !Digit(text[8]))
        return std::nullopt;
    BasicLoad load{(text[4] - '0') * 10 + (text[5] - '0'), (text[7] - '0') * 10 + (text[8] - '0')};
    if (load.units == 0) return std::nullopt;
    return load;
}

std::optional<ImageTrailer> ReadImageTrailer(std::string_view image) {
    constexpr std::size_t kTrailer = 256;
    if (image.size() < kTrailer) return std::nullopt;
    const std::string_view trailer = image.substr(image.size() - kTrailer);
    ImageTrailer result{Column(trailer, 0x50, 16), Column(trailer, 0x40, 16),
                        Column(trailer, 0x30, 16)};
    if (result.section.empty() || result.version.empty()) return std::nullopt;
    if (result.section == "HTML") result.section = "WMON";
    return result;
}

std::optional<BasicProgram> CheckBasicProgram(std::string_view data, std::size_t imageBytes,
                                              const CodeSet& codes) {
    if (imageBytes < 16 || data.size() != imageBytes + 3) return std::nullopt;
    if (static_cast<unsigned char>(data[imageBytes]) != codes.code2 ||
        static_cast<unsigned char>(data[imageBytes + 1]) != codes.code3)
        return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 0; i < imageBytes; ++i) sum += static_cast<unsigned char>(data[i]);
    sum += static_cast<unsigned char>(data[imageBytes + 2]);
    if ((sum & 0xFFu) != 0) return std::nullopt;
    BasicProgram program;
    const std::string_view name = data.substr(0, 12);
    program.name = std::string(name.substr(0, std::min(name.find('\0'), name.size())));
    if (static_cast<unsigned char>(data[14]) == 0xF0 && data[15] == 0x02) {
        program.slot = 'D';
    } else {
        program.slot = data[15] == 1 ? 'S' : 'M';
    }
    return program;
}

}  // namespace rvq::sim
