// Downloads and memory commands of SimPrinter: firmware load and program
// with its status frames, BASIC block loads, memory allocation and format.
#include <algorithm>
#include <cctype>

#include "sim/reply_builders.h"
#include "sim/sim_printer.h"

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

}  // namespace

void SimPrinter::RegisterDownloadCommands() {
    Register("LD;", [](SimPrinter& p, const ReceivedCommand& c, Response&) {
        const auto load = c.data ? ParseFirmwareLoad(*c.data) : std::nullopt;
        p.lastLoad_ =
            load ? PendingLoad{PendingLoad::Kind::Firmware, load->sizeKb * 1024} : PendingLoad{};
    });
    Register("LDB;", [](SimPrinter& p, const ReceivedCommand& c, Response&) {
        const auto load = ParseBasicLoad(c.text);
        p.lastLoad_ = load ? PendingLoad{PendingLoad::Kind::Basic,
                                         static_cast<std::size_t>(load->units) * 65536}
                           : PendingLoad{};
    });
    Register("LP;", [](SimPrinter& p, const ReceivedCommand& c, Response& r) {
        const PendingLoad load = p.lastLoad_;
        p.lastLoad_ = PendingLoad{};
        if (!c.data) return;  // a program command without a load command before it
        if (load.kind == PendingLoad::Kind::Firmware) p.ProgramFirmware(c, r);
        if (load.kind == PendingLoad::Kind::Basic) p.ProgramBasic(c, r);
    });
}

void SimPrinter::HandleDataEvent(const ReceivedCommand& event, Response& response) {
    if (event.text != "LP;" || lastLoad_.kind != PendingLoad::Kind::Firmware) return;
    if (event.kind == ReceivedCommand::Kind::DataStart) {
        nextBlocksSent_ = 0;
        response.reply = StatusFrame(kReadyForData);
    } else if (link_ == LinkKind::Serial) {
        // Only a serial line paces the image block by block.
        const int limit = config_.faults.nextBlockLimit;
        if (limit >= 0 && nextBlocksSent_ >= limit) return;
        ++nextBlocksSent_;
        response.reply = StatusFrame(kNextBlock);
    }
}

void SimPrinter::ProgramFirmware(const ReceivedCommand& command, Response& response) {
    const std::string& image = *command.data;
    const auto trailer = ReadImageTrailer(image);
    // BOOT and MAIN images of the second bank carry versions beginning
    // with N; they fit only a printer of that bank type, and the others only
    // the other printers.
    const bool bankImage = trailer && (trailer->section == "BOOT" || trailer->section == "MAIN");
    if (!trailer || (bankImage && (trailer->version.front() == 'N') != (config_.bankType == 'N'))) {
        response.reply = StatusFrame(kRejected);
        return;
    }
    ++state_.programmed;
    if (!config_.faults.staleVersions) {
        auto part =
            std::find_if(state_.firmware.begin(), state_.firmware.end(),
                         [&](const FirmwarePart& f) { return f.section == trailer->section; });
        if (part == state_.firmware.end())
            part = state_.firmware.insert(state_.firmware.end(),
                                          FirmwarePart{trailer->section, {}, 0});
        part->version = trailer->version;
        part->sum = Sum16(image);
    }
    response.reply =
        StatusFrame(config_.faults.writtenStatus >= 0 ? config_.faults.writtenStatus : kWritten);
    response.delayMs = config_.programMs;
    response.restart = true;
}

void SimPrinter::ProgramBasic(const ReceivedCommand& command, Response& response) {
    const std::size_t imageBytes = command.data->size() >= 3 ? command.data->size() - 3 : 0;
    const auto program = CheckBasicProgram(*command.data, imageBytes, command.codes);
    if (program) state_.basic[program->slot] = *program;
    response.reply = StatusFrame(program ? config_.basicStatus : kRejected);
    response.delayMs = config_.basicProgramMs;
    response.restart = true;
}

void SimPrinter::RegisterMemoryCommands() {
    // Neither command is answered; the printer is busy writing its flash.
    Register("XF;", [](SimPrinter& p, const ReceivedCommand& c, Response& r) {
        const auto allocation = ParseAllocation(c.text);
        if (!allocation) return;
        p.state_.allocation = allocation;
        r.busyMs = p.config_.allocateMs;
    });
    Register("J1;", [](SimPrinter& p, const ReceivedCommand& c, Response& r) {
        // "J1;d,n": drive letter and one-digit format number.
        const std::string& t = c.text;
        if (t.size() != 6 || t[4] != ',' || !std::isupper(static_cast<unsigned char>(t[3])) ||
            !std::isdigit(static_cast<unsigned char>(t[5])))
            return;
        p.state_.format = std::make_pair(t[3], t[5] - '0');
        r.busyMs = p.config_.formatMs;
    });
}

}  // namespace rvq::sim
