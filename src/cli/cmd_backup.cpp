// backup: each printer's parameters and information blocks into a folder
// of its own, before anything is changed on it.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/builder_output.h"
#include "cli/cmd_backup.h"
#include "cli/json_writer.h"
#include "cli/param_session.h"
#include "cli/printer_reads_run.h"
#include "cli/run_json.h"
#include "core/app/connection.h"
#include "core/params/group_checks.h"
#include "core/params/group_ticks.h"
#include "core/params/settings_transfer.h"

namespace rvq::cli {

namespace {

namespace fs = std::filesystem;

std::string UtcStamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

// A folder name from a connection ("127.0.0.2,9100" -> "127.0.0.2_9100"):
// anything but letters, digits, '.' and '-' becomes '_'.
std::string SafeName(const std::string& text) {
    std::string name;
    for (unsigned char c : text) {
        const bool keep = std::isalnum(c) != 0 || c == '.' || c == '-';
        name.push_back(keep ? static_cast<char>(c) : '_');
    }
    return name.empty() ? std::string("printer") : name;
}

struct BackupPlace {
    std::string partial;  // written here first
    std::string base;     // the folder's name without a suffix
    std::string final;    // renamed to this when complete
};

std::vector<BackupPlace> Places(CliEnv& env, const std::string& folder) {
    const ToolSettings& settings = env.context.settings;
    const std::size_t count =
        IsMultiLan(settings.interfaceName.kind()) ? settings.multiLanHosts.size() : 1;
    const std::string stamp = UtcStamp();
    std::vector<BackupPlace> places;
    for (std::size_t i = 0; i < count; ++i) {
        const Connection c = BuildConnection(settings, env.context.strings, i);
        const std::string name = SafeName(
            IsLan(c.interfaceName.kind()) ? c.settings : c.interfaceName.text() + "_" + c.settings);
        const std::string final = (fs::path(folder) / (name + "-" + stamp)).string();
        places.push_back(
            {(fs::path(folder) / ("." + name + "-" + stamp + ".partial")).string(), final, final});
    }
    return places;
}

// Writes the parameters beside the information and moves the folder into
// place. False (and the partial folder removed) when any step fails. The
// file holds what the printer holds, even values a set would refuse.
bool Complete(CliEnv& env, const PrinterModel& model, BackupPlace& place, bool includeSecrets) {
    params::GroupTicks all;
    for (const ParamGroup& group : model.groups) all.Set(group.name, true);
    std::error_code error;
    bool ok = params::WriteSettingsFileAsHeld((fs::path(place.partial) / "params.TSI").string(),
                                              model, all, env.context.settings, FileEnv(env),
                                              includeSecrets, env.interaction);
    // A backup of the same printer within the same second keeps the first.
    for (int n = 2; ok && fs::exists(place.final, error); ++n)
        place.final = place.base + "-" + std::to_string(n);
    ok = ok && (fs::rename(place.partial, place.final, error), !error);
    if (!ok) fs::remove_all(place.partial, error);
    return ok;
}

// What a set of the backed-up values to one printer would refuse, one text
// per group that fails its check.
std::vector<std::string> SetRefusals(const CliEnv& env, const PrinterModel& model) {
    params::GroupTicks all;
    for (const ParamGroup& group : model.groups) all.Set(group.name, true);
    params::GroupCheckContext context = CheckContext(env);
    context.multiLan = false;  // the strictest: a restore to one printer
    std::vector<std::string> texts;
    for (const params::GroupCheckFailure& failure :
         params::GroupCheckFailures(model, all, context, env.context.strings))
        texts.push_back(OneLine(failure.text));
    return texts;
}

void WriteJson(CliEnv& env, const std::string& folder, const JobRunRecord& record,
               const std::vector<std::string>& written,
               const std::vector<std::vector<std::string>>& warnings) {
    JsonWriter json = DataFields(env);
    json.Key("folder").String(folder);
    json.Key("printers").BeginArray();
    for (const PrinterRecord& printer : record.printers) {
        if (!printer.selected) continue;
        const auto index = static_cast<std::size_t>(printer.index);
        json.BeginObject();
        WritePrinterFields(json, printer);
        json.Key("backup");
        if (written[index].empty())
            json.Null();
        else
            json.String(written[index]);
        json.Key("warnings").BeginArray();
        for (const std::string& warning : warnings[index]) json.String(warning);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

int BackupPrinters(CliEnv& env, const std::string& folder, bool includeSecrets) {
    if (!LoadParamDocument(env)) return kExitUsage;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        return Fail(env, kExitFailed, folder + ": the backup folder cannot be made");
    }
    PrinterModel base;
    {
        const std::lock_guard lock(env.document.modelMutex());
        base = *env.document.model();
    }
    std::vector<BackupPlace> places = Places(env, folder);
    PrinterReads reads = ReadPrinters(env, JobKind::GetParameter, [&](int index) {
        PrinterReadRequest request;
        request.base = &base;
        request.getCommands = base.getCommandIndexes;
        const BackupPlace& place = places[static_cast<std::size_t>(index)];
        std::error_code ignored;
        fs::remove_all(place.partial, ignored);
        fs::create_directory(place.partial, ignored);
        request.infoPath = (fs::path(place.partial) / "info.txt").string();
        return request;
    });
    const JobRunRecord& record = env.runs.back();
    std::vector<std::string> written(places.size());
    std::vector<std::vector<std::string>> warnings(places.size());
    int exitCode = reads.exitCode;
    for (const PrinterRecord& printer : record.printers) {
        if (!printer.selected) continue;
        const auto index = static_cast<std::size_t>(printer.index);
        BackupPlace& place = places[index];
        const std::string where = printer.interfaceName + " " + printer.address;
        const auto it = reads.results.find(printer.index);
        const bool read = it != reads.results.end() && it->second.model;
        if (read) {
            warnings[index] = SetRefusals(env, *it->second.model);
            for (const std::string& warning : warnings[index])
                env.err << "rvqtool: " << where
                        << ": warning: a set of this backup would refuse: " << warning << "\n";
        }
        if (read && Complete(env, *it->second.model, place, includeSecrets)) {
            written[index] = place.final;
        } else {
            fs::remove_all(place.partial, error);
            exitCode = kExitFailed;
            const std::string why = read ? "its folder could not be written" : FailureLine(printer);
            env.errors.Note(where + ": not backed up: " + why);
            if (!env.options.json) env.out << where << ": not backed up: " << why << "\n";
            continue;
        }
        if (!env.options.json) env.out << where << ": backed up to " << place.final << "\n";
    }
    if (env.options.json) WriteJson(env, folder, record, written, warnings);
    return exitCode;
}

int RunBackup(CliEnv& env, const std::vector<std::string>& args) {
    std::string folder;
    bool includeSecrets = false;
    for (const std::string& a : args) {
        if (a == "--include-secrets") {
            includeSecrets = true;
        } else if (!a.empty() && a[0] == '-') {
            return UsageError(env, "backup: unknown argument '" + a + "'");
        } else if (!folder.empty()) {
            return UsageError(env, "backup takes one folder");
        } else {
            folder = a;
        }
    }
    if (folder.empty()) return UsageError(env, "backup needs a folder (DIR)");
    return BackupPrinters(env, folder, includeSecrets);
}

}  // namespace rvq::cli
