#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/builder_output.h"
#include "cli/cli.h"
#include "cli/cmd_discover.h"
#include "cli/command_args.h"
#include "cli/job_run.h"
#include "cli/json_writer.h"
#include "cli/status_meaning.h"
#include "cli/stop_signals.h"
#include "core/app/printer_info_parser.h"
#include "core/app/text.h"
#include "core/comm/job/clock.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/printer_reads.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/lan_discovery.h"
#include "core/comm/port/loopback_guard.h"
#include "core/comm/port/multi_lan_list.h"
#include "core/comm/port/open_file_limit.h"
#include "core/comm/port/reply_frames.h"

namespace rvq::cli {

namespace {

constexpr int kDefaultPort = 8000;
constexpr int kDefaultTimeoutSeconds = 1;
constexpr int kDefaultInFlight = 1024;
constexpr int kMostInFlight = 65536;
constexpr int kLongestTimeoutSeconds = 60;  // keeps the milliseconds within an int

std::string ShownStatus(int code) { return code < 0 ? std::to_string(code) : Format("%02d", code); }

// The firmware versions of each printer that answered, by its place in
// `found`; a printer whose versions could not be read has none.
struct FoundVersions {
    std::vector<std::optional<InfoList>> lists;
    std::vector<std::string> failures;  // the last display line of a failed read
};

// Reads the version block of every printer found, five at a time, as the
// jobs of a Multi-LAN run over the list of what answered.
FoundVersions ReadFoundVersions(CliEnv& env, const std::vector<ProbeResult>& found, int port) {
    FoundVersions versions;
    versions.lists.resize(found.size());
    versions.failures.resize(found.size());
    if (found.empty()) return versions;
    ToolSettings& settings = env.context.settings;
    settings.interfaceName = NameOf(InterfaceKind::MultiLan);
    settings.multiLanHosts.clear();
    settings.multiLanPorts.clear();
    for (const ProbeResult& r : found) {
        settings.multiLanHosts.push_back(r.host);
        settings.multiLanPorts.push_back(port);
    }
    std::mutex mutex;
    std::map<int, std::string> texts;  // guarded by mutex
    JobRunHooks hooks;
    hooks.quiet = true;
    hooks.step = [&](PrinterJob& job) {
        PrinterReadRequest request;
        request.versions = true;
        PrinterReadResult result;
        if (!RunPrinterRead(job, request, result)) return false;
        std::lock_guard lock(mutex);
        texts[job.setup().printerIndex] = result.versionText;
        return true;
    };
    auto inputs = PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::VersionOnly));
    std::ignore = RunPrinterJob(env, inputs, hooks);
    const JobRunRecord& record = env.runs.back();
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto it = texts.find(static_cast<int>(i));
        if (it != texts.end()) {
            versions.lists[i] = ParseVersionReply(it->second);
        } else if (i < record.printers.size() && !record.printers[i].lines.empty()) {
            versions.failures[i] = record.printers[i].lines.back();
        } else {
            versions.failures[i] = "not read";
        }
    }
    return versions;
}

void WriteVersionsJson(JsonWriter& json, const FoundVersions& versions, std::size_t i) {
    if (versions.lists.empty()) return;
    if (!versions.lists[i]) {
        json.Key("versions").BeginArray().EndArray();
        json.Key("versionError").String(versions.failures[i]);
        return;
    }
    const InfoList& list = *versions.lists[i];
    json.Key("versions").BeginArray();
    for (std::size_t n = 0; n < list.names.size() && n < list.values.size(); ++n) {
        json.BeginObject();
        json.Key("name").String(list.names[n]);
        json.Key("value").String(list.values[n]);
        json.Key("version").String(VersionFromValue(list.values[n]));
        json.EndObject();
    }
    json.EndArray();
}

void PrintVersions(CliEnv& env, const FoundVersions& versions, std::size_t i) {
    if (versions.lists.empty()) return;
    if (!versions.lists[i]) {
        env.out << "    versions not read: " << versions.failures[i] << "\n";
        return;
    }
    const InfoList& list = *versions.lists[i];
    for (std::size_t n = 0; n < list.names.size() && n < list.values.size(); ++n)
        env.out << "    " << list.names[n] << ": " << list.values[n] << "\n";
}

// How the addresses of a sweep that gave no status ended.
struct SweepTally {
    std::uint64_t scanned = 0;
    std::uint64_t refused = 0;   // nothing listens
    std::uint64_t silent = 0;    // no connection within the time-out
    std::uint64_t noStatus = 0;  // connected, but no status frame
    std::uint64_t failed = 0;    // unreachable, blocked or out of sockets

    void Count(const ProbeResult& r) {
        ++scanned;
        switch (r.outcome) {
            case ProbeOutcome::Answered:
                break;
            case ProbeOutcome::Refused:
                ++refused;
                break;
            case ProbeOutcome::Silent:
                ++silent;
                break;
            case ProbeOutcome::NoStatus:
                ++noStatus;
                break;
            case ProbeOutcome::Failed:
            case ProbeOutcome::Blocked:
                ++failed;
                break;
        }
    }
};

