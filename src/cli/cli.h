#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "cli/run_error.h"
#include "cli/run_record.h"
#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/interaction.h"

namespace rvq::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed =
    1;  // the printer reported an error, did not answer, or the work failed
inline constexpr int kExitUsage = 2;        // bad command line or connection settings
inline constexpr int kExitWouldChange = 3;  // a dry run found values a set would change

// Options given before or after the command; each one overrides VQTool.INI.
struct GlobalOptions {
    std::optional<std::string> model;
    std::optional<std::string> definitions;
    std::optional<std::string> lan;  // HOST[:PORT] or HOST,PORT
    std::optional<int> com;
    std::optional<std::string> line;  // 9600,N,8,1,0
    std::optional<std::string> usb;   // filter or device path; empty for the configured filter
    std::optional<int> lpt;
    std::optional<std::string> settingsFile;
    std::optional<int> timeoutSeconds;
    std::optional<std::string> codes;      // auto|esc|braces|HH,HH,HH
    std::optional<std::string> multiLan;   // a Multi-LAN list file
    std::optional<std::string> pick;       // 1,3,5: the list entries that take part
    std::optional<std::string> logFile;    // where the job log goes (CSV)
    std::optional<std::string> auditFile;  // one JSON line per printer job is appended
    std::optional<int> canary;  // Multi LAN: run this many first, the rest only if they all succeed
    std::optional<int> parallel;  // Multi LAN: printers in progress at once (1 to 64; 5 by default)
    std::optional<std::string> passwordFile;  // holds the login password on its first line
    bool yes = false;
    bool json = false;
    bool help = false;
};

// Everything a command needs: the application context after the options
// were applied, the streams, and a way to ask the user.
struct CliEnv {
    AppContext& context;
    GlobalOptions options;
    std::ostream& out;
    std::ostream& err;
    Interaction& interaction;
    std::string definitionsPath;
    Document& document;
    ErrorNote& errors;                    // why the command failed, for its --json document
    std::ostream& jsonFields;             // under --json: the command's own keys of its document
    std::vector<JobRunRecord> runs = {};  // every printer run of the command, in order
    // The folders VQTool_Printer.XML was looked for in; empty when
    // --definitions named the file.
    std::vector<std::string> definitionsSearched = {};
    std::vector<std::string> jobLogLines = {};  // the job log lines of every run, for --log
};

// Printers of a Multi-LAN run in progress at once unless --parallel says.
inline constexpr int kDefaultParallel = 5;
inline constexpr int kMostParallel = 64;
inline int Parallel(const CliEnv& env) { return env.options.parallel.value_or(kDefaultParallel); }

// Writes the command's own keys into its --json document (which also
// holds command, exitCode, result, output, runs and error).
inline JsonWriter DataFields(CliEnv& env) {
    return JsonWriter(env.jsonFields, JsonWriter::InsideObject{});
}

// The one report of a usage or settings error: "rvqtool: <message>" on the
// error stream; returns kExitUsage. A mistake on the command line itself
// names the help to read: `helpTopic` "" for rvqtool --help, a command's
// name for its own.
int UsageError(std::ostream& err, const std::string& message,
               const std::optional<std::string>& helpTopic = std::nullopt);

// Prints "rvqtool: <message>" on the error stream, keeps it as the
// command's error and returns `exitCode`. `id` is the number of a message
// of the program's string table.
int Fail(CliEnv& env, int exitCode, const std::string& message,
         std::optional<int> id = std::nullopt);

// Fail with kExitUsage: a bad command line or settings.
int UsageError(CliEnv& env, const std::string& message);

}  // namespace rvq::cli
