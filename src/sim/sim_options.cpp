#include "sim/sim_options.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cctype>
#include <charconv>
#include <optional>

namespace rvq::sim {
namespace {

std::optional<long long> Number(const std::string& text, long long min, long long max) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<CodeSet> Codes(const std::string& text) {
    unsigned values[3];
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',', at) : text.size();
        if (comma == std::string::npos) return std::nullopt;
        const std::string part = text.substr(at, comma - at);
        const auto [end, ec] =
            std::from_chars(part.data(), part.data() + part.size(), values[i], 16);
        if (part.empty() || part.size() > 2 || ec != std::errc() ||
            end != part.data() + part.size())
            return std::nullopt;
        at = comma + 1;
    }
    if (values[0] == values[1] || values[1] == values[2] || values[0] == values[2])
        return std::nullopt;
    return CodeSet{static_cast<unsigned char>(values[0]), static_cast<unsigned char>(values[1]),
                   static_cast<unsigned char>(values[2])};
}

bool SplitHostPort(const std::string& text, std::string& host, int& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const auto value = Number(text.substr(colon + 1), 0, 65535);
    if (host.empty() || !value) return false;
    port = static_cast<int>(*value);
    return true;
}

constexpr long long kMostCopies = 65536;

// The address `copy` places after `host`, which must stay in 127.0.0.0/8:
// a simulated printer never answers for another machine.
bool StepAddress(std::string& host, long long copy, std::string& error) {
    in_addr parsed{};
    if (inet_pton(AF_INET, host.c_str(), &parsed) != 1 || !IsLoopbackIpv4(host)) {
        error = "--step-address needs an address in 127.0.0.0/8, not " + host;
        return false;
    }
    const unsigned long long next = ntohl(parsed.s_addr) + static_cast<unsigned long long>(copy);
    if ((next >> 24) != 127u) {
        error = "--printers with --step-address runs past 127.255.255.255";
        return false;
    }
    parsed.s_addr = htonl(static_cast<std::uint32_t>(next));
    char text[INET_ADDRSTRLEN];
    host = inet_ntop(AF_INET, &parsed, text, sizeof text);
    return true;
}

// Applies one printer option to `setup`; false when `name` is not one.
bool PrinterOption(const std::string& name, const std::string& value, PrinterSetup& setup,
                   std::string& error) {
    PrinterConfig& printer = setup.printer;
    FaultPlan& faults = printer.faults;
    auto number = [&](long long min, long long max) {
        const auto parsed = Number(value, min, max);
        if (!parsed) error = "bad value for " + name + ": " + value;
        return parsed.value_or(0);
    };
    if (name == "--model") {
        printer.model = value;
    } else if (name == "--definitions") {
        printer.definitionsPath = value;
    } else if (name == "--bank-type") {
        if (value.size() != 1)
            error = "--bank-type takes one character (C or N)";
        else
            printer.bankType = value[0];
    } else if (name == "--restart-ms") {
        printer.restartMs = static_cast<int>(number(0, 3600000));
    } else if (name == "--codes") {
        printer.codes = Codes(value);
        if (!printer.codes) error = "--codes takes three different hex bytes, e.g. 02,03,17";
    } else if (name == "--head-status") {
        printer.headCheckStatus = static_cast<int>(number(0, 99));
    } else if (name == "--usb-product") {
        setup.endpoint.usbProductId = static_cast<int>(number(0, 65535));
    } else if (name == "--usb-serial") {
        setup.endpoint.usbSerial = value;
    } else if (name == "--never-answer") {
        faults.neverAnswer.push_back(value);
    } else if (name == "--late-ms") {
        faults.lateMs = static_cast<int>(number(0, 3600000));
    } else if (name == "--split") {
        faults.splitBytes = static_cast<std::size_t>(number(1, 1 << 20));
    } else if (name == "--split-gap-ms") {
        faults.splitGapMs = static_cast<int>(number(0, 60000));
    } else if (name == "--garbage") {
        faults.garbage = value;
    } else if (name == "--drop-after") {
        faults.dropAfterBytes = number(0, 1LL << 40);
    } else if (name == "--error-status") {
        faults.errorStatus = static_cast<int>(number(0, 99));
    } else if (name == "--written-status") {
        faults.writtenStatus = static_cast<int>(number(0, 99));
    } else if (name == "--destination") {
        printer.destination = static_cast<int>(number(0, 9));
    } else if (name == "--boot-version") {
        printer.bootVersion = value;
    } else if (name == "--main-version") {
        printer.mainVersion = value;
    } else if (name == "--datalog-bytes") {
        printer.dataLogBytes = static_cast<std::size_t>(number(0, 99999999));
    } else if (name == "--program-ms") {
        printer.programMs = static_cast<int>(number(0, 3600000));
    } else if (name == "--basic-ms") {
        printer.basicProgramMs = static_cast<int>(number(0, 3600000));
    } else if (name == "--basic-status") {
        printer.basicStatus = static_cast<int>(number(0, 99));
    } else if (name == "--allocate-ms") {
        printer.allocateMs = static_cast<int>(number(0, 3600000));
    } else if (name == "--format-ms") {
        printer.formatMs = static_cast<int>(number(0, 3600000));
    } else if (name == "--bad-length") {
        faults.infoLengthField = value;
    } else if (name == "--set-answer") {
        const std::size_t equals = value.find('=');
        const std::string answer =
            equals == std::string::npos ? std::string() : value.substr(equals + 1);
        if (equals == 0 || answer.size() != 2 ||
            !std::isdigit(static_cast<unsigned char>(answer[0])) ||
            !std::isdigit(static_cast<unsigned char>(answer[1])))
            error = "--set-answer takes LETTERS=CODE, e.g. ZA00=92";
        else
            faults.setAnswers.emplace_back(value.substr(0, equals), answer);
    } else {
        return false;
    }
    return true;
}

