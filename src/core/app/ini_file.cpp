#include "core/app/ini_file.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "core/app/text.h"

namespace rvq {

namespace {

// Converts with iconv; a sequence that cannot be converted becomes
// `replacement` (one `unit` of input is skipped), so one bad character
// never costs the rest of the file.
std::string Iconv(std::string_view in, const char* to, const char* from, std::size_t unit,
                  std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    // iconv_open reports failure as (iconv_t)-1.
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};  // NOLINT(performance-no-int-to-ptr)
    std::string out;
    char buffer[4096];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        out += replacement;
        const std::size_t skip = std::min(unit, inLeft);
        inPtr += skip;
        inLeft -= skip;
    }
    iconv_close(cd);
    return out;
}

// Section name of a "[name]" line, or nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view t = TrimView(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return TrimView(t.substr(1, close - 1));
}

std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::make_pair(TrimView(line.substr(0, eq)), TrimView(line.substr(eq + 1)));
}

// Cuts to at most `maxChars` UTF-8 characters without splitting one.
std::string CutChars(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == maxChars) return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return std::string(value.substr(1, value.size() - 2));
    }
    return std::string(value);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// What Set may write without changing how the file reads back.
bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view trimmedKey = TrimView(key);
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
    if (section.find(']') != std::string_view::npos) return false;
    return !trimmedKey.empty() && trimmedKey.front() != '[' &&
           trimmedKey.find('=') == std::string_view::npos;
}

}  // namespace

IniFile IniFile::Load(const std::string& path, CodePage legacy) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        IniFile empty;
        empty.legacy_ = legacy;
        return empty;
    }
    return Parse(*bytes, legacy);
}

IniFile IniFile::Parse(std::string_view bytes, CodePage legacy) {
    IniFile ini;
    ini.legacy_ = legacy;
    std::string text;
    if (StartsWith(bytes, "\xFF\xFE")) {
        ini.encoding_ = Encoding::Utf16Le;
        text = Iconv(bytes.substr(2), "UTF-8", "UTF-16LE", 2, "\xEF\xBF\xBD");
    } else if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        ini.encoding_ = Encoding::Utf8Bom;
        text = std::string(bytes.substr(3));
    } else if (IsValidUtf8(bytes)) {
        text = std::string(bytes);
    } else {
        ini.encoding_ = Encoding::Legacy;
        text = FromCodePage(bytes, legacy);
    }
    if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos)
        ini.newline_ = "\n";

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        // Every CR before the line end goes: one left behind would be
        // written back as a CR LF line end in a LF file.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        ini.lines_.push_back(std::move(line));
        pos = end + 1;
    }
    return ini;
}

std::optional<IniFile::Range> IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i]);
        if (!name || !EqualsNoCase(*name, TrimView(section))) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !SectionName(lines_[end])) ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKeyLine(const Range& range, std::string_view key) const {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto kv = KeyValue(lines_[i]);
        if (kv && EqualsNoCase(kv->first, TrimView(key))) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) return std::nullopt;
    const auto line = FindKeyLine(*range, key);
    if (!line) return std::nullopt;
    return CutChars(Unquote(KeyValue(lines_[*line])->second), kMaxValueChars);
}

std::string IniFile::Get(std::string_view section, std::string_view key,
                         std::string_view fallback) const {
    auto value = Find(section, key);
    if (!value || value->empty()) return CutChars(fallback, kMaxValueChars);
    return *value;
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!CanStore(section, key, value)) {
        refusedSet_ = true;
        return false;
    }
    std::string line = std::string(TrimView(key)) + "=" + std::string(value);
    const auto range = FindSection(section);
    if (!range) {
        lines_.push_back("[" + std::string(TrimView(section)) + "]");
        lines_.push_back(std::move(line));
        return true;
    }
    if (const auto existing = FindKeyLine(*range, key)) {
        lines_[*existing] = std::move(line);
        return true;
    }
    // New keys go after the section's last non-blank line.
    std::size_t at = range->end;
    while (at > range->header + 1 && TrimView(lines_[at - 1]).empty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    return true;
}

void IniFile::DeleteSection(std::string_view section) {
    while (const auto range = FindSection(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    }
}

std::string IniFile::Serialize() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += newline_;
    }
    switch (encoding_) {
        case Encoding::Utf8:
            return text;
        case Encoding::Utf8Bom:
            return "\xEF\xBB\xBF" + text;
        case Encoding::Legacy:
            return ToCodePage(text, legacy_);
        case Encoding::Utf16Le:
            return "\xFF\xFE" + Iconv(text, "UTF-16LE", "UTF-8", 1, "\xFD\xFF");
    }
    return text;
}

WriteResult IniFile::Save(const std::string& path, FileAccess access) const {
    if (refusedSet_) return {false, EINVAL, WriteFailure::Io, DirectoryOf(path)};
    return WriteFileAtomically(path, Serialize(), access);
}

}  // namespace rvq
