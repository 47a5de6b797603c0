// metrics: the printers' state in the Prometheus text exposition format,
// for the textfile collector of a node exporter.
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <ostream>
#include <sstream>

#include "cli/builder_output.h"
#include "cli/cli.h"
#include "cli/cmd_metrics.h"
#include "cli/command_args.h"
#include "cli/job_run.h"
#include "cli/printer_reads_run.h"
#include "cli/stop_signals.h"
#include "core/app/connection.h"
#include "core/app/document.h"
#include "core/app/maintenance_lists.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/printer_reads.h"
#include "core/comm/ops/status_check.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/status_query.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

namespace {

// One printer's figures; the optional ones are left out when not read.
struct PrinterMetrics {
    Connection connection;
    StatusAnswer status;
    std::vector<std::pair<InfoRow, InfoNumber>> counters;
    std::optional<bool> headOk;
};

// A label value with backslash, double quote and line feed escaped.
std::string LabelValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string Labels(const PrinterMetrics& m, const std::string& extra = {}) {
    return "{interface=\"" + LabelValue(m.connection.interfaceName.text()) + "\",printer=\"" +
           LabelValue(m.connection.settings) + "\"" + extra + "}";
}

std::string Value(double value) {
    std::ostringstream text;
    JsonWriter(text).Number(value);  // locale-free, shortest form
    return text.str();
}

void Family(std::ostream& out, const char* name, const char* help) {
    out << "# HELP " << name << " " << help << "\n# TYPE " << name << " gauge\n";
}

std::string Exposition(const std::vector<PrinterMetrics>& printers, bool counters) {
    std::ostringstream out;
    Family(out, "rvq_printer_up", "1 when the printer answered the status request, else 0.");
    for (const auto& m : printers)
        out << "rvq_printer_up" << Labels(m) << " "
            << (m.status.outcome == StatusOutcome::Answered ? 1 : 0) << "\n";
    Family(out, "rvq_printer_ready", "1 when the printer reported itself ready, else 0.");
    for (const auto& m : printers)
        out << "rvq_printer_ready" << Labels(m) << " " << (m.status.ready() ? 1 : 0) << "\n";
    Family(out, "rvq_printer_status_code",
           "The status code the printer answered (0 and 27: ready).");
    for (const auto& m : printers) {
        if (m.status.outcome == StatusOutcome::Answered && m.status.status >= 0)
            out << "rvq_printer_status_code" << Labels(m) << " " << m.status.status << "\n";
    }
    if (!counters) return out.str();
    Family(out, "rvq_printer_maintenance_counter",
           "A maintenance counter of the printer, in the unit the printer uses (label unit).");
    for (const auto& m : printers) {
        for (const auto& [row, number] : m.counters) {
            out << "rvq_printer_maintenance_counter"
                << Labels(m, ",counter=\"" + LabelValue(row.item) + "\",unit=\"" +
                                 LabelValue(number.unit) + "\"")
                << " " << Value(number.number) << "\n";
        }
    }
    Family(out, "rvq_printer_head_ok",
           "1 when the head check found no broken element, 0 when it found one.");
    for (const auto& m : printers) {
        if (m.headOk)
            out << "rvq_printer_head_ok" << Labels(m) << " " << (*m.headOk ? 1 : 0) << "\n";
    }
    return out.str();
}

// The maintenance counters and the head check of the ready printers, each
// through the printer's setting mode.
void ReadCounters(CliEnv& env, std::vector<PrinterMetrics>& printers,
                  const std::vector<int>& indexes, std::size_t count) {
    std::vector<bool> ready(std::max<std::size_t>(count, 1), false);
    bool any = false;
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (!printers[i].status.ready()) continue;
        ready[static_cast<std::size_t>(indexes[i])] = true;
        any = true;
    }
    if (!any) return;
    PrinterReadRequest request;
    request.settingsBlock = true;
    const PrinterReads reads = ReadPrinters(
        env, JobKind::PrinterInfo, [&](int) { return request; }, ready);
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const auto it = reads.results.find(indexes[i]);
        if (it == reads.results.end()) continue;
        Document document;
        document.ParsePrinterInfo(it->second.settingsText);
        for (const InfoRow& row : CounterRows(document)) {
            if (auto number = ParseInfoNumber(row.value))
                printers[i].counters.emplace_back(row, *number);
        }
    }
    if (StopSignal() != 0) return;
    JobRunHooks hooks;
    hooks.quiet = true;
    hooks.printers = ready;
    std::ignore = RunPrinterJob(env, PlainJobInputs(JobKind::HeadCheck), hooks);
    for (const PrinterRecord& printer : env.runs.back().printers) {
        const auto at = std::find(indexes.begin(), indexes.end(), printer.index);
        if (at == indexes.end() || !printer.selected) continue;
        PrinterMetrics& m = printers[static_cast<std::size_t>(at - indexes.begin())];
        if (printer.outcome == PrinterOutcome::Succeeded)
            m.headOk = true;
        else if (printer.detailId == sid::kDetailBrokenElement)
            m.headOk = false;
    }
}

}  // namespace

int RunMetrics(CliEnv& env, const std::vector<std::string>& argv) {
    static constexpr std::array<OptionSpec, 2> kOptions{{{"--counters", false}, {"--out", true}}};
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (!args.positional.empty()) return UsageError(env, "metrics takes no positional arguments");
    const ToolSettings& settings = env.context.settings;
    const bool multiLan = IsMultiLan(settings.interfaceName.kind());
    const std::size_t count = multiLan ? settings.multiLanHosts.size() : 1;
    if (multiLan && count == 0) {
        env.interaction.Error(1004, OneLine(env.context.strings.Get(1004)));
        return kExitUsage;
    }
    std::string error;
    const std::vector<bool> selected =
        multiLan ? PickedPrinters(env, count, error) : std::vector<bool>{};
    if (!error.empty()) return UsageError(env, error);
    if (auto refused = RefusedTarget(env, selected)) return UsageError(env, *refused);

    std::vector<PrinterMetrics> printers;
    std::vector<Connection> connections;
    std::vector<int> indexes;
    for (std::size_t i = 0; i < count; ++i) {
        if (i < selected.size() && !selected[i]) continue;
        connections.push_back(BuildConnection(settings, env.context.strings, i));
        indexes.push_back(static_cast<int>(i));
    }
    const StatusQuery query = StatusQueryFor(settings);
    const std::vector<StatusAnswer> answers =
        AskStatusAll(connections, query, Clock::FromEnvironment(), Parallel(env), &StopRequested());
    for (std::size_t i = 0; i < connections.size(); ++i)
        printers.push_back({connections[i], answers[i], {}, {}});
    const bool counters = args.Has("--counters");
    if (counters && StopSignal() == 0) ReadCounters(env, printers, indexes, count);

    const std::string text = Exposition(printers, counters);
    const auto out = args.Value("--out");
    if (out) {
        if (const WriteResult written = WriteFileAtomically(*out, text); !written)
            return Fail(env, kExitFailed,
                        "cannot write " + *out + ": " + std::strerror(written.systemError));
    }
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("file");
        if (out)
            json.String(*out);
        else
            json.Null();
        json.Key("metrics").String(text);
    } else if (!out) {
        env.out << text;
    }
    return kExitOk;
}

}  // namespace rvq::cli
