#pragma once

#include <string>
#include <string_view>

namespace rvq {

// Character filters applied to edit fields while the user types. Text is
// UTF-8; a filter drops whole characters, never parts of one.

// Digits only (port numbers, the time-out).
std::string KeepDigits(std::string_view text);
// Characters below 0x80 (host names).
std::string KeepAscii(std::string_view text);
// ASCII letters, digits and blanks (the USB serial number).
std::string KeepLettersDigitsBlanks(std::string_view text);
// Characters with codes up to 0xFF: a stored password keeps two hex digits
// per character, so anything above would not read back as typed.
std::string KeepPasswordCharacters(std::string_view text);

// The value a numeric field takes when it loses the focus: empty text gives
// `emptyValue`, a number below `min` gives `min`, above `max` gives `max`.
int ClampNumberText(std::string_view text, int min, int max, int emptyValue);

}  // namespace rvq
