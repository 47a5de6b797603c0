#pragma once

#include <string>
#include <string_view>

namespace rvq {

// The two code pages the printers and the stored files use: 1252 with the
// English interface, 932 (Shift-JIS) with the Japanese one. Inside the
// program text is UTF-8.
enum class CodePage { Western1252 = 1252, Japanese932 = 932 };

inline CodePage CodePageFor(bool japanese) {
    return japanese ? CodePage::Japanese932 : CodePage::Western1252;
}

// UTF-8 to the code page. A character the code page cannot hold becomes
// '?', as the printer-side tools always did; invalid UTF-8 bytes too.
std::string ToCodePage(std::string_view utf8, CodePage codePage);

// Code page bytes to UTF-8. Bytes without a mapping become U+FFFD, except
// the five unassigned bytes of 1252, which keep their C1 code point so
// that such text survives a round trip.
std::string FromCodePage(std::string_view bytes, CodePage codePage);

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace rvq
