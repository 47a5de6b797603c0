#include "core/params/reply_decode.h"

#include <string>

#include "core/app/text.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "core/params/value_codecs.h"

namespace rvq::params {

namespace {

// The printer never reports a password; a read shows this instead.
constexpr std::string_view kHiddenPassword = "5813";

bool IsPasswordItem(const std::string& name) {
    return name == "NewPassword" || name == "RFID_NewPassword" || name == "OldPassword" ||
           name == "RFID_CurrentPassword";
}

// "Authentication-1".."Authentication-4": the column of the split code, or -1.
int AuthenticationColumn(const std::string& name) {
    constexpr std::string_view kPrefix = "Authentication";
    if (!StartsWith(name, kPrefix) || name.size() != kPrefix.size() + 2) return -1;
    const char digit = name.back();
    return digit >= '1' && digit <= '4' ? digit - '1' : -1;
}

// The field in the form LabelForCode understands.
std::string NormaliseField(ParamItem& item, std::string field, DecodeMode mode) {
    const bool sentAsHex = (item.flag & item_flag::kTextAsHex) != 0;
    if (item.name == "DHCPClientID") {
        field = StripTrailingFF(field);
        if (!sentAsHex) item.textValue = StripTrailingFF(item.textValue);
    }
    if ((item.name == "DHCPClientID" || StartsWith(item.name, "WEP_KeyData")) && sentAsHex) {
        field = HexToText(field);
        item.flag &= ~item_flag::kTextAsHex;
    }
    if (IsPasswordItem(item.name)) {
        field =
            mode == DecodeMode::Compare ? UnscramblePassword(field) : std::string(kHiddenPassword);
    }
    if (item.name == "PreSharedKey" && field.empty()) field = item.textDefault;
    if (item.name == "WEPDefaultKey")
        field = std::to_string(static_cast<long long>(ParseLeadingInt(field)) + 1);
    if (const int column = AuthenticationColumn(item.name); column >= 0) {
        field = std::to_string(
            SplitAuthentication(ParseLeadingInt(field))[static_cast<std::size_t>(column)]);
    }
    if (item.name == "LCDLanguage") field = std::to_string(ParseLeadingHex(field));
    return field;
}

// Whether what the printer reports is the value the item holds. A list
// item holds a label in either language (a settings file gives English
// ones whatever is shown), so the entries are compared, not their texts;
// addresses are compared as their four numbers.
bool HoldsReadValue(const ParamItem& item) {
    if (IsList(item.kind)) {
        const auto held = MatchingEntry(item);
        const auto reported = EntryLabelled(item, item.textRead);
        if (held && reported) return *held == *reported;
    }
    if (item.kind == kind::kIpAddress)
        return LabelForCode(item, item.textValue, ShownLanguage::English) == item.textRead;
    return item.textRead == item.textValue;
}

}  // namespace

bool DecodeReplyValue(ParamItem& item, std::string_view field, DecodeMode mode,
                      ShownLanguage language) {
    if (HoldsNumber(item.kind) || item.kind == kind::kReadOnly) {
        item.numRead = ParseLeadingInt(field);
        return mode == DecodeMode::Read || item.numRead == item.numValue;
    }
    const std::string value = NormaliseField(item, std::string(field), mode);
    item.textRead = item.name == "RFID_TAG_Type" ? LabelForCodeText(item, value, language)
                                                 : LabelForCode(item, value, language);
    return mode == DecodeMode::Read || HoldsReadValue(item);
}

}  // namespace rvq::params
