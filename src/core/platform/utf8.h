#pragma once

#include <string>
#include <string_view>

namespace rvq {

// Code points of UTF-8 text. A byte that does not start a well-formed
// sequence becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);

// UTF-8 of code points; surrogates and values past U+10FFFF become U+FFFD.
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t cp);

// Length of the well-formed UTF-8 sequence starting at `i`; 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

}  // namespace rvq