// Applies one printer option without a value; false when `name` is not one.
bool PrinterFlag(const std::string& name, PrinterSetup& setup) {
    if (name == "--any-mode") {
        setup.printer.anyMode = true;
    } else if (name == "--no-drive-voltage2") {
        setup.printer.lacksDriveVoltage2 = true;
    } else if (name == "--stale-versions") {
        setup.printer.faults.staleVersions = true;
    } else if (name == "--follow-port-number") {
        setup.printer.followsPortNumber = true;
    } else if (name == "--lengths-in-characters") {
        setup.printer.faults.lengthsInCharacters = true;
    } else if (name == "--silent") {
        setup.printer.faults.silent = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error) {
    options = SimOptions{};
    PrinterSetup defaults;
    std::vector<PrinterSetup> endpoints;
    long long copies = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name == "--version") {
            options.version = true;
            return true;
        }
        if (name == "--") {
            // Every setting is an option: nothing may follow.
            if (i + 1 < args.size()) {
                error = "unexpected argument '" + args[i + 1] + "'";
                return false;
            }
            break;
        }
        if (!name.starts_with("-")) {
            error = "unexpected argument '" + name + "'";
            return false;
        }
        if (name == "--step-address") {
            options.stepAddress = true;
            continue;
        }
        if (name == "--log-connections") {
            options.logConnections = true;
            continue;
        }
        if (name == "--pty") {
            endpoints.push_back(defaults);
            endpoints.back().endpoint.kind = EndpointConfig::Kind::Pty;
            continue;
        }
        if (PrinterFlag(name, endpoints.empty() ? defaults : endpoints.back())) continue;
        if (i + 1 >= args.size()) {
            PrinterSetup scratch;
            std::string ignored;
            const bool known = name == "--lan" || name == "--usb" || name == "--log" ||
                               name == "--printers" || PrinterOption(name, "0", scratch, ignored);
            error = known ? name + " needs a value" : "unknown option '" + name + "'";
            return false;
        }
        const std::string& value = args[++i];
        PrinterSetup& target = endpoints.empty() ? defaults : endpoints.back();
        if (name == "--lan") {
            PrinterSetup setup = defaults;
            setup.endpoint.kind = EndpointConfig::Kind::Lan;
            if (!SplitHostPort(value, setup.endpoint.host, setup.endpoint.port)) {
                error = "--lan takes HOST:PORT, e.g. 127.0.0.1:0";
                return false;
            }
            endpoints.push_back(std::move(setup));
        } else if (name == "--usb") {
            endpoints.push_back(defaults);
            endpoints.back().endpoint.kind = EndpointConfig::Kind::Usb;
            endpoints.back().endpoint.usbFolder = value;
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--printers") {
            const auto parsed = Number(value, 1, kMostCopies);
            if (!parsed) {
                error = "--printers takes a number from 1 to " + std::to_string(kMostCopies);
                return false;
            }
            copies = *parsed;
        } else if (!PrinterOption(name, value, target, error)) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!error.empty()) return false;
    }
    if (options.logConnections && options.logPath.empty()) {
        error = "--log-connections needs --log FILE";
        return false;
    }
    if (endpoints.empty()) {
        error = "no printer: give --lan HOST:PORT, --pty or --usb FOLDER";
        return false;
    }
    for (const PrinterSetup& setup : endpoints) {
        for (long long copy = 0; copy < copies; ++copy) {
            options.printers.push_back(setup);
            EndpointConfig& endpoint = options.printers.back().endpoint;
            if (endpoint.kind == EndpointConfig::Kind::Lan && options.stepAddress) {
                if (!StepAddress(endpoint.host, copy, error)) return false;
            } else if (endpoint.kind == EndpointConfig::Kind::Lan && endpoint.port != 0) {
                endpoint.port += static_cast<int>(copy);
                if (endpoint.port > 65535) {
                    error = "--printers runs past port 65535";
                    return false;
                }
            }
        }
    }
    return true;
}

