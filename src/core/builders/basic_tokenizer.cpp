#include "core/builders/basic_tokenizer.h"

namespace rvq::basic {

namespace {

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

bool IsSingleCharToken(char32_t c) { return TextView(U",():;+-*/^\\").find(c) != TextView::npos; }

bool IsNameExtra(char32_t c) { return TextView(U".#&!%$_").find(c) != TextView::npos; }

// Ends an identifier without being recorded as its delimiter.
bool IsOperatorStop(char32_t c) { return TextView(U"+-*/^><\\='\"").find(c) != TextView::npos; }

bool IsDelimiterStop(char32_t c) { return TextView(U",();: \t\n").find(c) != TextView::npos; }

TextView SkipBlanks(TextView rest) {
    std::size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    return rest.substr(i);
}

Token Take(TextView rest, std::size_t length) {
    Token token;
    token.text = Text(rest.substr(0, length));
    token.rest = rest.substr(length);
    return token;
}

Token TakeRelational(TextView rest) {
    if (rest.size() >= 2) {
        const char32_t a = rest[0];
        const char32_t b = rest[1];
        const bool pair = (a == U'<' && (b == U'>' || b == U'=')) ||
                          (a == U'>' && (b == U'=' || b == U'<')) ||
                          (a == U'=' && (b == U'>' || b == U'<'));
        if (pair) return Take(rest, 2);
    }
    return Take(rest, 1);
}

Token TakeString(TextView rest) {
    const std::size_t close = rest.find(U'"', 1);
    return Take(rest, close == TextView::npos ? rest.size() : close + 1);
}

Token TakeIdentifier(TextView rest) {
    Token token;
    std::size_t i = 0;
    while (i < rest.size()) {
        const char32_t c = rest[i];
        if (IsLetterOrDigit(c) || IsNameExtra(c)) {
            ++i;
            continue;
        }
        if (IsDelimiterStop(c)) {
            token.delimiter = c;
            break;
        }
        if (IsOperatorStop(c)) break;
        ++i;  // any other character belongs to the token and ends it
        break;
    }
    if (i == 0) i = 1;  // a stray stop character still makes progress
    token.text = Text(rest.substr(0, i));
    token.rest = rest.substr(i);
    return token;
}

}  // namespace

Token NextToken(TextView rest) {
    rest = SkipBlanks(rest);
    if (rest.empty()) {
        Token token;
        token.endOfLine = true;
        token.rest = rest;
        return token;
    }
    const char32_t c = rest.front();
    if (IsSingleCharToken(c)) return Take(rest, 1);
    if (c == U'<' || c == U'>' || c == U'=') return TakeRelational(rest);
    if (c == U'\'') {
        Token token;
        token.text = U"REM";
        token.rest = rest.substr(rest.size());
        return token;
    }
    if (c == U'"') return TakeString(rest);
    return TakeIdentifier(rest);
}

LabelName ReadLabelName(TextView rest) {
    LabelName label;
    rest = SkipBlanks(rest);
    if (rest.empty()) {
        label.rest = rest;
        return label;
    }
    std::size_t length = 1;
    if (rest.front() != U'*') {
        length = 0;
        while (length < rest.size() && TextView(U" ,:\t").find(rest[length]) == TextView::npos) {
            ++length;
        }
    }
    label.found = length > 0;
    label.name = Text(rest.substr(0, length));
    label.rest = rest.substr(length);
    label.valid = label.found;
    for (char32_t ch : label.name) {
        if (ch != U'.' && ch != U'_' && !IsDigit(ch) && !IsUpperLetter(ch)) label.valid = false;
    }
    return label;
}

}  // namespace rvq::basic
