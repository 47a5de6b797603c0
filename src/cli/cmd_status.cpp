#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "cli/audit_log.h"
#include "cli/builder_output.h"
#include "cli/cli.h"
#include "cli/json_writer.h"
#include "cli/open_failure.h"
#include "cli/status_meaning.h"
#include "core/app/connection.h"
#include "core/app/text.h"
#include "core/comm/clock.h"
#include "core/comm/device_errors.h"
#include "core/comm/framing.h"
#include "core/comm/printer_port.h"
#include "core/comm/reply_frames.h"

namespace rvq::cli {

namespace {

constexpr int kNoHostMessage = 1003;
constexpr int kNoMultiLanMessage = 1004;
constexpr int kNoUsbPrinterMessage = 1012;
constexpr int kSeveralUsbMessage = 1013;
constexpr int kNotOnlineMessage = 1523;
constexpr int kCommunicationErrorMessage = 1530;

constexpr int kWriteTimeoutMs = 1000;
constexpr int kReadLimitMs = 10000;  // the ready check never waits longer
constexpr std::size_t kReplyCapacity = 100;

std::string SystemErrorText(std::uint32_t error) {
    return error == 0 ? std::string("no system error reported")
                      : std::string(std::strerror(static_cast<int>(error)));
}

// The checks the job runner makes before it opens a port. Returns the
// exit code when the printer cannot be asked.
std::optional<int> CheckTarget(CliEnv& env, const Connection& connection) {
    const ToolSettings& t = env.context.settings;
    const Strings& strings = env.context.strings;
    if (t.interfaceName == "Multi LAN" && t.multiLanHosts.empty()) {
        env.interaction.Error(kNoMultiLanMessage, OneLine(strings.Get(kNoMultiLanMessage)));
        return kExitUsage;
    }
    if (connection.interfaceName == "LAN" && StartsWith(connection.settings, ",")) {
        env.interaction.Error(kNoHostMessage, OneLine(strings.Get(kNoHostMessage)));
        return kExitUsage;
    }
    if (connection.interfaceName == "USB" && !StartsWith(connection.settings, "\\\\")) {
        std::vector<std::string> paths;
        if (!PrinterPort::EnumerateUsbDevices(connection.settings, paths)) {
            env.err << "rvqtool: the USB printers cannot be listed\n";
            return kExitFailed;
        }
        if (paths.empty()) {
            env.interaction.Error(kNoUsbPrinterMessage, OneLine(strings.Get(kNoUsbPrinterMessage)));
            return kExitFailed;
        }
        if (paths.size() > 1) {
            env.interaction.Error(kSeveralUsbMessage, OneLine(strings.Get(kSeveralUsbMessage)));
            return kExitUsage;
        }
    }
    return std::nullopt;
}

std::optional<int> OpenPort(CliEnv& env, PrinterPort& port, const Connection& c) {
    if (port.Open(c.interfaceName, c.settings)) {
        // What a USB printer still holds from before is no answer to this request.
        port.DiscardQueued();
        return std::nullopt;
    }
    if (port.status() == PortStatus::Closed || port.status() == PortStatus::BadParameter) {
        return UsageError(env, "'" + env.context.settings.interfaceName +
                                   "' is not an interface a printer can be reached on (" +
                                   DescribePortTarget(c.interfaceName, c.settings) + "); use COMn, LPTn, USB or LAN");
    }
    // After a USB open by filter the port names the device it chose.
    const Connection tried{c.interfaceName, port.settings().empty() ? c.settings : port.settings()};
    ReportOpenFailure(env, tried, port.lastError());
    return kExitFailed;
}

// Reads until a status frame is complete, the buffer is full or the time
// is up; a frame that arrives in pieces is still read whole.
std::optional<int> ReadStatusReply(CliEnv& env, PrinterPort& port, const Clock& clock,
                                   std::string& reply) {
    // The settings file may hold any number; the wait stays within the limit.
    const long long wanted = env.context.settings.timeoutSeconds * 1000LL;
    const int timeoutMs = static_cast<int>(std::clamp<long long>(wanted, 0, kReadLimitMs));
    const std::int64_t deadline = clock.NowMs() + timeoutMs;
    unsigned char buffer[kReplyCapacity];
    do {
        const auto left = static_cast<int>(std::max<std::int64_t>(deadline - clock.NowMs(), 0));
        std::size_t count = 0;
        if (!port.Read(buffer, kReplyCapacity - reply.size(), left, count)) {
            if (!reply.empty()) break;
            const Strings& strings = env.context.strings;
            if (port.status() == PortStatus::TimedOut) {
                env.interaction.Error(kNotOnlineMessage, OneLine(strings.Get(kNotOnlineMessage)));
            } else {
                env.interaction.Error(kCommunicationErrorMessage,
                                      strings.Get(kCommunicationErrorMessage) + ": " +
                                          SystemErrorText(port.lastError()));
            }
            return kExitFailed;
        }
        reply.append(reinterpret_cast<const char*>(buffer), count);
    } while (reply.size() < kReplyCapacity && ParseStatusFrame(reply) == status::kNoFrame &&
             clock.NowMs() < deadline);
    return std::nullopt;
}

void Report(CliEnv& env, const PrinterPort& port, int code) {
    const std::string meaning = StatusMeaning(code);
    if (env.options.json) {
        JsonWriter json(env.out);
        json.BeginObject();
        json.Key("interface").String(port.interfaceName());
        json.Key("settings").String(port.settings());
        json.Key("status").Int(code);
        json.Key("meaning").String(meaning);
        json.Key("ready").Bool(code == status::kReady || code == status::kReadyAlt);
        json.EndObject();
        env.out << "\n";
        return;
    }
    const std::string shown = code < 0 ? std::to_string(code) : Format("%02d", code);
    env.out << port.interfaceName() << " " << port.settings() << ": status " << shown << ", "
            << meaning << "\n";
}

}  // namespace

std::string StatusMeaning(int code) {
    switch (code) {
        case status::kReady:
        case status::kReadyAlt:
            return "ready";
        case status::kModeZ:
            return "mode Z-MODE";
        case status::kModeVpcl:
            return "mode VPCL";
        case status::kModeSetting:
            return "mode SETTING";
        case status::kNoFrame:
            return "no status frame";
        default:
            return Format("printer error (%02d)", code);
    }
}

namespace {

// Asks once; `code` is the status the printer sent, or -1.
int QueryStatus(CliEnv& env, const Connection& connection, int& code) {
    const ToolSettings& t = env.context.settings;
    const Clock clock = Clock::FromEnvironment();
    PrinterPort port(clock);
    if (auto stop = OpenPort(env, port, connection)) return *stop;
    if (port.kind() == PortKind::Parallel) {
        env.err << "rvqtool: " << port.interfaceName()
                << ": a printer on a parallel port cannot report its status\n";
        return kExitFailed;
    }

    const std::string request = BuildFixedCommands(t.controlCodes).statusRequest;
    if (!port.Write(reinterpret_cast<const unsigned char*>(request.data()), request.size(),
                    kWriteTimeoutMs)) {
        env.interaction.Error(kCommunicationErrorMessage,
                              env.context.strings.Get(kCommunicationErrorMessage) + ": " +
                                  SystemErrorText(port.lastError()));
        return kExitFailed;
    }
    std::string reply;
    if (auto stop = ReadStatusReply(env, port, clock, reply)) return *stop;
    code = ParseStatusFrame(reply);
    Report(env, port, code);
    return code == status::kReady || code == status::kReadyAlt ? kExitOk : kExitFailed;
}

}  // namespace

int RunStatus(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "status takes no arguments");
    const Connection connection = BuildConnection(env.context.settings, env.context.strings);
    if (auto stop = CheckTarget(env, connection)) return *stop;
    int code = -1;
    const int exitCode = QueryStatus(env, connection, code);
    if (env.options.auditFile) {
        AuditEntry entry = AuditEntryNow();
        entry.interfaceName = connection.interfaceName;
        entry.address = connection.settings;
        entry.job = "status";
        entry.outcome = exitCode == kExitOk ? PrinterOutcome::Succeeded : PrinterOutcome::Failed;
        entry.detail = code < 0 ? "no status" : Format("status %02d, ", code) + StatusMeaning(code);
        if (!AppendAuditLines(*env.options.auditFile, {AuditLine(entry)}))
            env.err << "rvqtool: " << *env.options.auditFile << ": the audit line cannot be written\n";
    }
    return exitCode;
}

}  // namespace rvq::cli
