#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "cli/builder_output.h"
#include "cli/cli.h"
#include "cli/command_args.h"
#include "cli/json_writer.h"
#include "cli/status_meaning.h"
#include "core/app/text.h"
#include "core/comm/clock.h"
#include "core/comm/framing.h"
#include "core/comm/lan_discovery.h"
#include "core/comm/multi_lan_list.h"
#include "core/comm/reply_frames.h"

namespace rvq::cli {

namespace {

constexpr int kDefaultPort = 8000;
constexpr int kDefaultTimeoutSeconds = 1;
constexpr int kConcurrentProbes = 32;
constexpr int kLongestTimeoutSeconds = 60;  // keeps the milliseconds within an int

std::string ShownStatus(int code) {
    return code < 0 ? std::to_string(code) : Format("%02d", code);
}

void ReportFound(CliEnv& env, const std::vector<ProbeResult>& found, int port,
                 std::size_t scanned) {
    if (env.options.json) {
        JsonWriter json(env.out);
        json.BeginObject();
        json.Key("scanned").Int(static_cast<long long>(scanned));
        json.Key("printers").BeginArray();
        for (const ProbeResult& r : found) {
            json.BeginObject();
            json.Key("host").String(r.host);
            json.Key("port").Int(port);
            json.Key("status").Int(r.status);
            json.Key("meaning").String(StatusMeaning(r.status));
            json.Key("ready").Bool(r.status == status::kReady || r.status == status::kReadyAlt);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
        env.out << "\n";
        return;
    }
    for (const ProbeResult& r : found) {
        env.out << r.host << ":" << port << ": status " << ShownStatus(r.status) << ", "
                << StatusMeaning(r.status) << "\n";
    }
    env.err << found.size() << " of " << scanned << " addresses answered\n";
}

}  // namespace

int RunDiscover(CliEnv& env, const std::vector<std::string>& argv) {
    static constexpr std::array<OptionSpec, 2> kOptions{{{"--port", true}, {"--out", true}}};
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (args.positional.size() != 1) return UsageError(env, "discover takes one range, e.g. 192.168.1.0/24");
    std::string error;
    const int port = NumberOption(args, "--port", 1, 65535, error).value_or(kDefaultPort);
    if (!error.empty()) return UsageError(env, error);

    const std::string& text = args.positional.front();
    const std::optional<Ipv4Range> range = ParseIpv4Range(text);
    if (!range) return UsageError(env, "'" + text + "' is not an IPv4 range such as 192.168.1.0/24");
    if (range->prefix < kWidestScanPrefix) {
        return UsageError(env, "'" + text + "' is wider than a /16; scan it in /16 parts or smaller");
    }

    const int seconds = env.options.timeoutSeconds.value_or(kDefaultTimeoutSeconds);
    const int timeoutMs = std::clamp(seconds, 1, kLongestTimeoutSeconds) * 1000;
    const std::vector<std::string> hosts = RangeHosts(*range);
    const std::string request = BuildFixedCommands(env.context.settings.controlCodes).statusRequest;
    const std::vector<ProbeResult> results = ProbeHosts(
        hosts, port, request, timeoutMs, Clock::FromEnvironment(), kConcurrentProbes);

    std::vector<ProbeResult> found;
    for (const ProbeResult& r : results) {
        if (r.answered) found.push_back(r);
    }
    ReportFound(env, found, port, hosts.size());

    if (auto out = args.Value("--out")) {
        std::vector<LanPrinter> printers;
        for (const ProbeResult& r : found) printers.push_back({r.host, port});
        if (!ExportMultiLanList(*out, printers, env.context.strings)) {
            env.interaction.Error(kMsgSaveFailed, OneLine(env.context.strings.Get(kMsgSaveFailed)));
            return kExitFailed;
        }
    }
    return found.empty() ? kExitFailed : kExitOk;
}

}  // namespace rvq::cli
