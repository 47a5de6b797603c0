#include "core/platform/code_page.h"

#include <iconv.h>

#include <cerrno>

#include "core/platform/utf8.h"

namespace rvq {

namespace {

const char* IconvName(CodePage codePage) {
    return codePage == CodePage::Japanese932 ? "CP932" : "CP1252";
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const {
        // iconv_open reports failure as (iconv_t)-1.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        return cd_ != reinterpret_cast<iconv_t>(-1);
    }

    // Converts one unit; false when the input has no mapping.
    bool Convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buffer[64];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

bool IsUnassigned1252(unsigned char b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = Utf8SequenceLength(text, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string ToCodePage(std::string_view utf8, CodePage codePage) {
    std::string out;
    out.reserve(utf8.size());
    Converter conv(IconvName(codePage), "UTF-8");
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out += static_cast<char>(b0);
            ++i;
            continue;
        }
        const std::size_t len = Utf8SequenceLength(utf8, i);
        if (len == 0) {
            out += '?';
            ++i;
            continue;
        }
        const std::string_view unit = utf8.substr(i, len);
        i += len;
        // The unassigned 1252 bytes come back as themselves (see FromCodePage).
        if (codePage == CodePage::Western1252 && len == 2 && b0 == 0xC2) {
            const auto b1 = static_cast<unsigned char>(unit[1]);
            if (IsUnassigned1252(b1)) {
                out += static_cast<char>(b1);
                continue;
            }
        }
        std::string converted;
        if (conv.ok() && conv.Convert(unit, converted)) {
            out += converted;
        } else {
            out += '?';
        }
    }
    return out;
}

std::string FromCodePage(std::string_view bytes, CodePage codePage) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    Converter conv("UTF-8", IconvName(codePage));
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if (codePage == CodePage::Western1252 && IsUnassigned1252(b)) {
            AppendUtf8(out, b);
            ++i;
            continue;
        }
        std::size_t len = 1;
        // Shift-JIS lead bytes take a trail byte.
        if (codePage == CodePage::Japanese932 &&
            ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < bytes.size()) {
            len = 2;
        }
        std::string converted;
        if (conv.ok() && conv.Convert(bytes.substr(i, len), converted)) {
            out += converted;
            i += len;
        } else {
            AppendUtf8(out, 0xFFFD);
            ++i;
        }
    }
    return out;
}

}  // namespace rvq
