#include "core/app/strings.h"

#include <fstream>
#include <sstream>

#include "core/app/text.h"

namespace rvq {

extern const char* const kBuiltinStringTable;

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) return std::nullopt;
        switch (text[i]) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'e':
                out += '\x1b';
                break;
            case '\\':
                out += '\\';
                break;
            case 'x': {
                const int hi = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
                const int lo = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
                if (hi < 0 || lo < 0) return std::nullopt;
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

// The kind of argument a conversion reads: "*" for each star (an int),
// the length modifiers, then one letter per argument type. A conversion
// that is not finished keeps its text, so that only the same text matches.
std::string ArgumentKind(const std::string& conversion) {
    const char last = conversion.back();
    const std::string_view letters = "diouxXeEfFgGaAcsp";
    if (conversion.size() < 2 || letters.find(last) == std::string_view::npos)
        return "!" + conversion;
    std::string kind;
    for (char c : conversion) {
        if (c == '*') kind += '*';
        if (std::string_view("hlLqjzt").find(c) != std::string_view::npos) kind += c;
    }
    switch (last) {
        case 'd':
        case 'i':
            return kind + 'd';
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            return kind + 'u';
        case 'c':
        case 's':
        case 'p':
            return kind + last;
        default:
            return kind + 'f';
    }
}

// "%s %d", or "none".
std::string ConversionList(std::string_view text) {
    std::string list;
    for (const std::string& c : PrintfConversions(text)) list += (list.empty() ? "" : " ") + c;
    return list.empty() ? "none" : list;
}

}  // namespace

bool IsCommandTableId(int id) { return (id >= 23000 && id < 26000) || (id >= 40000 && id < 51000); }

std::vector<std::string> PrintfConversions(std::string_view text) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        const std::size_t start = i++;
        const auto skip = [&](std::string_view chars) {
            while (i < text.size() && chars.find(text[i]) != std::string_view::npos) ++i;
        };
        skip("-+ #0");
        skip("0123456789*");
        if (i < text.size() && text[i] == '.') {
            ++i;
            skip("0123456789*");
        }
        skip("hlLqjzt");
        if (i < text.size() &&
            std::string_view("diouxXeEfFgGaAcspn").find(text[i]) != std::string_view::npos) {
            found.emplace_back(text.substr(start, i - start + 1));
        } else {
            found.emplace_back(text.substr(start, i - start));
            --i;
        }
    }
    return found;
}

bool SameFormatArguments(std::string_view original, std::string_view text) {
    const std::vector<std::string> a = PrintfConversions(original);
    const std::vector<std::string> b = PrintfConversions(text);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ArgumentKind(a[i]) != ArgumentKind(b[i])) return false;
    }
    return true;
}

std::optional<std::map<int, std::string>> ParseStringTable(std::string_view content, int* badLine) {
    std::map<int, std::string> table;
    int lineNumber = 0;
    std::size_t pos = 0;
    if (StartsWith(content, "\xEF\xBB\xBF")) pos = 3;
    while (pos <= content.size()) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (TrimView(line).empty() || line.front() == '#') continue;
        const std::size_t tab = line.find('\t');
        const std::string_view idText = line.substr(0, tab);
        bool numeric = !idText.empty();
        for (char c : idText) numeric = numeric && c >= '0' && c <= '9';
        std::optional<std::string> text;
        if (numeric && tab != std::string_view::npos) text = Unescape(line.substr(tab + 1));
        if (!text) {
            if (badLine) *badLine = lineNumber;
            return std::nullopt;
        }
        table[ParseLeadingInt(idText)] = std::move(*text);
    }
    return table;
}

Strings::Strings() {
    // The built-in table is checked by a test; a malformed build would show
    // up there rather than as silently missing texts.
    if (auto parsed = ParseStringTable(kBuiltinStringTable)) table_ = std::move(*parsed);
}

const std::string& Strings::Get(int id) const {
    static const std::string empty;
    const auto it = table_.find(id);
    return it == table_.end() ? empty : it->second;
}

bool Strings::LoadOverlay(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    auto parsed = ParseStringTable(content.str());
    if (!parsed) return false;
    static const std::string none;
    for (auto& [id, text] : *parsed) {
        const auto it = table_.find(id);
        const std::string& current = it == table_.end() ? none : it->second;
        if (IsCommandTableId(id)) {
            overlayWarnings_.push_back(
                path + ": string " + std::to_string(id) +
                " is left out: the printer command tables are never replaced");
            continue;
        }
        // A text formatted with arguments it does not expect reads memory
        // it was never given.
        if (!SameFormatArguments(current, text)) {
            overlayWarnings_.push_back(path + ": string " + std::to_string(id) +
                                       " is left out: its conversions (" + ConversionList(text) +
                                       ") are not those of the English text (" +
                                       ConversionList(current) + "); the English text is used");
            continue;
        }
        table_[id] = std::move(text);
    }
    return true;
}

}  // namespace rvq
