#include "core/app/file_filter.h"

#include <algorithm>
#include <cctype>

#include "core/app/text.h"

namespace rvq {

namespace {

std::string ToLowerAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void AddPattern(std::vector<std::string>& patterns, const std::string& pattern) {
    if (std::find(patterns.begin(), patterns.end(), pattern) == patterns.end())
        patterns.push_back(pattern);
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(std::string_view text) {
    std::vector<FileFilterEntry> entries;
    const std::vector<std::string> parts = Split(text, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        FileFilterEntry entry;
        const std::size_t open = parts[i].find('(');
        entry.label = TrimRight(parts[i].substr(0, open));
        for (const std::string& raw : Split(parts[i + 1], ';')) {
            const std::string pattern = Trim(raw);
            if (pattern.empty()) continue;
            if (pattern == "*.*") {
                AddPattern(entry.patterns, "*");
                continue;
            }
            AddPattern(entry.patterns, pattern);
            AddPattern(entry.patterns, ToLowerAscii(pattern));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || extension.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + extension;
}

}  // namespace rvq
