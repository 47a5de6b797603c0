#include "cli/options.h"

#include <algorithm>

#include "cli/builder_output.h"
#include "core/app/environment_options.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/port/multi_lan_list.h"
#include "core/comm/port/serial_settings.h"

namespace rvq::cli {

namespace {

bool IsNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void Note(ToolSettings& t, const char* field) {
    for (auto& [name, source] : t.sources) {
        if (name == field) {
            source = SettingSource::CommandLine;
            return;
        }
    }
    t.sources.emplace_back(field, SettingSource::CommandLine);
}

// Names the first field of a well-formed line the printers do not support.
std::optional<std::string> UnsupportedLineField(const std::string& line,
                                                const std::vector<std::string>& fields) {
    const auto quoted = [](const std::string& field) { return " (not '" + field + "')"; };
    switch (FirstUnsupportedField(ParseSerialLine(line))) {
        case SerialField::None:
            return std::nullopt;
        case SerialField::Baud:
            return "--line: the baud rate is one of 2400, 4800, 9600, 19200, 38400, 57600 and "
                   "115200" +
                   quoted(fields[0]);
        case SerialField::Parity:
            return "--line: the parity is N, E or O" + quoted(fields[1]);
        case SerialField::DataBits:
            return "--line: the data bits are 7 or 8" + quoted(fields[2]);
        case SerialField::StopBits:
            return "--line: the stop bits are 1 or 2" + quoted(fields[3]);
        case SerialField::Flow:
            return "--line: the flow index is 0 to 4" + quoted(fields[4]);
    }
    return std::nullopt;
}

std::optional<std::string> ApplyLine(const std::string& line, AppContext& c) {
    const auto fields = Split(line, ',');
    const bool wellFormed = fields.size() == 5 && IsNumber(fields[0]) && fields[1].size() == 1 &&
                            IsNumber(fields[2]) && IsNumber(fields[3]) && IsNumber(fields[4]);
    if (!wellFormed) return "--line takes BAUD,PARITY,DATA,STOP,FLOW, e.g. 9600,N,8,1,0";
    if (auto unsupported = UnsupportedLineField(line, fields)) return unsupported;
    const int flow = ParseLeadingInt(fields[4]);
    ToolSettings& t = c.settings;
    t.baudRate = fields[0] + " bps";
    t.parity = fields[1] == "N"   ? "None"
               : fields[1] == "E" ? "Even"
               : fields[1] == "O" ? "Odd"
                                  : fields[1];
    t.dataLength = fields[2] + " bits";
    t.stopBit = fields[3] + (fields[3] == "1" ? " bit" : " bits");
    t.flowControl = c.strings.Get(sid::kFlowFirst + flow);
    for (const char* f : {"baudRate", "parity", "dataLength", "stopBit", "flowControl"}) Note(t, f);
    return std::nullopt;
}

std::optional<std::string> ApplyCodes(const std::string& codes, ToolSettings& t,
                                      const Strings& strings) {
    if (codes == "auto") {
        t.controlCodeType = "AUTO";
        t.controlCodes = {0x1B, 0x0A, 0x00};
    } else if (codes == "esc") {
        t.controlCodeType = "[ESC] [LF] [NUL]";
        t.controlCodes = {0x1B, 0x0A, 0x00};
    } else if (codes == "braces") {
        t.controlCodeType = "{ | }";
        t.controlCodes = {0x7B, 0x7C, 0x7D};
    } else {
        const auto parts = Split(codes, ',');
        auto isHexByte = [](const std::string& p) {
            return p.size() == 2 && std::all_of(p.begin(), p.end(), [](char ch) {
                       return std::isxdigit(static_cast<unsigned char>(ch));
                   });
        };
        if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), isHexByte)) {
            return "--codes takes auto, esc, braces or three hexadecimal bytes such as 7B,7C,7D";
        }
        const ControlCodes typed{static_cast<unsigned char>(ParseLeadingHex(parts[0])),
                                 static_cast<unsigned char>(ParseLeadingHex(parts[1])),
                                 static_cast<unsigned char>(ParseLeadingHex(parts[2]))};
        if (!ControlCodesDiffer(typed))
            return "--codes " + codes + ": " + OneLine(strings.Get(sid::kMsgEqualControlCodes));
        t.controlCodeType = "Manual";
        t.controlCodes = typed;
    }
    Note(t, "controlCodeType");
    for (const char* f : {"code1", "code2", "code3"}) Note(t, f);
    return std::nullopt;
}

}  // namespace

