#include "core/app/machine_store.h"

#include <sys/stat.h>

#include "core/app/ini_file.h"
#include "core/app/text.h"

namespace rvq {

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kKey = "Password";
constexpr std::size_t kStoreValueLimit = 1023;  // the value buffer held 1024 bytes

// Code points of UTF-8 text; invalid bytes count as themselves.
std::u32string CodePoints(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        int len = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + static_cast<std::size_t>(len) > text.size()) {
            out += b0;
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? b0 : (b0 & (0x7F >> len));
        for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        out += cp;
        i += static_cast<std::size_t>(len);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string MachineStorePath(const std::string& iniPath) {
    return JoinPath(DirectoryOf(iniPath), "VQTool.machine");
}

std::string EncodeStoredPassword(const std::string& text) {
    std::string hex;
    for (char32_t cp : CodePoints(text)) hex += Format("%02X", static_cast<unsigned>(cp));
    for (char& c : hex) c = static_cast<char>(c + 19);
    return hex;
}

std::string DecodeStoredPassword(const std::string& stored) {
    const std::size_t even = stored.size() & ~static_cast<std::size_t>(1);
    std::string out;
    for (std::size_t i = 0; i < even; i += 2) {
        const int b = static_cast<unsigned char>(stored[i]);
        const int c = static_cast<unsigned char>(stored[i + 1]);
        const int code = 16 * b + c + (c < 77 ? 7 : 0) + (b < 77 ? 112 : 0) - 1258;
        // Text that was not written by the encoder can give any number;
        // keep it printable rather than producing broken UTF-8.
        AppendUtf8(out, code >= 0 ? static_cast<char32_t>(code) : 0xFFFD);
    }
    return out;
}

std::string LoadPassword(const std::string& storePath) {
    const IniFile store = IniFile::Load(storePath);
    std::string value = store.Find(kSection, kKey).value_or(std::string());
    if (value.size() > kStoreValueLimit) value.resize(kStoreValueLimit);
    return value.empty() ? std::string() : DecodeStoredPassword(value);
}

bool SavePassword(const std::string& storePath, const std::string& password) {
    // A store left readable by others (copied in, or written by an older
    // version) is made private before the new password goes in; the write
    // keeps the existing file's mode.
    struct stat st {};
    if (::lstat(storePath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0 &&
        ::chmod(storePath.c_str(), 0600) != 0) {
        return false;
    }
    IniFile store = IniFile::Load(storePath);
    store.Set(kSection, kKey, EncodeStoredPassword(password));
    return static_cast<bool>(store.Save(storePath, 0600));
}

}  // namespace rvq
