#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/code_page.h"
#include "core/platform/file_io.h"

namespace rvq {

// A settings file with the classic profile-file semantics: "[section]"
// headers and "key=value" lines, section and key names matched without
// regard to letter case, values trimmed and cut to 511 characters, the
// first of duplicate sections or keys wins, a missing file reads as empty.
// Lines the reader does not understand (comments) are kept as they were.
// Changes are made in memory and written in one atomic step by Save.
class IniFile {
public:
    enum class Encoding { Utf8, Utf8Bom, Legacy, Utf16Le };

    static constexpr std::size_t kMaxValueChars = 511;

    IniFile() = default;

    // Missing or unreadable files give an empty document. Text that is not
    // UTF-8 is read in `legacy` and written back in it.
    static IniFile Load(const std::string& path, CodePage legacy = CodePage::Western1252);
    static IniFile Parse(std::string_view bytes, CodePage legacy = CodePage::Western1252);

    // The value, or nothing when the section or key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // The value, or `fallback` when missing or empty (as a profile read
    // with a default text behaves).
    std::string Get(std::string_view section, std::string_view key,
                    std::string_view fallback = {}) const;

    // A value holding CR or LF, a key that is empty, starts with "[" or
    // holds "=", and a section name holding "]" would change the file's
    // structure when written: such a Set changes nothing, returns false and
    // makes every later Save fail (EINVAL) instead of writing a file that
    // reads back differently. Callers that check Save need not check here.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // True when a Set was refused.
    bool refusedSet() const { return refusedSet_; }
    void DeleteSection(std::string_view section);

    std::string Serialize() const;
    [[nodiscard]] WriteResult Save(const std::string& path,
                                   FileAccess access = FileAccess::Shared) const;

private:
    struct Range {
        std::size_t header;  // index of the "[section]" line
        std::size_t end;     // one past the section's last line
    };
    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(const Range& range, std::string_view key) const;

    std::vector<std::string> lines_;
    std::string newline_ = "\r\n";
    Encoding encoding_ = Encoding::Utf8;
    CodePage legacy_ = CodePage::Western1252;
    bool refusedSet_ = false;
};

}  // namespace rvq
