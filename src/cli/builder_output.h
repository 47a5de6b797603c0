#pragma once

#include <string>

#include "cli/cli.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

// A message-box text on one line: its CR LF breaks become spaces.
std::string OneLine(const std::string& text);

// Asks before an existing file is replaced. False (with a line saying so)
// when the answer is No.
[[nodiscard]] bool MayReplace(CliEnv& env, const std::string& path);

// Reports a builder's failure message on one line. A file that could not
// be written (or memory that could not be had) is a failed run, exit 1;
// anything else was bad input, exit 2. `subject` (the file concerned)
// leads the line.
int ReportBuildFailure(CliEnv& env, const std::string& subject, int messageId,
                       const std::string& text);

// Reports a file that could not be saved ("PATH: message"), with
// `fileMessageId` (1011, 1016, 1403) or the message of the folder, link or
// name that refused it. Returns kExitFailed.
int ReportSaveFailure(CliEnv& env, const std::string& path, const WriteResult& result,
                      int fileMessageId = 1011);

}  // namespace rvq::cli
