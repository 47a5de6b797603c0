#include "core/params/item_values.h"

#include "core/app/text.h"
#include "core/params/item_kind.h"
#include "core/params/item_number.h"
#include "core/params/value_codecs.h"

namespace rvq::params {

namespace {

// The lists of an entry are parallel in a well-formed file; an entry that
// lacks one of them reads it as empty.
const std::string& At(const std::vector<std::string>& list, std::size_t i) {
    static const std::string kEmpty;
    return i < list.size() ? list[i] : kEmpty;
}

const std::string& ShownLabel(const ParamItem& item, std::size_t i, ShownLanguage language) {
    return language == ShownLanguage::Japanese ? At(item.labelsJpn, i) : At(item.labels, i);
}

std::string NormalisedAddress(std::string_view text) {
    const std::vector<int> parts = ParseIntList(text, '.', 4);
    return Format("%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
}

}  // namespace

std::optional<std::size_t> MatchingEntry(const ParamItem& item) {
    return EntryLabelled(item, item.textValue);
}

std::optional<std::size_t> EntryLabelled(const ParamItem& item, std::string_view label) {
    for (std::size_t i = 0; i < item.labels.size(); ++i) {
        if (At(item.labels, i) == label || At(item.labelsJpn, i) == label) return i;
    }
    return std::nullopt;
}

int NumericValue(const ParamItem& item) {
    if (HoldsNumber(item.kind) || item.kind == kind::kReadOnly) return item.numValue;
    if (IsList(item.kind)) {
        const auto entry = MatchingEntry(item);
        return entry ? ParseLeadingInt(At(item.commandCodes, *entry)) : -1;
    }
    return -1;
}

std::string CommandText(const ParamItem& item) {
    if (IsList(item.kind)) {
        const auto entry = MatchingEntry(item);
        return entry ? At(item.commandCodes, *entry) : std::string();
    }
    if (HoldsNumber(item.kind)) return NumberToCommandText(item.kind, item.numValue);
    return item.textValue;
}

std::string SelectedEnglishLabel(const ParamItem& item) {
    if (!IsList(item.kind)) return CommandText(item);
    const auto entry = MatchingEntry(item);
    return entry ? At(item.labels, *entry) : std::string();
}

std::string EnglishLabel(const ParamItem& item, ShownLanguage language) {
    if (!IsList(item.kind)) return CommandText(item);
    if (language == ShownLanguage::Japanese) {
        for (std::size_t i = 0; i < item.labels.size(); ++i) {
            if (At(item.labelsJpn, i) == item.textValue) return At(item.labels, i);
        }
    }
    return item.textValue;
}

int SelectedIndex(const ParamItem& item, ShownLanguage language) {
    for (std::size_t i = 0; i < item.labels.size(); ++i) {
        if (ShownLabel(item, i, language) == item.textValue) return static_cast<int>(i);
    }
    return -1;
}

std::string LabelForCode(const ParamItem& item, std::string_view code, ShownLanguage language) {
    if (IsList(item.kind)) {
        const int wanted = ParseLeadingInt(code);
        for (std::size_t i = 0; i < item.labels.size(); ++i) {
            if (ParseLeadingInt(At(item.commandCodes, i)) == wanted)
                return ShownLabel(item, i, language);
        }
        return std::string(code);
    }
    if (item.kind == kind::kIpAddress) return NormalisedAddress(code);
    return std::string(code);
}

std::string LabelForCodeText(const ParamItem& item, std::string_view code, ShownLanguage language) {
    if (IsList(item.kind)) {
        for (std::size_t i = 0; i < item.labels.size(); ++i) {
            if (At(item.commandCodes, i) == code) return ShownLabel(item, i, language);
        }
        return std::string(code);
    }
    return LabelForCode(item, code, language);
}

void SetValueText(ParamItem& item, std::string_view text) {
    item.textValue = std::string(text);
    if (HoldsNumber(item.kind)) item.numValue = NumberFromText(item.kind, text);
}

void AdoptValue(ParamItem& item, std::string_view text, ShownLanguage language) {
    item.textValue = item.name == "DHCPClientID" ? StripTrailingFF(text) : std::string(text);
    if (HoldsNumber(item.kind)) {
        item.numValue = NumberFromText(item.kind, item.textValue);
    } else if (IsList(item.kind)) {
        const int wanted = ParseLeadingInt(text);
        for (std::size_t i = 0; i < item.labels.size(); ++i) {
            if (ParseLeadingInt(At(item.commandCodes, i)) == wanted) {
                item.textValue = ShownLabel(item, i, language);
                break;
            }
        }
    }
}

}  // namespace rvq::params