void ReportFound(CliEnv& env, const std::vector<ProbeResult>& found, int port,
                 const SweepTally& tally, const FoundVersions& versions) {
    const std::uint64_t scanned = tally.scanned;
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("scanned").Int(static_cast<long long>(scanned));
        json.Key("refused").Int(static_cast<long long>(tally.refused));
        json.Key("silent").Int(static_cast<long long>(tally.silent));
        json.Key("noStatus").Int(static_cast<long long>(tally.noStatus));
        json.Key("failed").Int(static_cast<long long>(tally.failed));
        json.Key("printers").BeginArray();
        for (std::size_t i = 0; i < found.size(); ++i) {
            const ProbeResult& r = found[i];
            json.BeginObject();
            json.Key("host").String(r.host);
            json.Key("port").Int(port);
            json.Key("status").Int(r.status);
            json.Key("meaning").String(StatusMeaning(r.status));
            json.Key("ready").Bool(r.status == status::kReady || r.status == status::kReadyAlt);
            WriteVersionsJson(json, versions, i);
            json.EndObject();
        }
        json.EndArray();
        return;
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        const ProbeResult& r = found[i];
        env.out << r.host << ":" << port << ": status " << ShownStatus(r.status) << ", "
                << StatusMeaning(r.status) << "\n";
        PrintVersions(env, versions, i);
    }
    env.err << found.size() << " of " << scanned << " addresses answered\n";
}

}  // namespace

int RunDiscover(CliEnv& env, const std::vector<std::string>& argv) {
    static constexpr std::array<OptionSpec, 4> kOptions{
        {{"--port", true}, {"--out", true}, {"--versions", false}, {"--in-flight", true}}};
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (args.positional.size() != 1)
        return UsageError(env, "discover takes one range, e.g. 192.168.1.0/24");
    std::string error;
    const int port = NumberOption(args, "--port", 1, 65535, error).value_or(kDefaultPort);
    if (!error.empty()) return UsageError(env, error);
    const int wanted =
        NumberOption(args, "--in-flight", 1, kMostInFlight, error).value_or(kDefaultInFlight);
    if (!error.empty()) return UsageError(env, error);

    const std::string& text = args.positional.front();
    const std::optional<Ipv4Range> range = ParseIpv4Range(text);
    if (!range)
        return UsageError(env, "'" + text + "' is not an IPv4 range such as 192.168.1.0/24");
    if (range->prefix < kWidestScanPrefix) {
        return UsageError(env,
                          "'" + text + "' is wider than a /16; scan it in /16 parts or smaller");
    }
    if (LoopbackOnly() && !RangeIsLoopback(*range))
        return UsageError(
            env,
            "'" + text +
                "' reaches beyond 127.0.0.0/8; RVQ_LOOPBACK_ONLY=1 allows loopback addresses only");

    const int seconds = env.options.timeoutSeconds.value_or(kDefaultTimeoutSeconds);
    const int timeoutMs = std::clamp(seconds, 1, kLongestTimeoutSeconds) * 1000;
    const long fileLimit = RaiseOpenFileLimit();
    const int inFlight = ProbesWithinLimit(fileLimit, wanted);
    if (inFlight < wanted) {
        env.err << "rvqtool: " << inFlight << (inFlight == 1 ? " probe" : " probes")
                << " at a time, not " << wanted << ": the open-file limit is " << fileLimit << "\n";
    }
    ProbePlan plan;
    plan.port = port;
    plan.request = BuildFixedCommands(env.context.settings.controlCodes).statusRequest;
    plan.timeoutMs = timeoutMs;
    plan.inFlight = inFlight;
    plan.clock = Clock::FromEnvironment();
    plan.cancel = &StopRequested();
    std::vector<ProbeResult> found;
    SweepTally tally;
    ProbeRange(RangeFirstHost(*range), RangeHostCount(*range), plan, [&](const ProbeResult& r) {
        tally.Count(r);
        if (r.answered()) found.push_back(r);
    });
    const FoundVersions versions =
        args.Has("--versions") ? ReadFoundVersions(env, found, port) : FoundVersions{};
    ReportFound(env, found, port, tally, versions);

    if (auto out = args.Value("--out")) {
        std::vector<LanPrinter> printers;
        printers.reserve(found.size());
        for (const ProbeResult& r : found) printers.push_back({r.host, port});
        if (const WriteResult written = ExportMultiLanList(*out, printers, env.context.strings);
            !written)
            return ReportSaveFailure(env, *out, written);
    }
    if (found.empty()) return Fail(env, kExitFailed, "no printer answered in " + text);
    return kExitOk;
}

}  // namespace rvq::cli
