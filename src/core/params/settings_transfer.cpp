#include "core/params/settings_transfer.h"

#include <algorithm>

#include "core/app/document.h"
#include "core/app/interaction.h"
#include "core/app/machine_store.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/item_values.h"
#include "core/params/model_values.h"
#include "core/params/settings_file.h"
#include "core/params/value_check.h"
#include "core/platform/file_io.h"

namespace rvq::params {

namespace {

enum class HeaderOutcome { Continue, Stop, Refused };

bool HasKey(const std::vector<TsiEntry>& entries, const char* key) {
    return std::any_of(entries.begin(), entries.end(),
                       [key](const TsiEntry& e) { return e.key == key; });
}

// The printer setting page's model change with an empty destination.
bool SwitchModel(const std::string& name, Document& document, ToolSettings& settings,
                 GroupTicks& ticks, const Strings& strings) {
    if (!document.SelectModel(name)) return false;
    std::string destination =
        name == "R-VQ4D2-G" ? strings.Get(sid::kDestinationQq) : strings.Get(sid::kDefDestination);
    const auto& destinations = document.model()->destinations;
    if (std::find(destinations.begin(), destinations.end(), destination) == destinations.end() &&
        !destinations.empty()) {
        destination = destinations.front();
    }
    settings.printerModel = name;
    settings.destination = destination;
    document.ApplyDestination(destination);
    ticks.ticked.clear();
    return true;
}

HeaderOutcome ApplyHeaderLine(const TsiEntry& entry, Document& document, ToolSettings& settings,
                              GroupTicks& ticks, const SettingsFileEnv& env,
                              Interaction& interaction, ImportResult& result) {
    const Strings& strings = env.strings;
    if (entry.key == "TITLE") {
        if (entry.value != kTsiTitle) return HeaderOutcome::Stop;
    } else if (entry.key == "PRINTER") {
        if (document.model() != nullptr && entry.value == document.model()->name)
            return HeaderOutcome::Continue;
        const auto& names = document.modelNames();
        if (std::find(names.begin(), names.end(), entry.value) == names.end())
            return HeaderOutcome::Stop;
        if (!interaction.Confirm(sid::kMsgOtherModel, strings.Get(sid::kMsgOtherModel)))
            return HeaderOutcome::Refused;
        if (!SwitchModel(entry.value, document, settings, ticks, strings))
            return HeaderOutcome::Stop;
        result.modelChanged = true;
    } else if (entry.key == "DESTINATION") {
        settings.destination = entry.value;
    } else if (entry.key == "SECURITY") {
        result.passwordsIncluded = true;
        if (ParseLeadingInt(entry.value) == 0) {
            interaction.Info(sid::kMsgNoPasswords, strings.Get(sid::kMsgNoPasswords));
            result.passwordsIncluded = false;
        }
    }
    return HeaderOutcome::Continue;
}

void ApplyItems(const std::vector<TsiEntry>& entries, PrinterModel& model, bool passwordsIncluded) {
    for (const TsiEntry& entry : entries) {
        ParamItem* item = FindItem(model, entry.key);
        if (item == nullptr) continue;
        // Without passwords in the file the encoded items keep their defaults.
        if (item->encode && !passwordsIncluded) continue;
        std::string value = entry.value;
        if ((item->flag & kItemFlagQuoted) != 0) {
            value = Trim(value);
            if (!value.empty() && value.front() == '"') value.erase(0, 1);
            if (!value.empty() && value.back() == '"') value.pop_back();
        }
        if (item->encode) value = DecodeStoredPassword(value);
        SetValueText(*item, value);
    }
}

}  // namespace

bool ExportSettings(const std::string& path, PrinterModel& model, const GroupTicks& ticks,
                    const ToolSettings& settings, const SettingsFileEnv& env,
                    Interaction& interaction) {
    if (!ValidateGroups(model, ticks, env.checks, env.strings, interaction)) return false;
    const bool includeSecrets =
        interaction.Confirm(sid::kMsgIncludePasswords, env.strings.Get(sid::kMsgIncludePasswords));
    return WriteSettingsFileAsHeld(path, model, ticks, settings, env, includeSecrets, interaction);
}

bool WriteSettingsFileAsHeld(const std::string& path, const PrinterModel& model,
                             const GroupTicks& ticks, const ToolSettings& settings,
                             const SettingsFileEnv& env, bool includeSecrets,
                             Interaction& interaction) {
    const std::string bytes =
        BuildSettingsFile(model, ticks, settings, env.isJapanese, includeSecrets);
    // Passwords and keys are only scrambled: such a file is its owner's alone.
    const FileAccess access = includeSecrets ? FileAccess::Private : FileAccess::Shared;
    if (const WriteResult written = WriteFileAtomically(path, bytes, access); !written) {
        const SaveFailureMessage message =
            SaveFailureMessageFor(written, sid::kMsgSaveFailed, env.strings);
        interaction.Error(message.id, message.text);
        return false;
    }
    return true;
}

ImportResult ImportSettings(const std::string& path, Document& document, ToolSettings& settings,
                            GroupTicks& ticks, const SettingsFileEnv& env,
                            Interaction& interaction) {
    ImportResult result;
    auto wrongFile = [&] {
        interaction.Error(sid::kMsgWrongFile, env.strings.Get(sid::kMsgWrongFile));
        return result;
    };
    const auto header = ReadTsiSection(path, "HEADER", env.isJapanese);
    if (!header) return wrongFile();
    for (const char* key : {"TITLE", "PRINTER", "DESTINATION", "SECURITY"}) {
        if (!HasKey(*header, key)) return wrongFile();
    }
    for (const TsiEntry& entry : *header) {
        switch (ApplyHeaderLine(entry, document, settings, ticks, env, interaction, result)) {
            case HeaderOutcome::Continue:
                break;
            case HeaderOutcome::Stop:
                return wrongFile();
            case HeaderOutcome::Refused:
                return result;
        }
    }
    const auto groups = ReadTsiSection(path, "GROUP", env.isJapanese);
    const auto items = ReadTsiSection(path, "ITEM", env.isJapanese);
    if (!groups || !items || document.model() == nullptr) return wrongFile();

    // The file is taken into a copy first: a value no page could hold
    // refuses the whole file and leaves the pages as they were.
    PrinterModel candidate = *document.model();
    GroupTicks candidateTicks = ticks;
    ResetAllToDefaults(candidate);
    for (const TsiEntry& entry : *groups) {
        const bool known = std::any_of(candidate.groups.begin(), candidate.groups.end(),
                                       [&](const ParamGroup& g) { return g.name == entry.key; });
        if (known) candidateTicks.Set(entry.key, entry.value == "ON");
    }
    ApplyItems(*items, candidate, result.passwordsIncluded);
    if (!CheckValues(candidate, candidateTicks, env.checks, env.strings, interaction)) {
        result.badValue = true;
        return result;
    }
    *document.model() = std::move(candidate);
    ticks = std::move(candidateTicks);
    result.ok = true;
    return result;
}

}  // namespace rvq::params
