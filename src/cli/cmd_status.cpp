// status: the printer's status, or that of every chosen printer of a
// Multi-LAN list, by the status request alone.
#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "cli/audit_log.h"
#include "cli/builder_output.h"
#include "cli/cli.h"
#include "cli/cmd_status.h"
#include "cli/job_run.h"
#include "cli/json_writer.h"
#include "cli/open_failure.h"
#include "cli/status_meaning.h"
#include "cli/stop_signals.h"
#include "core/app/connection.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/job/clock.h"
#include "core/comm/ops/status_check.h"
#include "core/comm/port/device_errors.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/loopback_guard.h"
#include "core/comm/port/printer_port.h"
#include "core/comm/port/reply_frames.h"
#include "core/comm/port/status_query.h"

namespace rvq::cli {

namespace {

std::string SystemErrorText(std::uint32_t error) {
    return error == 0 ? std::string("no system error reported")
                      : std::string(std::strerror(static_cast<int>(error)));
}

// The checks the job runner makes before it opens a port. Returns the
// exit code when the printer cannot be asked.
std::optional<int> CheckTarget(CliEnv& env, const Connection& connection) {
    const ToolSettings& t = env.context.settings;
    const Strings& strings = env.context.strings;
    if (IsMultiLan(t.interfaceName.kind()) && t.multiLanHosts.empty()) {
        env.interaction.Error(sid::kMsgNoMultiLan, OneLine(strings.Get(sid::kMsgNoMultiLan)));
        return kExitUsage;
    }
    if (IsLan(connection.interfaceName.kind()) && StartsWith(connection.settings, ",")) {
        env.interaction.Error(sid::kMsgNoHost, OneLine(strings.Get(sid::kMsgNoHost)));
        return kExitUsage;
    }
    if (IsUsb(connection.interfaceName.kind()) && !StartsWith(connection.settings, "\\\\")) {
        std::vector<std::string> paths;
        if (!PrinterPort::EnumerateUsbDevices(connection.settings, paths))
            return Fail(env, kExitFailed, "the USB printers cannot be listed");
        if (paths.empty()) {
            env.interaction.Error(sid::kMsgNoUsbPrinter,
                                  OneLine(strings.Get(sid::kMsgNoUsbPrinter)));
            return kExitFailed;
        }
        if (paths.size() > 1) {
            env.interaction.Error(sid::kMsgSeveralUsb, OneLine(strings.Get(sid::kMsgSeveralUsb)));
            return kExitUsage;
        }
    }
    return std::nullopt;
}

StatusQuery Query(const CliEnv& env) { return StatusQueryFor(env.context.settings); }

std::string ShownCode(int code) { return code < 0 ? std::to_string(code) : Format("%02d", code); }

// What became of the request, in words: "ready", "printer error (06)",
// "no answer: Cannot confirm ...". `id` is the message shown, if any.
std::string AnswerText(const CliEnv& env, const StatusAnswer& a, int& id) {
    const Strings& strings = env.context.strings;
    id = 0;
    switch (a.outcome) {
        case StatusOutcome::Answered:
            return StatusMeaning(a.status);
        case StatusOutcome::BadInterface:
            return "'" + a.interfaceName + "' is not an interface a printer can be reached on";
        case StatusOutcome::OpenFailed:
            return "cannot open " + a.interfaceName + " " + a.settings + ": " +
                   SystemErrorText(a.systemError);
        case StatusOutcome::Refused:
            return LoopbackRefusal(a.settings.substr(0, a.settings.rfind(','))).value_or("refused");
        case StatusOutcome::NoStatusPort:
            return "a printer on a parallel port cannot report its status";
        case StatusOutcome::WriteFailed:
        case StatusOutcome::ReadFailed:
            id = sid::kDetailCommunication;
            return strings.Get(sid::kDetailCommunication) + ": " + SystemErrorText(a.systemError);
        case StatusOutcome::NoAnswer:
            id = sid::kDetailNotOnline;
            return OneLine(strings.Get(sid::kDetailNotOnline));
        case StatusOutcome::Cancelled:
            break;
    }
    return "not asked (stopped)";
}

// The answer in words for a printer's own line or JSON entry, without the
// connection the line already names.
std::string PrinterText(const CliEnv& env, const StatusAnswer& a) {
    int id = 0;
    if (a.outcome == StatusOutcome::OpenFailed)
        return "cannot open: " + SystemErrorText(a.systemError);
    return AnswerText(env, a, id);
}

// "LAN 127.0.0.2,8000: status 00, ready" or "LAN ...: <what went wrong>".
std::string AnswerLine(const CliEnv& env, const StatusAnswer& a) {
    const std::string where = a.interfaceName + " " + a.settings + ": ";
    if (a.outcome == StatusOutcome::Answered)
        return where + "status " + ShownCode(a.status) + ", " + StatusMeaning(a.status);
    return where + PrinterText(env, a);
}

// "status": the code the printer answered, null without one.
void WriteStatusCode(JsonWriter& json, const StatusAnswer& a) {
    json.Key("status");
    if (a.outcome == StatusOutcome::Answered && a.status >= 0)
        json.Int(a.status);
    else
        json.Null();
}

void WritePrinterJson(JsonWriter& json, const CliEnv& env, const StatusAnswer& a, int index) {
    json.BeginObject();
    json.Key("index").Int(index);
    json.Key("interface").String(a.interfaceName);
    json.Key("printer").String(a.settings);
    WriteStatusCode(json, a);
    json.Key("ready").Bool(a.ready());
    json.Key("text").String(PrinterText(env, a));
    json.EndObject();
}

void Audit(CliEnv& env, const std::vector<StatusAnswer>& answers) {
    if (!env.options.auditFile) return;
    std::vector<std::string> lines;
    for (const StatusAnswer& a : answers) {
        if (a.outcome == StatusOutcome::Cancelled) continue;
        AuditEntry entry = AuditEntryNow();
        entry.interfaceName = a.interfaceName;
        entry.address = a.settings;
        entry.job = "status";
        entry.outcome = a.ready() ? PrinterOutcome::Succeeded : PrinterOutcome::Failed;
        entry.detail = a.outcome == StatusOutcome::Answered && a.status >= 0
                           ? Format("status %02d, ", a.status) + StatusMeaning(a.status)
                           : "no status";
        lines.push_back(AuditLine(entry));
    }
    if (!AppendAuditLines(*env.options.auditFile, lines))
        env.err << "rvqtool: " << *env.options.auditFile << ": the audit lines cannot be written\n";
}

int StatusOfOne(CliEnv& env) {
    const Connection connection = BuildConnection(env.context.settings, env.context.strings);
    if (auto stop = CheckTarget(env, connection)) return *stop;
    if (auto refused = RefusedTarget(env)) return UsageError(env, *refused);
    const StatusAnswer answer =
        AskStatus(connection, Query(env), Clock::FromEnvironment(), &StopRequested());
    Audit(env, {answer});
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("interface").String(answer.interfaceName);
        json.Key("settings").String(answer.settings);
        WriteStatusCode(json, answer);
        json.Key("meaning").String(PrinterText(env, answer));
        json.Key("ready").Bool(answer.ready());
        json.Key("printers").BeginArray();
        WritePrinterJson(json, env, answer, 0);
        json.EndArray();
    }
    int id = 0;
    const std::string text = AnswerText(env, answer, id);
    switch (answer.outcome) {
        case StatusOutcome::Answered:
            if (!env.options.json) env.out << AnswerLine(env, answer) << "\n";
            if (answer.ready()) return kExitOk;
            env.errors.Note(AnswerLine(env, answer));
            return kExitFailed;
        case StatusOutcome::BadInterface:
            return UsageError(env, text + " (" + answer.interfaceName + " " + answer.settings +
                                       "); use COMn, LPTn, USB or LAN");
        case StatusOutcome::WriteFailed:
        case StatusOutcome::ReadFailed:
        case StatusOutcome::NoAnswer:
            env.interaction.Error(id, text);
            return kExitFailed;
        case StatusOutcome::Cancelled:
            return kExitFailed;
        case StatusOutcome::OpenFailed:
            // The node tried is named, with how to get access where it helps.
            ReportOpenFailure(env, {answer.interfaceName, answer.settings}, answer.systemError);
            env.errors.Note(text);
            return kExitFailed;
        default:
            return Fail(env, kExitFailed, text);
    }
}

int StatusOfList(CliEnv& env) {
    const ToolSettings& settings = env.context.settings;
    const std::size_t count = settings.multiLanHosts.size();
    std::string error;
    const std::vector<bool> selected = PickedPrinters(env, count, error);
    if (!error.empty()) return UsageError(env, error);
    if (auto refused = RefusedTarget(env, selected)) return UsageError(env, *refused);
    std::vector<Connection> printers;
    std::vector<int> indexes;
    for (std::size_t i = 0; i < count; ++i) {
        if (i < selected.size() && !selected[i]) continue;
        printers.push_back(BuildConnection(settings, env.context.strings, i));
        indexes.push_back(static_cast<int>(i));
    }
    const std::vector<StatusAnswer> answers = AskStatusAll(
        printers, Query(env), Clock::FromEnvironment(), Parallel(env), &StopRequested());
    Audit(env, answers);

    int ready = 0;
    std::string firstProblem;
    for (const StatusAnswer& a : answers) {
        if (a.ready())
            ++ready;
        else if (firstProblem.empty())
            firstProblem = AnswerLine(env, a);
    }
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("ready").Int(ready);
        json.Key("printers").BeginArray();
        for (std::size_t i = 0; i < answers.size(); ++i)
            WritePrinterJson(json, env, answers[i], indexes[i]);
        json.EndArray();
    } else {
        for (const StatusAnswer& a : answers) env.out << AnswerLine(env, a) << "\n";
    }
    env.err << ready << " of " << answers.size() << " printers ready\n";
    if (ready == static_cast<int>(answers.size())) return kExitOk;
    env.errors.Note(std::to_string(answers.size() - static_cast<std::size_t>(ready)) + " of " +
                    std::to_string(answers.size()) +
                    " printers not ready; the first: " + firstProblem);
    return kExitFailed;
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

int RunStatus(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "status takes no arguments");
    const ToolSettings& settings = env.context.settings;
    if (!IsMultiLan(settings.interfaceName.kind())) return StatusOfOne(env);
    const Connection connection = BuildConnection(settings, env.context.strings);
    if (auto stop = CheckTarget(env, connection)) return *stop;
    return StatusOfList(env);
}

}  // namespace rvq::cli