namespace {

constexpr GlobalOptionSpec kGlobalOptions[] = {
    {"--model", "", "NAME", OptionValue::Model, "printer model"},
    {"--definitions", "", "FILE", OptionValue::File,
     "printer definition file, under any name (default: VQTool_Printer.XML of the settings "
     "folder, else the installed one)"},
    {"--settings", "", "FILE|DIR", OptionValue::File,
     "the settings file, or the folder that holds VQTool.INI (default: ./VQTool.INI when "
     "there is one, else the per-user settings)"},
    {"--lan", "", "HOST[:PORT]", OptionValue::Text,
     "a printer on the LAN (HOST,PORT as in the lists too)"},
    {"--com", "", "N", OptionValue::Text,
     "a serial port: COMn, a link in the device folder or /dev/ttyS(n-1)"},
    {"--line", "", "9600,N,8,1,0", OptionValue::Text,
     "the serial port's settings (baud, parity, data, stop, flow 0-4)"},
    {"--usb", "", "[=FILTER]", OptionValue::Optional,
     "a USB printer: the configured filter, a filter such as PRODUCTID=0083,SERIALNO=A1, or a "
     "device path"},
    {"--lpt", "", "N", OptionValue::Text,
     "a parallel port: LPTn, a link in the device folder or /dev/lp(n-1)"},
    {"--timeout", "", "SECONDS", OptionValue::Text, "the general time-out of printer exchanges"},
    {"--codes", "", "auto|esc|braces|HH,HH,HH", OptionValue::Text,
     "the control codes of printer commands"},
    {"--multi-lan", "", "FILE", OptionValue::File,
     "run against every printer of a Multi-LAN list file"},
    {"--pick", "", "1,3,5", OptionValue::Text, "only these entries of the list (numbered from 1)"},
    {"--log", "", "FILE.CSV", OptionValue::File, "write the job log of the run"},
    {"--audit", "", "FILE", OptionValue::File,
     "append one JSON line per printer job (who, where, what, result)"},
    {"--canary", "", "N", OptionValue::Text,
     "with a Multi-LAN list: run the first N printers, the rest only when all of them "
     "succeeded"},
    {"--parallel", "", "N", OptionValue::Text,
     "with a Multi-LAN list: printers in progress at once (1-64, 5)"},
    {"--password-file", "", "FILE", OptionValue::File,
     "the login password, on the file's first line"},
    {"--yes", "-y", "", OptionValue::None, "answer every question with Yes"},
    {"--json", "", "", OptionValue::None, "machine-readable output where a command offers it"},
    {"--help", "-h", "", OptionValue::None, "this text, or a command's own help after its name"},
    {"--version", "", "", OptionValue::None, "the program's version"},
};

// Stores one recognised option; sets p.error for a value it cannot take.
void StoreOption(const GlobalOptionSpec& spec, const std::optional<std::string>& value,
                 ParsedCommandLine& p) {
    GlobalOptions& o = p.options;
    const std::string name = spec.name;
    auto number = [&]() -> std::optional<int> {
        if (!IsNumber(*value)) {
            p.error = name + " takes a whole number, not '" + *value + "'";
            return std::nullopt;
        }
        return ParseLeadingInt(*value);
    };
    if (name == "--model")
        o.model = value;
    else if (name == "--definitions")
        o.definitions = value;
    else if (name == "--lan")
        o.lan = value;
    else if (name == "--com")
        o.com = number();
    else if (name == "--line")
        o.line = value;
    else if (name == "--usb")
        o.usb = value.value_or(std::string());
    else if (name == "--lpt")
        o.lpt = number();
    else if (name == "--settings")
        o.settingsFile = value;
    else if (name == "--timeout")
        o.timeoutSeconds = number();
    else if (name == "--codes")
        o.codes = value;
    else if (name == "--multi-lan")
        o.multiLan = value;
    else if (name == "--pick")
        o.pick = value;
    else if (name == "--log")
        o.logFile = value;
    else if (name == "--audit")
        o.auditFile = value;
    else if (name == "--canary")
        o.canary = number();
    else if (name == "--parallel")
        o.parallel = number();
    else if (name == "--password-file")
        o.passwordFile = value;
    else if (name == "--yes")
        o.yes = true;
    else if (name == "--json")
        o.json = true;
    else if (name == "--help")
        o.help = true;
    else if (name == "--version")
        p.version = true;
}

}  // namespace

std::span<const GlobalOptionSpec> GlobalOptionSpecs() { return kGlobalOptions; }

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv) {
    ParsedCommandLine p;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (arg == "--") {
            std::size_t next = i + 1;
            if (p.command.empty() && next < argv.size()) p.command = argv[next++];
            // A command that reads options of its own needs the "--" too,
            // but only an operand that looks like an option needs it.
            bool protects = false;
            for (std::size_t k = next; k < argv.size(); ++k)
                protects = protects || StartsWith(argv[k], "-");
            if (protects) p.args.emplace_back("--");
            p.args.insert(p.args.end(), argv.begin() + static_cast<std::ptrdiff_t>(next),
                          argv.end());
            break;
        }
        const bool looksLikeOption = arg.size() > 1 && arg[0] == '-';
        const OptionRead read =
            looksLikeOption ? ReadOption(kGlobalOptions, argv, i) : OptionRead{};
        if (!read.error.empty()) {
            p.error = read.error;
            return p;
        }
        if (read.option == nullptr) {
            if (!p.command.empty()) {
                p.args.push_back(arg);
            } else if (looksLikeOption) {
                p.error = "unknown option '" + arg.substr(0, arg.find('=')) + "'";
                return p;
            } else {
                p.command = arg;
            }
            continue;
        }
        StoreOption(*read.option, read.value, p);
        if (!p.error.empty()) return p;
    }
    return p;
}

