#include "core/builders/basic_line_encoder.h"

#include <algorithm>

#include "core/app/text.h"

namespace rvq::basic {

namespace {

constexpr std::size_t kMaxEncodedLine = 256;

enum class Step { Next, EndLine, Fail };

bool EndsWith(TextView text, char32_t c) { return !text.empty() && text.back() == c; }

bool IsExponentStart(TextView text) {
    return !text.empty() && (text.front() == U'+' || text.front() == U'-');
}

std::size_t IndexOf(std::vector<Text>& names, const Text& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) return static_cast<std::size_t>(it - names.begin());
    names.push_back(name);
    return names.size() - 1;
}

class LineEncoder {
public:
    LineEncoder(TextView line, int index, LineContext& context)
        : source_(line),
          index_(index),
          position_(index + 1),
          errorLine_(context.linesCounted + 1),
          context_(context) {}

    EncodedLine Run();

private:
    Step Encode(Token& token);
    Step EncodeNumber(Token& token);
    Step EncodeStatement(const Text& upper, std::uint8_t code, Token& token);
    Step AppendPartner(const Text& upper);
    void EncodeName(const Text& upper, char32_t delimiter);
    Step Fail(int id, int position = 0) {
        out_.result = Failed(id, position);
        return Step::Fail;
    }
    void Push(std::uint8_t byte) { out_.bytes.push_back(byte); }

