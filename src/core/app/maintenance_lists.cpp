#include "core/app/maintenance_lists.h"

#include "core/app/text.h"

namespace rvq {

namespace {

void AppendSection(std::vector<InfoRow>& rows, const InfoList& list) {
    for (std::size_t i = 0; i < list.names.size() && i < list.values.size(); ++i)
        rows.push_back({list.names[i], list.values[i]});
}

}  // namespace

std::optional<std::size_t> ParameterListChoice(std::string_view name) {
    for (std::size_t i = 0; i < kParameterListChoices.size(); ++i) {
        if (EqualsNoCase(name, kParameterListChoices[i])) return i;
    }
    return std::nullopt;
}

std::vector<InfoRow> CounterRows(const Document& document) {
    std::vector<InfoRow> rows;
    AppendSection(rows, document.infoSection(InfoSection::Counter));
    const InfoList rfid = document.infoSection(InfoSection::Rfid);
    for (std::size_t i = 0; i < rfid.names.size() && i < rfid.values.size(); ++i) {
        if (rfid.names[i] == "WRITE OK TAGS" || rfid.names[i] == "VOID PRINT TAGS")
            rows.push_back({rfid.names[i], rfid.values[i]});
    }
    return rows;
}

std::vector<InfoRow> FirmwareRows(const Document& document) {
    InfoList versions{document.versionNames(), document.versionValues()};
    std::vector<InfoRow> rows;
    AppendSection(rows, versions);
    return rows;
}

std::vector<InfoRow> ParameterRows(const Document& document, std::size_t choice) {
    std::vector<InfoRow> rows{{"DESTINATION", document.infoDestination()}};
    if (choice >= kParameterListChoices.size()) return rows;
    // The choices after "ALL" are the information sections after COUNTER.
    if (choice > 0) {
        AppendSection(rows, document.infoSection(static_cast<InfoSection>(choice)));
        return rows;
    }
    for (std::size_t section = 1; section < kParameterListChoices.size(); ++section) {
        rows.push_back({"<<" + std::string(kParameterListChoices[section]) + ">>", ""});
        AppendSection(rows, document.infoSection(static_cast<InfoSection>(section)));
    }
    return rows;
}

}  // namespace rvq
