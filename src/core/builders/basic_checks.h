#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/builders/basic_text.h"
#include "core/builders/basic_tokenizer.h"

namespace rvq {
class Strings;
}

namespace rvq::basic {

// The two program slots of a printer; the numbers are the encoder's modes.
enum class BasicSlot { System = 0, Main = 1 };

struct BasicLimits {
    int labels;
    int whileStatements;
    int forStatements;
    int lines;
    int variables;
    int arrays;
    std::size_t maxCodeSize;
    int labelError;
    int whileError;
    int wendError;
    int forError;
    int nextError;
    int lineError;
    int variableError;
    int arrayError;
    int codeSizeError;
};

const BasicLimits& LimitsFor(BasicSlot slot);

// Ids of the encoder's error texts.
enum BasicErrorId : int {
    kEncodingFailure = 22000,
    kLinefeedError = 22001,
    kWhileWendError = 22008,
    kForNextError = 22013,
    kLabelOrLineNumberError = 22014,
    kEncodedLineLengthError = 22015,
};

struct BasicError {
    int id = 0;
    int position = 0;  // 1-based line position for the texts that show one
};

struct [[nodiscard]] CheckResult {
    bool ok = true;
    BasicError error;
    explicit operator bool() const { return ok; }
};

inline CheckResult Passed() { return {}; }
inline CheckResult Failed(int id, int position = 0) { return {false, {id, position}}; }

// The error text with its line position filled in.
std::string BasicErrorText(const Strings& strings, const BasicError& error);

struct LineNumberEntry {
    int number = 0;
    int position = 0;  // 1-based
};

struct LabelEntry {
    Text name;
    int position = 0;  // 1-based
};

// 0-based line positions of a loop's opening and closing statements; a
// closing position of 0 means the loop is still open.
struct LoopPair {
    int open = 0;
    int close = 0;
};

struct BasicTables {
    std::vector<LineNumberEntry> lineNumbers;  // duplicates kept; the first wins
    std::vector<LabelEntry> labels;
    std::vector<LoopPair> whilePairs;
    std::vector<LoopPair> forPairs;
};

// The structure passes, run in this order before a program is encoded.
CheckResult CheckEmptyLines(const std::vector<Text>& lines);
CheckResult CollectLabels(const std::vector<Text>& lines, BasicSlot slot, BasicTables& tables);
CheckResult PairWhileWend(const std::vector<Text>& lines, BasicSlot slot, BasicTables& tables);
CheckResult PairForNext(const std::vector<Text>& lines, BasicSlot slot, BasicTables& tables);

// The limits checked after every encoded line.
CheckResult CheckLineLimits(BasicSlot slot, std::size_t lineCount, std::size_t variableCount,
                            std::size_t arrayCount);

struct JumpTarget {
    CheckResult result;
    Text text;      // the target's 1-based line position as decimal text
    TextView rest;  // the line after the target
};

// Resolves the token after GOSUB, ELSE, GOTO, THEN or RESUME: "*" with a
// label name, or a line number. `position` is the current line's position.
JumpTarget ResolveJumpTarget(TextView token, TextView rest, const BasicTables& tables,
                             int position);

}  // namespace rvq::basic
