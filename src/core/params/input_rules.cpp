#include "core/params/input_rules.h"

#include "core/params/item_kind.h"
#include "core/params/item_number.h"
#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsHexDigit(char32_t c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Numbers: the decision depends on what was kept so far.
class NumberFilter {
public:
    explicit NumberFilter(int itemKind)
        : signAllowed_((itemKind & kind::kSigned) != 0),
          places_((itemKind & kind::kDecimalsMask) >> 4) {}

    bool Keep(char32_t c) {
        const bool first = kept_ == 0;
        bool keep = false;
        if (IsDigit(c)) {
            keep = !seenPoint_ || decimals_ < places_;
            if (keep && seenPoint_) ++decimals_;
        } else if (c == '+' || c == '-') {
            keep = signAllowed_ && first;
        } else if (c == '.') {
            keep = places_ > 0 && !seenPoint_;
            seenPoint_ = seenPoint_ || keep;
        }
        if (keep) ++kept_;
        return keep;
    }

private:
    bool signAllowed_;
    int places_;
    int kept_ = 0;
    bool seenPoint_ = false;
    int decimals_ = 0;
};

bool KeepByClass(int itemKind, char32_t c) {
    switch (itemKind & kind::kClassMask) {
        case 2:
            return IsLetter(c);
        case 3:
            return IsLetter(c) || IsDigit(c) || (itemKind == kind::kAlphNumDot && c == '.');
        case 4:
            return c < 0x80;
        case 11:
            return IsLetter(c) || IsDigit(c) || c == ' ';
        default:
            return true;
    }
}

int Clamp(const ParamItem& item, long long value) {
    if (value < item.minValue) return item.minValue;
    if (value > item.maxValue) return item.maxValue;
    return static_cast<int>(value);
}

}  // namespace

std::string FilterInput(int itemKind, std::string_view text) {
    if (text.empty()) return std::string();
    std::vector<char32_t> kept;
    const bool hex = itemKind == kind::kHex || itemKind == kind::kHexPassword;
    const bool number = !hex && (itemKind & kind::kClassMask) == 1;
    NumberFilter numberFilter(itemKind);
    for (char32_t c : DecodeUtf8(text)) {
        const bool keep = hex      ? IsHexDigit(c)
                          : number ? numberFilter.Keep(c)
                                   : KeepByClass(itemKind, c);
        if (keep) kept.push_back(c);
    }
    return EncodeUtf8(kept);
}

std::string ClampOnLeave(const ParamItem& item, std::string_view text) {
    if (text.empty()) return NumberToShownText(item.kind, item.numDefault);
    const int value = NumberFromText(item.kind, text);
    const int clamped = Clamp(item, value);
    return clamped == value ? std::string(text) : NumberToShownText(item.kind, clamped);
}

SpinResult SpinStep(const ParamItem& item, std::string_view text, int step) {
    const int value = Clamp(item, static_cast<long long>(NumberFromText(item.kind, text)) + step);
    return {value, NumberToShownText(item.kind, value)};
}

}  // namespace rvq::params
