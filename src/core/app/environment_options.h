#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/tool_settings.h"

#include "core/app/string_ids.h"

namespace rvq {

class Strings;

inline constexpr int kTimeoutMin = 1;
inline constexpr int kTimeoutMax = 600;
inline constexpr int kTimeoutDefault = 20;

// A password is at most this many characters in every dialog.
inline constexpr int kPasswordMaxLength = 16;

// Language list position: 0 English, 1 Japanese.
int LanguageIndex(const std::string& language);
std::string LanguageCode(int index);

// The control code list (strings 570 to 573).
std::vector<std::string> ControlCodeEntries(const Strings& strings);
// The text the list shows for a stored mode name: "AUTO" and "Manual" by
// name, otherwise the stored name itself.
std::string ControlCodeEntryFor(const std::string& storedType, const Strings& strings);
// The code fields can be edited only for "Manual".
bool CodeFieldsEditable(const std::string& entry, const Strings& strings);

// "HEX(1B)" as a code field shows a byte, and back (hexadecimal digits
// between the parentheses; none reads as 0).
std::string FormatCodeField(unsigned char code);
unsigned char ParseCodeField(std::string_view text);

// Which code field gets the focus when two codes are equal.
enum class CodeField { Code1, Code2, Code3 };
struct CodeCheck {
    int messageId = 0;  // 1017 when two codes are equal
    CodeField focus = CodeField::Code1;
};
CodeCheck CheckControlCodes(const ControlCodes& codes);

// The time-out field when it loses the focus: 1 to 600, empty gives 20.
int ClampTimeout(std::string_view text);

// Stores the dialog's control code choice: the mode name ("AUTO", "Manual"
// or the entry text) and the codes that go with it.
void StoreControlCodes(ToolSettings& settings, const std::string& entry, const ControlCodes& typed,
                       const Strings& strings);

// 0 when the change may be made, else 1008 (old password wrong, compared
// exactly) or 1009 (confirmation differs).
int CheckPasswordChange(const std::string& stored, const std::string& oldPassword,
                        const std::string& newPassword, const std::string& confirmation);

// The login passes when nothing is stored or the entry equals it exactly.
bool LoginPasses(const std::string& stored, const std::string& entered);

}  // namespace rvq
