#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rvq::params {

// The characters of a UTF-8 text as code points. A byte that does not start
// a well-formed sequence is read as the character of the same value, the
// way Latin-1 would read it, so no character is dropped.
std::vector<char32_t> DecodeUtf8(std::string_view text);

// One code point as UTF-8; a value that is no character becomes '?'.
std::string EncodeUtf8(char32_t codePoint);
std::string EncodeUtf8(const std::vector<char32_t>& codePoints);

// The number of characters (not bytes) of a UTF-8 text.
std::size_t CharacterCount(std::string_view text);

}  // namespace rvq::params