std::string SimUsage() {
    return R"(usage: rvq-printer-sim [OPTIONS] ENDPOINT [PRINTER OPTIONS] [ENDPOINT [PRINTER OPTIONS]]...

Simulated R-VQ printers. Prints one line per printer ("listening HOST:PORT",
"pty PATH" or "usb NODE") and serves until SIGINT or SIGTERM.

Endpoints (each adds a printer):
  --lan HOST:PORT        a LAN printer (port 0 picks a free one)
  --pty                  a serial printer on a pseudo-terminal
  --usb FOLDER           a USB printer: FOLDER/sys and FOLDER/dev trees
Options:
  --printers N           each endpoint stands for N printers, each with its own
                         state: on consecutive ports from a fixed port, on free
                         ports from port 0
  --step-address         --printers places them on consecutive addresses
                         (within 127.0.0.0/8) on the same port instead
  --log-connections      also log every change of a printer's open LAN
                         connections: {"t":MS,"printer":N,"connections":OPEN}
  --log FILE             append every command received as JSON lines
Printer options (before any endpoint: for all printers; after one: for it):
  --model NAME           printer model (R-VQ4T1-T)
  --definitions FILE     printer definition file (VQTool_Printer.XML found as the
                         tool finds it: the settings folder, else the installed one)
  --bank-type C|N        the type the type request reports (C)
  --restart-ms MS        how long a restart takes (3000)
  --codes HH,HH,HH       control codes understood besides 1B,0A,00 and 7B,7C,7D
  --head-status CODE     status of the head check (0)
  --usb-product ID       USB product id, decimal as in the tool's settings (0083)
  --usb-serial TEXT      USB serial number
  --destination N        destination index the printer starts with (0)
  --any-mode             take parameter commands outside the setting mode too
  --boot-version V       BOOT version reported until BOOT is programmed (V1.00)
  --main-version V       MAIN version reported until MAIN is programmed (V1.00)
  --datalog-bytes N      size of the data log (8192)
  --program-ms MS        writing a firmware image before status 56 (3000)
  --basic-ms MS          writing a BASIC image before its status (1000)
  --basic-status CODE    status after an accepted BASIC image (0)
  --allocate-ms MS       busy after a memory allocation (20000)
  --format-ms MS         busy after a memory format (30000)
  --no-drive-voltage2    answer 91 to the set command that starts with RibbonWidth
  --follow-port-number   after a restart, listen on the port number that a set
                         command gave
Faults:
  --never-answer LETTERS ignore commands starting with LETTERS (repeatable)
  --late-ms MS           answer late
  --split BYTES          send replies in pieces of at most BYTES
  --split-gap-ms MS      pause between pieces (50)
  --garbage TEXT         send TEXT before every reply
  --drop-after BYTES     drop the link after BYTES received
  --error-status CODE    answer the status request with CODE
  --written-status CODE  report CODE instead of 56 once a firmware image is written
  --silent               take connections and data, never answer: a host that
                         is not a printer (no model is read)
  --lengths-in-characters
                         get replies count a double-byte character as one
  --set-answer L=CODE    answer set commands starting with L with CODE: 91 still
                         applies them, any other code refuses them (repeatable);
                         --never-answer L ignores them instead
  --stale-versions       programmed firmware does not change the reported versions
  --bad-length TEXT      write TEXT over the length field of the information
                         blocks and the data log
Other:
  --help                 this text
  --version              the program's version
Times are scaled by RVQ_TIME_SCALE.
)";
}

}  // namespace rvq::sim
