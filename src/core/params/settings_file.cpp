#include "core/params/settings_file.h"

#include <algorithm>

#include "core/app/machine_store.h"
#include "core/app/text.h"
#include "core/params/item_values.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"

namespace rvq::params {

std::vector<TsiEntry> ParseTsiSection(std::string_view bytes, std::string_view name,
                                      bool isJapanese) {
    const std::string text = FromCodePage(bytes, CodePageFor(isJapanese));
    const std::string header = "[" + std::string(name) + "]";
    std::vector<TsiEntry> entries;
    bool inside = false;
    bool begun = false;
    for (std::string line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            if (line == header) {
                inside = true;
                begun = true;
            } else if (begun) {
                break;
            }
            continue;
        }
        if (!inside) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        entries.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

std::optional<std::vector<TsiEntry>> ReadTsiSection(const std::string& path, std::string_view name,
                                                    bool isJapanese) {
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return ParseTsiSection(*bytes, name, isJapanese);
}

std::string TsiItemValue(const ParamItem& item, bool isJapanese) {
    std::string value = EnglishLabel(item, ShownLanguageFor(isJapanese));
    if (item.encode) value = EncodeStoredPassword(value);
    // A line break inside a value (a printer may report one) would start a
    // line of its own when read back, even a group switched ON.
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    if ((item.flag & kItemFlagQuoted) != 0) value = "\"" + value + "\"";
    return value;
}

std::string BuildSettingsFile(const PrinterModel& model, const GroupTicks& ticks,
                              const ToolSettings& settings, bool isJapanese, bool includeSecrets) {
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\r\n"; };
    line("[HEADER]");
    line(std::string("TITLE=") + kTsiTitle);
    line(std::string("VERSION=") + kTsiVersion);
    line("PRINTER=" + settings.printerModel);
    line("DESTINATION=" + settings.destination);
    line(Format("SECURITY=%d", includeSecrets ? 1 : 0));
    line("[GROUP]");
    for (const ParamGroup& group : model.groups)
        line(group.name + (ticks.Has(group.name) ? "=ON" : "=OFF"));
    line("[ITEM]");
    for (const ParamItem& item : model.items) {
        if (item.encode && !includeSecrets) continue;
        line(item.name + "=" + TsiItemValue(item, isJapanese));
    }
    return ToCodePage(text, CodePageFor(isJapanese));
}

}  // namespace rvq::params
