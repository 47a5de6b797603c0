#include "core/app/maintenance_lists.h"

#include <algorithm>
#include <charconv>

#include "core/app/text.h"

namespace rvq {

namespace {

void AppendSection(std::vector<InfoRow>& rows, const InfoList& list) {
    for (std::size_t i = 0; i < list.names.size() && i < list.values.size(); ++i)
        rows.push_back({list.names[i], list.values[i]});
}

}  // namespace

std::optional<InfoNumber> ParseInfoNumber(std::string_view value) {
    const std::string text = Trim(value);
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t digits = at;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (at < text.size() && isDigit(text[at])) ++at;
    if (at == digits) return std::nullopt;
    if (at + 1 < text.size() && text[at] == '.' && isDigit(text[at + 1])) {
        ++at;
        while (at < text.size() && isDigit(text[at])) ++at;
    }
    const std::string number = text.substr(0, at);
    while (at < text.size() && text[at] == ' ') ++at;
    const std::string unit = text.substr(at);
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const bool unitOk = unit.empty() || ((isLetter(unit[0]) || unit[0] == '%') &&
                                         std::all_of(unit.begin(), unit.end(), [&](char c) {
                                             return isLetter(c) || c == '%' || c == '/';
                                         }));
    if (!unitOk) return std::nullopt;
    InfoNumber parsed;
    // from_chars ignores the locale, whose separator may be a comma.
    const std::string_view digitsText =
        number[0] == '+' ? std::string_view(number).substr(1) : std::string_view(number);
    std::from_chars(digitsText.data(), digitsText.data() + digitsText.size(), parsed.number);
    parsed.unit = unit;
    return parsed;
}

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
