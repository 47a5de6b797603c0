// Settings files (VQTool.INI, the machine store, list and information files
// written in the same form) come from disk and may be anything.
#include <string>

#include "core/app/ini_file.h"
#include "core/app/text.h"
#include "fuzz_check.h"

namespace {

// The input is a file, optionally followed by US-separated section, key and
// value to write into it.
struct Input {
    std::string_view file;
    std::string_view section, key, value;
    bool hasEdit = false;
};

Input Split(std::string_view bytes) {
    Input in;
    const std::size_t a = bytes.find('\x1f');
    in.file = bytes.substr(0, a);
    if (a == std::string_view::npos) return in;
    const std::size_t b = bytes.find('\x1f', a + 1);
    const std::size_t c = b == std::string_view::npos ? b : bytes.find('\x1f', b + 1);
    if (c == std::string_view::npos) return in;
    in.section = bytes.substr(a + 1, b - a - 1);
    in.key = bytes.substr(b + 1, c - b - 1);
    in.value = bytes.substr(c + 1);
    in.hasEdit = true;
    return in;
}

std::string ExpectedReadBack(std::string_view value) {
    std::string_view v = rvq::TrimView(value);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    std::size_t chars = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if ((static_cast<unsigned char>(v[i]) & 0xC0) == 0x80) continue;
        if (chars++ == rvq::IniFile::kMaxValueChars) return std::string(v.substr(0, i));
    }
    return std::string(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using rvq::IniFile;
    const Input in = Split(rvq::fuzz::Bytes(data, size));
    const auto codePage = size % 2 ? rvq::CodePage::Japanese932 : rvq::CodePage::Western1252;
    IniFile ini = IniFile::Parse(in.file, codePage);
    std::ignore = ini.Get("HEADER", "TITLE", "fallback");
    const std::string once = ini.Serialize();
    FUZZ_CHECK(IniFile::Parse(once, codePage).Serialize() == once);

    if (!in.hasEdit) return 0;
    // Text that is not UTF-8 in the program is not what Set is given.
    if (!rvq::IsValidUtf8(in.section) || !rvq::IsValidUtf8(in.key) || !rvq::IsValidUtf8(in.value)) {
        return 0;
    }
    if (!ini.Set(in.section, in.key, in.value)) {
        FUZZ_CHECK(!ini.Save("/nonexistent/never-written.ini"));
        return 0;
    }
    // What was stored reads back as stored, whatever the file held before;
    // a legacy code page may replace characters it cannot hold, so only
    // files kept in Unicode are compared.
    const std::string written = ini.Serialize();
    const IniFile again = IniFile::Parse(written, codePage);
    const bool unicode = rvq::IsValidUtf8(in.file) || rvq::StartsWith(in.file, "\xEF\xBB\xBF") ||
                         rvq::StartsWith(in.file, "\xFF\xFE");
    if (unicode) FUZZ_CHECK(again.Find(in.section, in.key) == ExpectedReadBack(in.value));
    return 0;
}
