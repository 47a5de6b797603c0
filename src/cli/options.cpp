#include "cli/options.h"

#include <algorithm>

#include "core/app/string_ids.h"
#include "core/comm/multi_lan_list.h"
#include "core/app/text.h"

namespace rvq::cli {

namespace {

bool IsNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
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

std::optional<std::string> ApplyLine(const std::string& line, AppContext& c) {
    const auto fields = Split(line, ',');
    const bool wellFormed = fields.size() == 5 && IsNumber(fields[0]) && fields[1].size() == 1 &&
                            IsNumber(fields[2]) && IsNumber(fields[3]) && IsNumber(fields[4]);
    if (!wellFormed) return "--line takes BAUD,PARITY,DATA,STOP,FLOW, e.g. 9600,N,8,1,0";
    const int flow = ParseLeadingInt(fields[4]);
    if (flow > 4) return "--line: the flow index is 0 to 4";
    ToolSettings& t = c.settings;
    t.baudRate = fields[0] + " bps";
    t.parity = fields[1] == "N" ? "None" : fields[1] == "E" ? "Even" : fields[1] == "O" ? "Odd" : fields[1];
    t.dataLength = fields[2] + " bits";
    t.stopBit = fields[3] + (fields[3] == "1" ? " bit" : " bits");
    t.flowControl = c.strings.Get(sid::kFlowFirst + flow);
    for (const char* f : {"baudRate", "parity", "dataLength", "stopBit", "flowControl"}) Note(t, f);
    return std::nullopt;
}

std::optional<std::string> ApplyCodes(const std::string& codes, ToolSettings& t) {
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
            return p.size() == 2 && std::all_of(p.begin(), p.end(), [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)); });
        };
        if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), isHexByte)) {
            return "--codes takes auto, esc, braces or three hexadecimal bytes such as 7B,7C,7D";
        }
        t.controlCodeType = "Manual";
        t.controlCodes = {static_cast<unsigned char>(ParseLeadingHex(parts[0])),
                          static_cast<unsigned char>(ParseLeadingHex(parts[1])),
                          static_cast<unsigned char>(ParseLeadingHex(parts[2]))};
    }
    Note(t, "controlCodeType");
    for (const char* f : {"code1", "code2", "code3"}) Note(t, f);
    return std::nullopt;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv) {
    ParsedCommandLine p;
    GlobalOptions& o = p.options;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        std::string arg = argv[i];
        std::optional<std::string> inlineValue;
        if (StartsWith(arg, "--")) {
            const std::size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < argv.size()) return argv[++i];
            p.error = arg + " needs a value";
            return std::nullopt;
        };
        auto number = [&]() -> std::optional<int> {
            const auto v = value();
            if (!v) return std::nullopt;
            if (!IsNumber(*v)) {
                p.error = arg + " takes a whole number, not '" + *v + "'";
                return std::nullopt;
            }
            return ParseLeadingInt(*v);
        };
        if (arg == "--model") o.model = value();
        else if (arg == "--definitions") o.definitions = value();
        else if (arg == "--lan") o.lan = value();
        else if (arg == "--com") o.com = number();
        else if (arg == "--line") o.line = value();
        else if (arg == "--usb") o.usb = inlineValue.value_or(std::string());
        else if (arg == "--lpt") o.lpt = number();
        else if (arg == "--settings") o.settingsFile = value();
        else if (arg == "--timeout") o.timeoutSeconds = number();
        else if (arg == "--codes") o.codes = value();
        else if (arg == "--multi-lan") o.multiLan = value();
        else if (arg == "--pick") o.pick = value();
        else if (arg == "--log") o.logFile = value();
        else if (arg == "--audit") o.auditFile = value();
        else if (arg == "--canary") o.canary = number();
        else if (arg == "--parallel") o.parallel = number();
        else if (arg == "--password-file") o.passwordFile = value();
        else if (arg == "--yes" || arg == "-y") o.yes = true;
        else if (arg == "--json") o.json = true;
        else if (arg == "--help" || arg == "-h") o.help = true;
        else if (p.command.empty() && !StartsWith(arg, "-")) p.command = arg;
        else p.args.push_back(argv[i]);
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
    int interfaces = (o.lan ? 1 : 0) + (o.com ? 1 : 0) + (o.usb ? 1 : 0) + (o.lpt ? 1 : 0) + (o.multiLan ? 1 : 0);
    if (interfaces > 1) return "choose one of --lan, --com, --usb, --lpt and --multi-lan";
    if (o.pick && !o.multiLan && t.interfaceName != "Multi LAN") return "--pick goes with a Multi-LAN list";
    if (o.canary && !o.multiLan && t.interfaceName != "Multi LAN") return "--canary goes with a Multi-LAN list";
    if (o.canary && *o.canary < 1) return "--canary takes a number of printers of at least 1";
    if (o.parallel && (*o.parallel < 1 || *o.parallel > kMostParallel))
        return "--parallel takes a number of printers from 1 to " + std::to_string(kMostParallel);
    if (o.auditFile && o.auditFile->empty()) return "--audit needs a file name";
    if (o.multiLan) {
        const MultiLanImport list = ImportMultiLanList(*o.multiLan, c.strings);
        if (!list.ok) return *o.multiLan + ": " + c.strings.Get(list.messageId);
        t.interfaceName = "Multi LAN";
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
        std::string host = *o.lan;
        const std::size_t colon = host.rfind(':');
        if (colon != std::string::npos && host.find(':') == colon) {
            const std::string port = host.substr(colon + 1);
            const int portNumber = IsNumber(port) ? ParseLeadingInt(port) : 0;
            if (portNumber < 1 || portNumber > 65535) return "--lan: '" + port + "' is not a TCP port (1 to 65535)";
            t.lanPort = portNumber;
            host = host.substr(0, colon);
        }
        if (host.empty()) return "--lan needs a host name or address";
        t.interfaceName = "LAN";
        t.lanHost = host;
        for (const char* f : {"interfaceName", "lanHost", "lanPort"}) Note(t, f);
    }
    if (o.com) {
        if (*o.com < 1 || *o.com > 256) return "--com takes a port number from 1 to 256";
        t.interfaceName = "COM" + std::to_string(*o.com);
        t.comPort = *o.com;
        Note(t, "interfaceName");
        Note(t, "comPort");
    }
    if (o.line) {
        if (auto error = ApplyLine(*o.line, c)) return error;
    }
    if (o.usb) {
        t.interfaceName = "USB";
        t.usbDevicePath = *o.usb;
        Note(t, "interfaceName");
    }
    if (o.lpt) {
        if (*o.lpt < 1 || *o.lpt > 9) return "--lpt takes a port number from 1 to 9";
        t.interfaceName = "LPT" + std::to_string(*o.lpt);
        Note(t, "interfaceName");
    }
    if (o.timeoutSeconds) {
        if (*o.timeoutSeconds < 1) return "--timeout takes a number of seconds of at least 1";
        t.timeoutSeconds = *o.timeoutSeconds;
        Note(t, "timeoutSeconds");
    }
    if (o.codes) {
        if (auto error = ApplyCodes(*o.codes, t)) return error;
    }
    return std::nullopt;
}

}  // namespace rvq::cli
