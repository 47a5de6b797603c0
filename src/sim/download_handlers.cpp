// Downloads and memory commands a printer answers: firmware load and program
// with its status frames, BASIC block loads, memory allocation and format.
#include <algorithm>
#include <cctype>

#include "sim/download_handlers.h"
#include "sim/reply_builders.h"

namespace rvq::sim {
namespace {

constexpr int kReadyForData = 52;
constexpr int kNextBlock = 53;
constexpr int kWritten = 56;
// The status of an image the printer will not write.
constexpr int kRejected = 34;

unsigned Sum16(std::string_view bytes) {
    unsigned sum = 0;
    for (char c : bytes) sum += static_cast<unsigned char>(c);
    return sum & 0xFFFFu;
}

bool TwoDigits(std::string_view text) {
    return text.size() == 2 && std::isdigit(static_cast<unsigned char>(text[0])) &&
           std::isdigit(static_cast<unsigned char>(text[1]));
}

// "XF;ff,ee,bb" with bb two digits or "AA".
std::optional<MemoryAllocation> ParseAllocation(std::string_view text) {
    if (text.size() != 11 || text.substr(0, 3) != "XF;" || text[5] != ',' || text[8] != ',')
        return std::nullopt;
    const std::string_view font = text.substr(3, 2), external = text.substr(6, 2),
                           basic = text.substr(9, 2);
    if (!TwoDigits(font) || !TwoDigits(external) || (!TwoDigits(basic) && basic != "AA"))
        return std::nullopt;
    return MemoryAllocation{std::stoi(std::string(font)), std::stoi(std::string(external)),
                            std::string(basic)};
}

void ProgramFirmware(SimPrinter& printer, const ReceivedCommand& command, Response& response) {
    const PrinterConfig& config = printer.config();
    PrinterState& state = printer.state();
    const std::string& image = *command.data;
    const auto trailer = ReadImageTrailer(image);
    // BOOT and MAIN images of the second bank carry versions beginning
    // with N; they fit only a printer of that bank type, and the others only
    // the other printers.
    const bool bankImage = trailer && (trailer->section == "BOOT" || trailer->section == "MAIN");
    if (!trailer || (bankImage && (trailer->version.front() == 'N') != (config.bankType == 'N'))) {
        response.reply = StatusFrame(kRejected);
        return;
    }
    ++state.programmed;
    if (!config.faults.staleVersions) {
        auto part =
            std::find_if(state.firmware.begin(), state.firmware.end(),
                         [&](const FirmwarePart& f) { return f.section == trailer->section; });
        if (part == state.firmware.end())
            part =
                state.firmware.insert(state.firmware.end(), FirmwarePart{trailer->section, {}, 0});
        part->version = trailer->version;
        part->sum = Sum16(image);
    }
    response.reply =
        StatusFrame(config.faults.writtenStatus >= 0 ? config.faults.writtenStatus : kWritten);
    response.delayMs = config.programMs;
    response.restart = true;
}

void ProgramBasic(SimPrinter& printer, const ReceivedCommand& command, Response& response) {
    const PrinterConfig& config = printer.config();
    const std::size_t imageBytes = command.data->size() >= 3 ? command.data->size() - 3 : 0;
    const auto program = CheckBasicProgram(*command.data, imageBytes, command.codes);
    if (program) printer.state().basic[program->slot] = *program;
    response.reply = StatusFrame(program ? config.basicStatus : kRejected);
    response.delayMs = config.basicProgramMs;
    response.restart = true;
}

}  // namespace

void RegisterDownloadCommands(SimPrinter& printer) {
    printer.Register("LD;", [](SimPrinter& p, const ReceivedCommand& c, Response&) {
        const auto load = c.data ? ParseFirmwareLoad(*c.data) : std::nullopt;
        p.downloads().lastLoad =
            load ? PendingLoad{PendingLoad::Kind::Firmware, load->sizeKb * 1024} : PendingLoad{};
    });
    printer.Register("LDB;", [](SimPrinter& p, const ReceivedCommand& c, Response&) {
        const auto load = ParseBasicLoad(c.text);
        p.downloads().lastLoad = load ? PendingLoad{PendingLoad::Kind::Basic,
                                                    static_cast<std::size_t>(load->units) * 65536}
                                      : PendingLoad{};
    });
    printer.Register("LP;", [](SimPrinter& p, const ReceivedCommand& c, Response& r) {
        const PendingLoad load = p.downloads().lastLoad;
        p.downloads().lastLoad = PendingLoad{};
        if (!c.data) return;  // a program command without a load command before it
        if (load.kind == PendingLoad::Kind::Firmware) ProgramFirmware(p, c, r);
        if (load.kind == PendingLoad::Kind::Basic) ProgramBasic(p, c, r);
    });
}

void HandleDataEvent(SimPrinter& printer, const ReceivedCommand& event, Response& response) {
    DownloadProgress& progress = printer.downloads();
    if (event.text != "LP;" || progress.lastLoad.kind != PendingLoad::Kind::Firmware) return;
    if (event.kind == ReceivedCommand::Kind::DataStart) {
        progress.nextBlocksSent = 0;
        response.reply = StatusFrame(kReadyForData);
    } else if (printer.link() == LinkKind::Serial) {
        // Only a serial line paces the image block by block.
        const int limit = printer.config().faults.nextBlockLimit;
        if (limit >= 0 && progress.nextBlocksSent >= limit) return;
        ++progress.nextBlocksSent;
        response.reply = StatusFrame(kNextBlock);
    }
}

void RegisterMemoryCommands(SimPrinter& printer) {
    // Neither command is answered; the printer is busy writing its flash.
    printer.Register("XF;", [](SimPrinter& p, const ReceivedCommand& c, Response& r) {
        const auto allocation = ParseAllocation(c.text);
        if (!allocation) return;
        p.state().allocation = allocation;
        r.busyMs = p.config().allocateMs;
    });
    printer.Register("J1;", [](SimPrinter& p, const ReceivedCommand& c, Response& r) {
        // "J1;d,n": drive letter and one-digit format number.
        const std::string& t = c.text;
        if (t.size() != 6 || t[4] != ',' || !std::isupper(static_cast<unsigned char>(t[3])) ||
            !std::isdigit(static_cast<unsigned char>(t[5])))
            return;
        p.state().format = std::make_pair(t[3], t[5] - '0');
        r.busyMs = p.config().formatMs;
    });
}

}  // namespace rvq::sim
