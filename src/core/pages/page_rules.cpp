#include "core/pages/page_rules.h"

#include <algorithm>

#include "core/app/text.h"
#include "core/params/item_kind.h"
#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {
constexpr int kClientIdHexLength = 128;
constexpr int kClientIdTextLength = 64;
}  // namespace

std::optional<std::string> SettleHexByte(const ParamItem& item, std::string_view digits) {
    const int value = static_cast<int>(ParseLeadingHex(digits));
    const int settled = std::clamp(value, item.minValue, std::max(item.minValue, item.maxValue));
    if (settled == value) return std::nullopt;
    return Format("%02X", static_cast<unsigned>(settled));
}

std::string SettlePassword(const ParamItem& item, std::string_view typed, PasswordRule rule) {
    const std::size_t length = CharacterCount(typed);
    switch (rule) {
        case PasswordRule::MinLength:
            if (length < static_cast<std::size_t>(std::max(item.minLength, 0)))
                return item.textDefault;
            break;
        case PasswordRule::DefaultLength:
            if (length != CharacterCount(item.textDefault)) return item.textDefault;
            break;
        case PasswordRule::Free:
            break;
    }
    return std::string(typed);
}

int WepKeyLimit(int sizeIndex, bool hexEntry) {
    switch (sizeIndex) {
        case 1:
            return hexEntry ? 10 : 5;
        case 2:
            return hexEntry ? 26 : 13;
        default:
            return 0;
    }
}

ClientIdInput ClientIdInputFor(bool hexEntry, int itemKind) {
    if (hexEntry) return {kClientIdHexLength, true, kind::kHex};
    return {kClientIdTextLength, false, itemKind};
}

EntryRange OfferedAuthEntries(int list, const std::array<int, 3>& chosen, int count) {
    const auto [mode, method, detail] = chosen;
    auto range = [count](int first, int end) {
        return EntryRange{std::min(first, count), std::min(end, count)};
    };
    switch (list) {
        case 2:
            return mode == 0 ? range(0, 3) : range(0, count);
        case 3:
            if (mode == 0 || method == 0) return range(0, 1);
            if (method == 1 || method == 2) return range(0, 2);
            if (method == 3) return range(2, 4);
            return range(4, count);
        case 4:
            if (mode == 0 || method == 0 || detail == 3 || detail == 5) return range(0, 1);
            if (detail == 1) return range(0, 2);
            if (detail == 2 || detail == 4) return range(2, count);
            return range(0, count);
        default:
            return range(0, count);
    }
}

std::array<int, 3> DateParts(std::string_view text) {
    const std::vector<int> p = ParseIntList(text, ',', 3);
    return {p[0] >= 0 && p[0] <= 99 ? p[0] : 0, p[1] >= 1 && p[1] <= 12 ? p[1] : 1,
            p[2] >= 1 && p[2] <= 31 ? p[2] : 1};
}

std::array<int, 3> TimeParts(std::string_view text) {
    const std::vector<int> p = ParseIntList(text, ',', 3);
    return {p[0] >= 0 && p[0] <= 23 ? p[0] : 0, p[1] >= 0 && p[1] <= 59 ? p[1] : 0,
            p[2] >= 0 && p[2] <= 59 ? p[2] : 0};
}

std::string JoinParts(const std::array<int, 3>& parts) {
    return Format("%02d,%02d,%02d", parts[0], parts[1], parts[2]);
}

}  // namespace rvq::params
