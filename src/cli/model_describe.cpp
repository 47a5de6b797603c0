#include "cli/model_describe.h"

#include <ostream>

#include "cli/text_table.h"
#include "core/app/text.h"

namespace rvq::cli {

namespace {

std::string Join(const std::vector<std::string>& items, const char* separator = ", ") {
    std::string out;
    for (const auto& i : items) out += (out.empty() ? "" : separator) + i;
    return out;
}

std::string JoinInts(const std::vector<int>& values, const char* separator = ",") {
    std::vector<std::string> texts;
    texts.reserve(values.size());
    for (int v : values) texts.push_back(std::to_string(v));
    return Join(texts, separator);
}

std::string SetCommandText(const SetCommand& command) {
    std::vector<std::string> params;
    for (std::size_t i = 0; i < command.paramNames.size(); ++i) {
        const int type = i < command.paramTypes.size() ? command.paramTypes[i] : 0;
        params.push_back(command.paramNames[i] + ":" + std::to_string(type));
    }
    return std::to_string(command.commandId) + "(" + Join(params) + ")";
}

void PrintSummary(std::ostream& out, const PrinterModel& m) {
    TextTable table;
    table.Add({"model", m.name});
    table.Add({"print area", Format("width %d, length %d (0.1 mm)", m.maxWidth, m.maxLength)});
    table.Add({"resolution", Format("%d dpi", m.resolution)});
    table.Add({"external chars", Format("width %d dots", m.gaijiWidth)});
    table.Add({"memory", Format("block size %d, max block %d", m.blockSize, m.maxBlock)});
    table.Add({"BASIC blocks", Format("main %d, system %d, data %d", m.mainStartBlock,
                                      m.systemStartBlock, m.dataStartBlock)});
    table.Add({"destinations", Join(m.destinations)});
    table.Add({"get commands", JoinInts(m.getCommandIndexes, ", ")});
    table.Print(out);
}

void PrintChangeItems(std::ostream& out, const PrinterModel& m) {
    if (m.changeItemNames.empty()) return;
    std::vector<std::string> header{"item"};
    header.insert(header.end(), m.destinations.begin(), m.destinations.end());
    TextTable table(header);
    for (std::size_t i = 0; i < m.changeItemNames.size(); ++i) {
        std::vector<std::string> row{m.changeItemNames[i]};
        if (i < m.changeItemValues.size()) {
            for (const auto& v : m.changeItemValues[i]) row.push_back(v.empty() ? "-" : v);
        }
        table.Add(row);
    }
    out << "\nchange items\n";
    table.Print(out, "  ");
}

void PrintGroups(std::ostream& out, const PrinterModel& m) {
    TextTable table({"group", "page", "check box", "get", "set commands", "controls"});
    for (const ParamGroup& g : m.groups) {
        std::vector<std::string> sets;
        for (const SetCommand& c : g.setCommands) sets.push_back(SetCommandText(c));
        table.Add({g.name, std::to_string(g.pageIndex), std::to_string(g.checkBoxId),
                   JoinInts(g.getCommands), Join(sets, " "), JoinInts(g.ctrlIds)});
    }
    out << "\ngroups (" << m.groups.size() << ")\n";
    table.Print(out, "  ");
}

void PrintItems(std::ostream& out, const PrinterModel& m) {
    TextTable table(
        {"item", "kind", "ctrl", "get", "offset", "min", "max", "length", "default", "flags"});
    for (const ParamItem& i : m.items) {
        std::string shown = i.textDefault;
        if (!i.labels.empty()) shown += " [" + Join(i.labels, "|") + "]";
        table.Add({i.name, Format("%s(%d)", ItemKindName(i.kind).c_str(), i.kind),
                   std::to_string(i.ctrlId), std::to_string(i.getCmdIndex),
                   std::to_string(i.offset), std::to_string(i.minValue), std::to_string(i.maxValue),
                   Format("%d-%d", i.minLength, i.maxLength), shown,
                   i.flag == 0
                       ? "-"
                       : Format("0x%02X %s", i.flag, Join(ItemFlagNames(i.flag), ",").c_str())});
    }
    out << "\nitems (" << m.items.size() << ")\n";
    table.Print(out, "  ");
}

}  // namespace

std::string ItemKindName(int kind) {
    static const std::pair<int, const char*> kNames[] = {
        {5, "ComboBox"},     {6, "IPAddress"},   {7, "Date"},
        {8, "Time"},         {9, "FILE"},        {10, "ReadOnly"},
        {4, "ASCII"},        {3, "AlphNumeric"}, {1, "Numeric"},
        {0x1A00, "HEXBYTE"}, {0x201, "HEX"},     {0x601, "HEXPassword"},
        {0x11, "NumPoint1"}, {0x101, "SignNum"}, {0x111, "SignNumPoint1"},
        {11, "ALPHNUMSP"},
    };
    for (const auto& [code, name] : kNames) {
        if (code == kind) return name;
    }
    return "kind";
}

std::vector<std::string> ItemFlagNames(int flag) {
    static const std::pair<int, const char*> kNames[] = {
        {item_flag::kService, "service"},
        {item_flag::kNotMultiLan, "not-multi-lan"},
        {item_flag::kServiceToo, "service-too"},
        {item_flag::kNotOnPrinter, "not-on-printer"},
        {item_flag::kNotRestrictedService, "not-restricted-service"},
        {item_flag::kTextAsHex, "text-as-hex"},
    };
    std::vector<std::string> names;
    for (const auto& [bit, name] : kNames) {
        if ((flag & bit) != 0) names.emplace_back(name);
    }
    return names;
}

void PrintModelText(std::ostream& out, const PrinterModel& model) {
    PrintSummary(out, model);
    PrintChangeItems(out, model);
    PrintGroups(out, model);
    PrintItems(out, model);
}

}  // namespace rvq::cli
