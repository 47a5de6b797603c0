#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/send_state.h"

namespace rvq::params {

// Param types of a set command (the `paramTypes` of a SetCommand).
namespace param_type {
inline constexpr int kLiteral = 0;           // the param text is the number
inline constexpr int kNumber = 1;            // the item's numeric value
inline constexpr int kText = 2;              // the item's command text (also 21, 25)
inline constexpr int kPasswordCommand = 3;   // the enable switch of a password command
inline constexpr int kNotSent = 4;           // also 18
inline constexpr int kPasswordText = 5;      // stashes a scrambled password for 3 and 24
inline constexpr int kSwitch = 6;            // 1 when the value is not 0
inline constexpr int kLessOne = 7;           // value - 1, at least 0
inline constexpr int kDate = 8;              // "%d,%d,%d" as three numbers
inline constexpr int kTime = 9;              // the same for a time
inline constexpr int kAddress = 10;          // "%d.%d.%d.%d" as four numbers
inline constexpr int kHexEntry = 11;         // whether the next hex text was typed as hex (also 22)
inline constexpr int kHexText = 12;          // text sent as hex unless typed as hex (also 23)
inline constexpr int kAuthentication = 13;   // one of four fields of one code
inline constexpr int kFile = 14;             // the file the item names, as a binary block
inline constexpr int kLengthText = 15;       // "%02d" length, then the text
inline constexpr int kNonNegative = 16;      // the value, or the command is skipped
inline constexpr int kPacFile = 17;          // a file, only when "PACFileDelete" is -2
inline constexpr int kManualCode = 19;       // text, only when "ControlCode" is manual
inline constexpr int kPaddedText = 20;       // text, "000000000000" when empty
inline constexpr int kTextAndPassword = 24;  // text, then the new or other password
inline constexpr int kLast = 25;
}  // namespace param_type

// Types the collector acts on; any other type marks the command as not sent.
inline bool IsKnownParamType(int type) { return type >= 0 && type <= param_type::kLast; }

enum class ArgsOutcome : int {
    Binary = 0,       // one block loaded: send it as a binary upload
    Numbers = 1,      // build from the value formats
    Texts = 2,        // build from the argument formats
    Skip = -1,        // send nothing; counts as success
    FileFailed = -2,  // a file named by an item could not be read
};

struct CommandArgs {
    ArgsOutcome outcome = ArgsOutcome::Numbers;
    std::vector<std::uint32_t> numbers;
    std::vector<std::string> texts;
    std::vector<std::string> blocks;  // file contents; each block's size is also in `numbers`
    bool controlCodeAuto = false;     // the command sets "ControlCode" to automatic
};

// Turns one set command's params into arguments. The items it touches are
// changed in place (the hex-sent flag, the stored passwords after a
// password change, a per-printer item's read text in a Multi-LAN run), so
// a caller sharing the model holds its lock around this call. A param
// naming no item of the model is treated as an item not to be sent.
CommandArgs CollectCommandArgs(const SetCommand& command, PrinterModel& model,
                               const SendContext& context);

}  // namespace rvq::params