    TextView source_;
    int index_;
    int position_;   // 1-based place in the file
    int errorLine_;  // how errors name this line
    LineContext& context_;
    bool jumpTarget_ = false;
    bool open_ = false;
    bool resume_ = false;
    EncodedLine out_;
};

EncodedLine LineEncoder::Run() {
    out_.bytes.push_back(0);  // length, set when the line is finished
    Token token = NextToken(source_);
    bool first = true;
    while (true) {
        if (token.text == U":") open_ = false;
        if (resume_ && (token.endOfLine || token.text == U":" || token.text == U"0")) {
            Push(0x14);
            Push(0x00);
            resume_ = false;
            jumpTarget_ = false;
        }
        if (token.text == U"REM" && out_.bytes.size() > 1) break;
        if (token.endOfLine) break;
        if (first) {
            first = false;
            int number = position_;
            if (StartsWithDigit(token.text)) {
                number = ParseLeadingInt(AsciiPrefix(token.text)) & 0xFFFF;
                token = NextToken(token.rest);
                if (number == 0) break;
            }
            out_.hasEntry = true;
            out_.lineNumber = static_cast<std::uint16_t>(number);
            if (token.endOfLine) break;
            if (token.text == U"*") token.text = U"REM";  // a label definition
        }
        if (jumpTarget_) {
            jumpTarget_ = false;
            if (token.text == U"*" || StartsWithDigit(token.text)) {
                JumpTarget target =
                    ResolveJumpTarget(token.text, token.rest, context_.tables, errorLine_);
                if (!target.result) {
                    out_.result = target.result;
                    return std::move(out_);
                }
                token.text = std::move(target.text);
                token.rest = target.rest;
            }
        }
        const Step step = Encode(token);
        if (step == Step::Fail) return std::move(out_);
        if (step == Step::EndLine) break;
        token = NextToken(token.rest);
    }
    if (out_.bytes.size() > kMaxEncodedLine) {
        out_.result = Failed(kEncodedLineLengthError, errorLine_);
        return std::move(out_);
    }
    out_.bytes[0] = static_cast<std::uint8_t>(out_.bytes.size() - 1);
    return std::move(out_);
}

Step LineEncoder::Encode(Token& token) {
    const Text& text = token.text;
    if (text.front() == U'"') {
        AppendCountedBytes(out_.bytes,
                           ToSystemCodePage(StringLiteralText(text), context_.codePage));
        return Step::Next;
    }
    if (text.front() == U'.' || IsDigit(text.front())) return EncodeNumber(token);
    if (text.front() == U'#') {
        AppendFileNumber(out_.bytes, text);
        return Step::Next;
    }
    if (IsHexOrOctalLiteral(text)) {
        AppendHexOrOctal(out_.bytes, text);
        return Step::Next;
    }
    const Text upper = ToUpper(text);
    if (const auto code = context_.keywords.Statement(upper)) {
        return EncodeStatement(upper, *code, token);
    }
    if (upper == U"RESUME") {
        jumpTarget_ = true;
        resume_ = true;
    } else if (const auto function = context_.keywords.Function(upper)) {
        Push(*function);
        if (upper == U"ERR" || upper == U"ERL" || upper == U"ENGERR$" || upper == U"PRTSTS$" ||
            upper == U"INKEY$") {
            Push(0x02);
            Push(0x00);
        }
        return Step::Next;
    } else if (const auto op = context_.keywords.Operator(upper)) {
        Push(*op);
        return Step::Next;
    }
    EncodeName(upper, token.delimiter);
    return Step::Next;
}

Step LineEncoder::EncodeNumber(Token& token) {
    // The tokenizer splits "1.5E+3" at the sign; join the exponent again.
    if (EndsWith(token.text, U'E') || EndsWith(token.text, U'e')) {
        Token next = NextToken(token.rest);
        token.text += next.text;
        token.rest = next.rest;
        if (IsExponentStart(next.text)) {
            next = NextToken(token.rest);
            token.text += next.text;
            token.rest = next.rest;
        }
    }
    AppendNumber(out_.bytes, token.text);
    return Step::Next;
}

Step LineEncoder::EncodeStatement(const Text& upper, std::uint8_t code, Token& token) {
    Push(code);
    if (upper == U"GOSUB" || upper == U"ELSE" || upper == U"GOTO" || upper == U"THEN") {
        jumpTarget_ = true;
    } else if (upper == U"OPEN") {
        open_ = true;
    } else if (upper == U"FOR" || upper == U"NEXT" || upper == U"WHILE" || upper == U"WEND") {
        return AppendPartner(upper);
    } else if (upper == U"REM") {
        return Step::EndLine;
    } else if (upper == U"DATA") {
        AppendCountedBytes(out_.bytes, ToSystemCodePage(token.rest, context_.codePage));
        token.rest = token.rest.substr(token.rest.size());
        return Step::EndLine;
    }
    return Step::Next;
}

// The line position of a loop statement's partner, as value / 100 and
// value % 100. The FOR of OPEN ... FOR and the NEXT of RESUME NEXT have none.
Step LineEncoder::AppendPartner(const Text& upper) {
    const bool isFor = upper == U"FOR" || upper == U"NEXT";
    if ((upper == U"FOR" && open_) || (upper == U"NEXT" && resume_)) return Step::Next;
    const bool opening = upper == U"FOR" || upper == U"WHILE";
    const auto& pairs = isFor ? context_.tables.forPairs : context_.tables.whilePairs;
    const auto pair = std::find_if(pairs.begin(), pairs.end(), [&](const LoopPair& p) {
        return opening ? p.open == index_ : (p.close != 0 && p.close == index_);
    });
    if (pair == pairs.end()) return Fail(isFor ? kForNextError : kWhileWendError, errorLine_);
    int value = 0;
    if (opening) {
        value = pair->close + 1;
    } else {
        value = isFor ? pair->open + 1 : pair->open;  // WEND points at its WHILE, 0-based
    }
    Push(static_cast<std::uint8_t>(value / 100));
    Push(static_cast<std::uint8_t>(value % 100));
    return Step::Next;
}

void LineEncoder::EncodeName(const Text& upper, char32_t delimiter) {
    const bool isString = EndsWith(upper, U'$');
    if (delimiter == U'(') {
        static const Text kSystemData = U"SDATA";
        if (upper.size() == 7 && upper.starts_with(kSystemData) && upper[5] >= U'1' &&
            upper[5] <= U'4' && isString) {
            Push(0x1C);
            Push(static_cast<std::uint8_t>(upper[5] - U'0'));
            return;
        }
        const std::size_t index = IndexOf(context_.arrays, upper);
        Push(isString ? 0x0D : 0x0E);
        Push(static_cast<std::uint8_t>(index & 0xFF));
        return;
    }
    const std::size_t index = IndexOf(context_.variables, upper);
    std::uint8_t base = 0x07;
    if (upper == U"TIMER") {
        base = 0x18;
    } else if (isString) {
        base = 0x04;
    } else if (EndsWith(upper, U'%')) {
        base = 0x0A;
    }
    Push(static_cast<std::uint8_t>(base + std::min<std::size_t>(index / 256, 2)));
    Push(static_cast<std::uint8_t>(index & 0xFF));
}

}  // namespace

EncodedLine EncodeLine(TextView line, int index, LineContext& context) {
    LineEncoder encoder(line, index, context);
    return encoder.Run();
}

}  // namespace rvq::basic
