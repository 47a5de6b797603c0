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
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'e': out += '\x1b'; break;
            case '\\': out += '\\'; break;
            case 'x': {
                const int hi = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
                const int lo = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
                if (hi < 0 || lo < 0) return std::nullopt;
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return out;
}

}  // namespace

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
    for (auto& [id, text] : *parsed) table_[id] = std::move(text);
    return true;
}

}  // namespace rvq
