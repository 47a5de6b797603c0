#pragma once

#include <string>

#include "core/app/tool_settings.h"
#include "core/params/group_checks.h"
#include "core/params/group_ticks.h"

namespace rvq {
class Document;
class Interaction;
class Strings;
}  // namespace rvq

namespace rvq::params {

// What saving and loading setting information files need from the program.
struct SettingsFileEnv {
    const Strings& strings;
    bool isJapanese = false;
    GroupCheckContext checks;
};

// Runs the group checks, asks whether passwords and keys go in (801) and
// writes the file atomically. False when a check failed (its message was
// shown) or the file could not be written (1011, or the message naming
// the folder or link that refused it, was shown). A file that holds
// passwords and keys is made readable by its owner only.
[[nodiscard]] bool ExportSettings(const std::string& path, PrinterModel& model,
                                  const GroupTicks& ticks, const ToolSettings& settings,
                                  const SettingsFileEnv& env, Interaction& interaction);

// Writes the file as the model holds it, without the group checks, and
// with passwords and keys only when `includeSecrets`: a backup saves what
// the printer holds, and a later set of the file runs the checks. False
// when the file could not be written (1011 was shown).
[[nodiscard]] bool WriteSettingsFileAsHeld(const std::string& path, const PrinterModel& model,
                                           const GroupTicks& ticks, const ToolSettings& settings,
                                           const SettingsFileEnv& env, bool includeSecrets,
                                           Interaction& interaction);

struct ImportResult {
    bool ok = false;
    bool passwordsIncluded = false;
    bool modelChanged = false;  // the file was for another model and the user agreed to switch
    bool badValue =
        false;  // refused: a value of a group it turns ON cannot be set (64800 was shown)
};

// Loads a setting information file into the document's model and the
// group ticks. A file for another known model asks 897 and, on Yes,
// switches the model (the settings take the new model and a fresh
// destination). Header faults give 898; a file without passwords gives
// 800 and leaves the encoded items at their defaults. Every item not in
// the file ends at its default. A value no page could hold in a group the
// file turns ON refuses the file (64800, see CheckValues) and changes
// neither the model nor the ticks.
[[nodiscard]] ImportResult ImportSettings(const std::string& path, Document& document,
                                          ToolSettings& settings, GroupTicks& ticks,
                                          const SettingsFileEnv& env, Interaction& interaction);

}  // namespace rvq::params
