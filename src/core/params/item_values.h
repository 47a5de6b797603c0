#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/app/printer_model.h"

namespace rvq::params {

// Which labels of a list item the pages show (and so which labels its text
// value holds after a page was read).
enum class ShownLanguage { English, Japanese };

inline ShownLanguage ShownLanguageFor(bool japanese) {
    return japanese ? ShownLanguage::Japanese : ShownLanguage::English;
}

// The list entry whose English or Japanese label equals the item's text
// value: the first such entry, the English label of each entry compared
// first, whatever language is shown.
std::optional<std::size_t> MatchingEntry(const ParamItem& item);
// The same for any label text.
std::optional<std::size_t> EntryLabelled(const ParamItem& item, std::string_view label);

// Numeric and read-only items: their number. List items: the matching
// entry's command code as a number, or -1. Other kinds: -1.
int NumericValue(const ParamItem& item);

// What a set command sends for the item: a list item's matching command
// code (empty when none matches), a numeric item's number (one-decimal
// kinds as "1.5"), otherwise the text value.
std::string CommandText(const ParamItem& item);

// A list item's matching English label (empty when none matches); other
// kinds as CommandText. Checks compare with "Enable", "Manual", "HEX"
// through this, so they work under both interface languages.
std::string SelectedEnglishLabel(const ParamItem& item);

// The value settings export writes: a list item under the Japanese
// interface gives the English label of the entry whose Japanese label is
// its text (or the text itself); under English its text; other kinds as
// CommandText.
std::string EnglishLabel(const ParamItem& item, ShownLanguage language);

// The entry whose label in the shown language equals the text value, or -1.
int SelectedIndex(const ParamItem& item, ShownLanguage language);

// The shown-language label of the list entry whose command code, as a
// number, equals `code` as a number; for an IP address the text normalised
// to "%d.%d.%d.%d"; otherwise (and when no entry matches) `code` itself.
std::string LabelForCode(const ParamItem& item, std::string_view code, ShownLanguage language);

// As LabelForCode, but the command code text must equal `code` exactly.
std::string LabelForCodeText(const ParamItem& item, std::string_view code, ShownLanguage language);

// Page value := text; a numeric item also takes the text as its number.
void SetValueText(ParamItem& item, std::string_view text);

// Page value := a value in the printer's form (a reply field): numeric
// items take the number, list items the label of the entry with that
// command code, the DHCP client id loses its "FF" padding.
void AdoptValue(ParamItem& item, std::string_view text, ShownLanguage language);

}  // namespace rvq::params
