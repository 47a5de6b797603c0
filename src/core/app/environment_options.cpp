#include "core/app/environment_options.h"

#include "core/app/combo_match.h"
#include "core/app/field_rules.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

namespace {

constexpr const char* kModeAuto = "AUTO";
constexpr const char* kModeManual = "Manual";

}  // namespace

int LanguageIndex(const std::string& language) { return language == "JPN" ? 1 : 0; }

std::string LanguageCode(int index) { return index == 1 ? "JPN" : "ENG"; }

std::vector<std::string> ControlCodeEntries(const Strings& strings) {
    return StringRun(strings, sid::kControlCodeAuto, sid::kControlCodeManual);
}

std::string ControlCodeEntryFor(const std::string& storedType, const Strings& strings) {
    if (storedType == kModeAuto) return strings.Get(sid::kControlCodeAuto);
    if (storedType == kModeManual) return strings.Get(sid::kControlCodeManual);
    return storedType;
}

bool CodeFieldsEditable(const std::string& entry, const Strings& strings) {
    return entry == strings.Get(sid::kControlCodeManual);
}

std::string FormatCodeField(unsigned char code) {
    return Format("HEX(%02X)", static_cast<unsigned>(code));
}

unsigned char ParseCodeField(std::string_view text) {
    const std::size_t open = text.find('(');
    const std::string_view digits = open == std::string_view::npos ? text : text.substr(open + 1);
    return static_cast<unsigned char>(ParseLeadingHex(digits) & 0xFFu);
}

CodeCheck CheckControlCodes(const ControlCodes& codes) {
    CodeCheck check;
    if (ControlCodesDiffer(codes)) return check;
    check.messageId = sid::kMsgEqualControlCodes;
    // Only codes 2 and 3 equal: the field to correct is Code 2.
    if (codes.code1 != codes.code2 && codes.code1 != codes.code3) check.focus = CodeField::Code2;
    return check;
}

int ClampTimeout(std::string_view text) {
    return ClampNumberText(text, kTimeoutMin, kTimeoutMax, kTimeoutDefault);
}

void StoreControlCodes(ToolSettings& settings, const std::string& entry, const ControlCodes& typed,
                       const Strings& strings) {
    if (entry == strings.Get(sid::kControlCodeAuto)) {
        settings.controlCodeType = kModeAuto;
        settings.controlCodes = ControlCodes{0x1B, 0x0A, 0x00};
    } else if (entry == strings.Get(sid::kControlCodeEscLfNul)) {
        settings.controlCodeType = entry;
        settings.controlCodes = ControlCodes{0x1B, 0x0A, 0x00};
    } else if (entry == strings.Get(sid::kControlCodeBraces)) {
        settings.controlCodeType = entry;
        settings.controlCodes = ControlCodes{0x7B, 0x7C, 0x7D};
    } else if (entry == strings.Get(sid::kControlCodeManual)) {
        settings.controlCodeType = kModeManual;
        settings.controlCodes = typed;
    } else {
        // A mode name the list does not know (from a hand-edited file) is
        // kept with the codes its fields hold.
        settings.controlCodeType = entry;
        settings.controlCodes = typed;
    }
}

int CheckPasswordChange(const std::string& stored, const std::string& oldPassword,
                        const std::string& newPassword, const std::string& confirmation) {
    if (oldPassword != stored) return sid::kMsgWrongOldPassword;
    if (newPassword != confirmation) return sid::kMsgPasswordMismatch;
    return 0;
}

bool LoginPasses(const std::string& stored, const std::string& entered) {
    return stored.empty() || entered == stored;
}

}  // namespace rvq
