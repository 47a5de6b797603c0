// The information blocks a printer answers: versions, settings, data log.
#include <cstdio>

#include "sim/info_blocks.h"
#include "sim/info_commands.h"

namespace rvq::sim {
namespace {

// A name padded to the column where the printer starts its values.
std::string Column(const std::string& name, std::size_t width = 8) {
    std::string text = name;
    if (text.size() < width) {
        text.resize(width, ' ');
    } else {
        text += ' ';
    }
    return text;
}

std::string Bracketed(const std::string& name, const std::string& value) {
    return Column(name, 24) + "[" + value + "]";
}

// The fault of a printer that garbles its length field.
std::string WithLengthField(std::string frame, std::size_t at, std::size_t width,
                            const std::string& field) {
    if (field.empty() || frame.size() < at + width) return frame;
    std::string text = field.substr(0, width);
    text.resize(width, ' ');
    frame.replace(at, width, text);
    return frame;
}

constexpr std::size_t kBlockLengthAt = 2 + 17;
constexpr std::size_t kDataLogLengthAt = 2 + 25;

}  // namespace

void RegisterInformationCommands(SimPrinter& printer) {
    auto inSetting = [](const SimPrinter& p) {
        return p.mode() == PrinterMode::Setting || p.config().anyMode;
    };
    printer.Register("ZLR20", [inSetting](SimPrinter& p, const ReceivedCommand&, Response& r) {
        if (inSetting(p))
            r.reply = WithLengthField(VersionBlockFrame(VersionLines(p)), kBlockLengthAt, 4,
                                      p.config().faults.infoLengthField);
    });
    printer.Register("ZLR10", [inSetting](SimPrinter& p, const ReceivedCommand&, Response& r) {
        if (inSetting(p))
            r.reply = WithLengthField(SettingsBlockFrame(SettingsSections(p)), kBlockLengthAt, 4,
                                      p.config().faults.infoLengthField);
    });
    printer.Register("ZLR00", [inSetting](SimPrinter& p, const ReceivedCommand&, Response& r) {
        if (inSetting(p))
            r.reply = WithLengthField(DataLogFrame(p.config().dataLogBytes), kDataLogLengthAt, 8,
                                      p.config().faults.infoLengthField);
    });
}

std::string DestinationCode(const SimPrinter& printer) {
    const PrinterModel* model = printer.store().model();
    if (!model || printer.state().destination < 0 ||
        static_cast<std::size_t>(printer.state().destination) >= model->destinations.size())
        return std::to_string(printer.state().destination);
    return model->destinations[static_cast<std::size_t>(printer.state().destination)];
}

// Lines the tool reads as name and value: the program name and version,
// then after ':' the image's sum; the BASIC programs by slot.
std::vector<std::string> VersionLines(const SimPrinter& printer) {
    std::vector<std::string> lines;
    for (const FirmwarePart& part : printer.state().firmware) {
        char sum[8];
        std::snprintf(sum, sizeof sum, "%04X", part.sum & 0xFFFFu);
        lines.push_back(Column(part.section) + printer.config().model + " " + part.version + " :" +
                        sum);
    }
    for (const auto& [slot, program] : printer.state().basic)
        lines.push_back("BASIC " + std::string(1, slot) + " " + program.name);
    lines.emplace_back("USB     VER 1.00");
    lines.emplace_back("LAN     VER 1.00");
    return lines;
}

std::vector<InfoSectionText> SettingsSections(const SimPrinter& printer) {
    std::vector<InfoSectionText> sections;
    InfoSectionText counter{
        "COUNTER",
        {Column("MODEL", 16) + printer.config().model + " [" + DestinationCode(printer) + "]"}};
    for (std::size_t i = 0; i < kCounterFields.size(); ++i)
        counter.lines.push_back(Column(CounterName(kCounterFields[i]), 20) +
                                std::to_string(printer.state().counters[i]));
    sections.push_back(std::move(counter));
    sections.push_back({"ADJUST",
                        {"ADJUST  PC  KEY", "FEED +0.0mm FEED +0.0mm", "CUT +0.0mm CUT +0.0mm",
                         "(DARKNESS)", "THERMAL +0 THERMAL +0"}});

    InfoSectionText parameters{"PARAMETER SETTINGS", {}};
    if (const PrinterModel* model = printer.store().model()) {
        for (int getId : model->getCommandIndexes) {
            const std::vector<std::string> fields = printer.store().Fields(getId);
            for (std::size_t f = 0; f < fields.size(); ++f) {
                const std::string name = printer.store().ItemAt(getId, static_cast<int>(f) + 1);
                if (!name.empty()) parameters.lines.push_back(Bracketed(name, fields[f]));
            }
        }
    }
    parameters.lines.push_back(Bracketed("BASIC", printer.basicMode() ? "ON" : "OFF"));
    sections.push_back(std::move(parameters));

    sections.push_back({"PANEL", {Bracketed("KEY LOCK", "OFF")}});
    InfoSectionText storage{"STORAGE AREA", {}};
    if (printer.state().allocation) {
        storage.lines.push_back(
            Bracketed("FONT AREA", std::to_string(printer.state().allocation->fontBlocks)));
        storage.lines.push_back(
            Bracketed("EXT CHAR AREA", std::to_string(printer.state().allocation->externalBlocks)));
        storage.lines.push_back(Bracketed("BASIC AREA", printer.state().allocation->basicBlocks));
    } else {
        storage.lines.push_back(Bracketed("FONT AREA", "DEFAULT"));
    }
    sections.push_back(std::move(storage));
    sections.push_back({"USB", {Bracketed("USB", "ENABLE"), "     FULL SPEED"}});
    sections.push_back({"RS-232C", {Bracketed("BAUD RATE", "9600")}});
    sections.push_back({"CENTRO", {Bracketed("ACK WIDTH", "0.5us")}});
    sections.push_back({"LAN/WLAN", {Bracketed("LAN", "WIRED"), "     LINK UP"}});
    sections.push_back({"RFID", {"MODULE NONE"}});
    sections.push_back({"RTC", {Bracketed("RTC", "ON")}});
    return sections;
}

}  // namespace rvq::sim
