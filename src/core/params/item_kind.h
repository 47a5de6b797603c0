#pragma once

namespace rvq::params {

// Item kind codes (the `kind` of a ParamItem) and what their bits mean.
namespace kind {
inline constexpr int kNumeric = 0x001;
inline constexpr int kNumPoint1 = 0x011;
inline constexpr int kSignNum = 0x101;
inline constexpr int kSignNumPoint1 = 0x111;
inline constexpr int kHex = 0x201;
inline constexpr int kHexPassword = 0x601;
inline constexpr int kHexByte = 0x1A00;
inline constexpr int kAlphNumeric = 3;
inline constexpr int kAscii = 4;
inline constexpr int kAlphNumSpace = 11;
inline constexpr int kList = 5;
inline constexpr int kIpAddress = 6;
inline constexpr int kDate = 7;
inline constexpr int kTime = 8;
inline constexpr int kFile = 9;
inline constexpr int kReadOnly = 10;
// Used only by input fields outside the parameter pages: letters, digits, '.'.
inline constexpr int kAlphNumDot = 0x2003;

inline constexpr int kClassMask = 0x0F;
inline constexpr int kDecimalsMask = 0xF0;
inline constexpr int kSigned = 0x100;
inline constexpr int kHexText = 0x200;
}  // namespace kind

// The item's value is a number (its text is only a mirror of it). Hex text
// shares the digit class but is text.
inline bool HoldsNumber(int itemKind) {
    return (itemKind & kind::kClassMask) == 1 && (itemKind & kind::kHexText) == 0;
}

// The number is held as ten times the shown value.
inline bool IsOneDecimal(int itemKind) { return (itemKind & kind::kDecimalsMask) != 0; }

inline bool IsList(int itemKind) { return itemKind == kind::kList; }

}  // namespace rvq::params