bool JsonRequested(const std::vector<std::string>& argv) {
    for (const std::string& arg : argv) {
        if (arg == "--") break;
        if (arg == "--json") return true;
    }
    return false;
}

std::optional<std::string> ApplyGlobalOptions(const GlobalOptions& o, AppContext& c) {
    ToolSettings& t = c.settings;
    if (o.model) {
        t.printerModel = *o.model;
        Note(t, "printerModel");
    }
    int interfaces = (o.lan ? 1 : 0) + (o.com ? 1 : 0) + (o.usb ? 1 : 0) + (o.lpt ? 1 : 0) +
                     (o.multiLan ? 1 : 0);
    if (interfaces > 1) return "choose one of --lan, --com, --usb, --lpt and --multi-lan";
    if (o.pick && !o.multiLan && !IsMultiLan(t.interfaceName.kind()))
        return "--pick goes with a Multi-LAN list";
    if (o.canary && !o.multiLan && !IsMultiLan(t.interfaceName.kind()))
        return "--canary goes with a Multi-LAN list";
    if (o.canary && *o.canary < 1) return "--canary takes a number of printers of at least 1";
    if (o.parallel && (*o.parallel < 1 || *o.parallel > kMostParallel))
        return "--parallel takes a number of printers from 1 to " + std::to_string(kMostParallel);
    if (o.auditFile && o.auditFile->empty()) return "--audit needs a file name";
    if (o.multiLan) {
        const MultiLanImport list = ImportMultiLanList(*o.multiLan, c.strings);
        if (!list.ok) return *o.multiLan + ": " + c.strings.Get(list.messageId);
        t.interfaceName = NameOf(InterfaceKind::MultiLan);
        t.multiLanHosts.clear();
        t.multiLanPorts.clear();
        for (const auto& p : list.printers) {
            t.multiLanHosts.push_back(p.host);
            t.multiLanPorts.push_back(p.port);
        }
        Note(t, "interfaceName");
        Note(t, "multiLan");
    }
    if (o.lan) {
        // HOST:PORT, or HOST,PORT as the Multi-LAN list and VQTool.INI write it.
        std::string host = *o.lan;
        const std::size_t comma = host.rfind(',');
        const std::size_t colon = host.rfind(':');
        const std::size_t split = comma != std::string::npos ? comma
                                  : colon != std::string::npos && host.find(':') == colon
                                      ? colon
                                      : std::string::npos;
        if (split != std::string::npos) {
            const std::string port = host.substr(split + 1);
            const int portNumber = IsNumber(port) ? ParseLeadingInt(port) : 0;
            if (portNumber < 1 || portNumber > 65535)
                return "--lan: '" + port + "' is not a TCP port (1 to 65535)";
            t.lanPort = portNumber;
            host = host.substr(0, split);
        }
        if (host.empty()) return "--lan needs a host name or address";
        t.interfaceName = NameOf(InterfaceKind::Lan);
        t.lanHost = host;
        for (const char* f : {"interfaceName", "lanHost", "lanPort"}) Note(t, f);
    }
    if (o.com) {
        if (*o.com < 1 || *o.com > 256) return "--com takes a port number from 1 to 256";
        t.interfaceName = NameOf(InterfaceKind::Com) + std::to_string(*o.com);
        t.comPort = *o.com;
        Note(t, "interfaceName");
        Note(t, "comPort");
    }
    if (o.line) {
        if (auto error = ApplyLine(*o.line, c)) return error;
    }
    if (o.usb) {
        t.interfaceName = NameOf(InterfaceKind::Usb);
        t.usbDevicePath = *o.usb;
        Note(t, "interfaceName");
    }
    if (o.lpt) {
        if (*o.lpt < 1 || *o.lpt > 9) return "--lpt takes a port number from 1 to 9";
        t.interfaceName = NameOf(InterfaceKind::Lpt) + std::to_string(*o.lpt);
        Note(t, "interfaceName");
    }
    if (o.timeoutSeconds) {
        if (*o.timeoutSeconds < 1) return "--timeout takes a number of seconds of at least 1";
        t.timeoutSeconds = *o.timeoutSeconds;
        Note(t, "timeoutSeconds");
    }
    if (o.codes) {
        if (auto error = ApplyCodes(*o.codes, t, c.strings)) return error;
    }
    return std::nullopt;
}

}  // namespace rvq::cli
