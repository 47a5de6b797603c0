#pragma once

#include <string>
#include <string_view>

#include "core/platform/code_page.h"

namespace rvq::basic {

// BASIC sources are handled one character at a time, as the printer-side
// tools always did with wide strings, so a double-byte character can never
// be mistaken for a delimiter.
using Text = std::u32string;
using TextView = std::u32string_view;

Text DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(TextView text);

// Source bytes in the system code page to characters, and back.
Text FromSystemCodePage(std::string_view bytes, CodePage codePage);
std::string ToSystemCodePage(TextView text, CodePage codePage);

// Letters and digits for identifiers. Beyond ASCII every character counts
// as a letter except spaces and the punctuation and symbol blocks.
bool IsLetterOrDigit(char32_t c);
bool IsDigit(char32_t c);
bool IsUpperLetter(char32_t c);
char32_t ToUpper(char32_t c);
Text ToUpper(TextView text);

bool StartsWithDigit(TextView text);

// The ASCII characters of `text` up to the first other one; enough for the
// numeric parts of tokens.
std::string AsciiPrefix(TextView text);

}  // namespace rvq::basic
