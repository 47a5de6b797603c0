#include "core/builders/basic_checks.h"

#include <optional>

#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq::basic {

namespace {

constexpr BasicLimits kMainLimits{1000,  500,   1000,  10000, 512,   50,    0x33300, 22002,
                                  22004, 22006, 22009, 22011, 22016, 22018, 22020,   22021};
constexpr BasicLimits kSystemLimits{200,   100,   200,   2000,  256,   50,    0xAE00, 22003,
                                    22005, 22007, 22010, 22012, 22017, 22019, 22020,  22022};

int DecimalValue(TextView token) { return ParseLeadingInt(AsciiPrefix(token)); }

// The statement a pass looks at: the first token, or the one after a
// leading line number. Nothing when the line has no statement.
std::optional<Token> Statement(TextView line) {
    Token token = NextToken(line);
    if (token.text.empty()) return std::nullopt;
    if (StartsWithDigit(token.text)) {
        token = NextToken(token.rest);
        if (token.text.empty()) return std::nullopt;
    }
    return token;
}

struct LoopWords {
    const char32_t* opening;
    const char32_t* closing;
    int openLimit;
    int openLimitError;
    int closeError;
    int unclosedError;
};

CheckResult PairLoops(const std::vector<Text>& lines, const LoopWords& words,
                      std::vector<LoopPair>& pairs) {
    pairs.clear();
    std::size_t current = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<Token> statement = Statement(lines[i]);
        if (!statement) return Passed();
        const int position = static_cast<int>(i);
        if (statement->text == words.opening) {
            pairs.push_back({position, 0});
            current = pairs.size() - 1;
            if (static_cast<int>(pairs.size()) > words.openLimit) {
                return Failed(words.openLimitError);
            }
        } else if (statement->text == words.closing) {
            if (pairs.empty()) return Failed(words.closeError);
            pairs[current].close = position;
            // The innermost loop still open takes the next closing statement.
            for (std::size_t k = pairs.size(); k-- > 0;) {
                if (pairs[k].close == 0) {
                    current = k;
                    break;
                }
            }
        }
    }
    for (const LoopPair& pair : pairs) {
        if (pair.close == 0) return Failed(words.unclosedError, pair.open + 1);
    }
    return Passed();
}

}  // namespace

const BasicLimits& LimitsFor(BasicSlot slot) {
    return slot == BasicSlot::Main ? kMainLimits : kSystemLimits;
}

std::string BasicErrorText(const Strings& strings, const BasicError& error) {
    const std::string& text = strings.Get(error.id);
    if (text.find("%d") == std::string::npos) return text;
    return FormatRuntime(text, error.position);
}

CheckResult CheckEmptyLines(const std::vector<Text>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        // A line of only spaces and tabs is as empty as a line of nothing:
        // passing it would give a code line without a line-table entry and
        // shift every later jump target.
        const Token first = NextToken(lines[i]);
        if (first.text.empty()) return Failed(kLinefeedError, position);
        if (StartsWithDigit(first.text) && NextToken(first.rest).text.empty()) {
            return Failed(kLinefeedError, position);
        }
    }
    return Passed();
}

CheckResult CollectLabels(const std::vector<Text>& lines, BasicSlot slot, BasicTables& tables) {
    const BasicLimits& limits = LimitsFor(slot);
    tables.lineNumbers.clear();
    tables.labels.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        Token token = NextToken(lines[i]);
        if (token.text.empty()) return Passed();
        if (StartsWithDigit(token.text)) {
            tables.lineNumbers.push_back({DecimalValue(token.text), position});
            token = NextToken(token.rest);
            if (token.text.empty()) return Passed();
        }
        if (token.text != U"*") continue;
        const LabelName label = ReadLabelName(token.rest);
        if (!label.found || label.name.size() > 12) continue;
        tables.labels.push_back({label.name, position});
        if (static_cast<int>(tables.labels.size()) > limits.labels) {
            return Failed(limits.labelError);
        }
    }
    return Passed();
}

CheckResult PairWhileWend(const std::vector<Text>& lines, BasicSlot slot, BasicTables& tables) {
    const BasicLimits& limits = LimitsFor(slot);
    const LoopWords words{U"WHILE",          U"WEND",          limits.whileStatements,
                          limits.whileError, limits.wendError, kWhileWendError};
    return PairLoops(lines, words, tables.whilePairs);
}

CheckResult PairForNext(const std::vector<Text>& lines, BasicSlot slot, BasicTables& tables) {
    const BasicLimits& limits = LimitsFor(slot);
    const LoopWords words{U"FOR",          U"NEXT",          limits.forStatements,
                          limits.forError, limits.nextError, kForNextError};
    return PairLoops(lines, words, tables.forPairs);
}

CheckResult CheckLineLimits(BasicSlot slot, std::size_t lineCount, std::size_t variableCount,
                            std::size_t arrayCount) {
    const BasicLimits& limits = LimitsFor(slot);
    if (lineCount > static_cast<std::size_t>(limits.lines)) return Failed(limits.lineError);
    if (variableCount > static_cast<std::size_t>(limits.variables)) {
        return Failed(limits.variableError);
    }
    if (arrayCount > static_cast<std::size_t>(limits.arrays)) return Failed(limits.arrayError);
    return Passed();
}

JumpTarget ResolveJumpTarget(TextView token, TextView rest, const BasicTables& tables,
                             int position) {
    JumpTarget target;
    target.rest = rest;
    target.result = Failed(kLabelOrLineNumberError, position);
    std::optional<int> found;
    if (token == U"*") {
        const LabelName label = ReadLabelName(rest);
        if (!label.found || !label.valid || label.name.size() > 12) return target;
        for (const LabelEntry& entry : tables.labels) {
            if (entry.name == label.name) {
                found = entry.position;
                break;
            }
        }
        target.rest = label.rest;
    } else if (StartsWithDigit(token)) {
        const int number = DecimalValue(token);
        for (const LineNumberEntry& entry : tables.lineNumbers) {
            if (entry.number == number) {
                found = entry.position;
                break;
            }
        }
    }
    if (!found) return target;
    const std::string digits = std::to_string(*found);
    target.text.assign(digits.begin(), digits.end());
    target.result = Passed();
    return target;
}

}  // namespace rvq::basic
