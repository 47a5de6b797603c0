#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rvq {

// The numbered string table: every user-visible text, message, INI section
// and key name and command-table entry. English is built in; the Japanese
// table is a file (id TAB text) loaded over it.
class Strings {
public:
    // The built-in English table.
    Strings();

    // The text of `id`; empty when the table has no such entry.
    const std::string& Get(int id) const;
    bool Has(int id) const { return table_.count(id) != 0; }

    // Loads a table file over the current entries. Returns false (and
    // changes nothing) when the file cannot be read or is malformed. An
    // entry of the printer command tables, or one whose printf conversions
    // would read other arguments than the entry it replaces, is left out
    // with a one-line warning (see overlayWarnings).
    bool LoadOverlay(const std::string& path);

    // Replaces one entry as it stands, without the checks of LoadOverlay:
    // for a table put together in code, such as a test's damaged one.
    void Set(int id, std::string text) { table_[id] = std::move(text); }

    // Why entries of loaded tables were left out, one line each.
    const std::vector<std::string>& overlayWarnings() const { return overlayWarnings_; }

    std::size_t size() const { return table_.size(); }

private:
    std::map<int, std::string> table_;
    std::vector<std::string> overlayWarnings_;
};

// The byte strings the printer receives or the BASIC encoder parses: the
// keyword tables (23000...) and the parameter command tables (40000...).
// They are the same in every language and no table file replaces them.
bool IsCommandTableId(int id);

// The printf conversions of `text` in order, each as written ("%02d");
// "%%" is plain text. An unfinished conversion is kept as it stands, so
// that it differs from any finished one.
std::vector<std::string> PrintfConversions(std::string_view text);

// Whether `text` may be formatted with the arguments meant for `original`:
// the same number of conversions in the same order, each reading the same
// kind of argument (flags, width and precision may differ).
bool SameFormatArguments(std::string_view original, std::string_view text);

// Parses "id<TAB>text" lines. Blank lines and lines starting with '#' are
// skipped. The text understands \n \r \t \e \\ and \xHH. Returns nothing
// when a line is malformed (the line number goes to `badLine`).
std::optional<std::map<int, std::string>> ParseStringTable(std::string_view content,
                                                           int* badLine = nullptr);

}  // namespace rvq
