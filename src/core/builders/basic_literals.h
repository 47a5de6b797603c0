#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/builders/basic_text.h"

namespace rvq::basic {

using Bytes = std::vector<std::uint8_t>;

// 0x01, the value as a big-endian IEEE single, four zero bytes.
void AppendReal(Bytes& out, double value);

// A number token: with a "." it is a real; otherwise its leading digits
// give an integer, written in the smallest form that holds it.
void AppendNumber(Bytes& out, TextView token);

// "#n": 0x14 and the value of the one digit after "#" (0 without one).
void AppendFileNumber(Bytes& out, TextView token);

// "&H..." and "&O...": 0x03 and the low 16 bits of the value, high first.
void AppendHexOrOctal(Bytes& out, TextView token);

// 0x00, the byte length, the bytes (already in the system code page).
void AppendCountedBytes(Bytes& out, std::string_view bytes);

// The text of a string token without its first and last characters, the
// quotes. An unclosed string runs to the end of the line and loses its
// last character all the same.
TextView StringLiteralText(TextView token);

bool IsHexOrOctalLiteral(TextView token);

}  // namespace rvq::basic
