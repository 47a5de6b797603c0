#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

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
    // changes nothing) when the file cannot be read or is malformed.
    bool LoadOverlay(const std::string& path);

    std::size_t size() const { return table_.size(); }

private:
    std::map<int, std::string> table_;
};

// Parses "id<TAB>text" lines. Blank lines and lines starting with '#' are
// skipped. The text understands \n \r \t \e \\ and \xHH. Returns nothing
// when a line is malformed (the line number goes to `badLine`).
std::optional<std::map<int, std::string>> ParseStringTable(std::string_view content,
                                                           int* badLine = nullptr);

}  // namespace rvq
