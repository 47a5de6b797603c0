#include "core/builders/basic_tokenizer.h"

#include <gtest/gtest.h>

#include "basic_test_support.h"

namespace rvq::basic {
namespace {

using test::T;

std::string Tokens(const std::string& line) {
    std::string joined;
    const Text text = T(line);
    Token token = NextToken(text);
    while (!token.endOfLine) {
        if (!joined.empty()) joined += "|";
        joined += EncodeUtf8(token.text);
        token = NextToken(token.rest);
    }
    return joined;
}

TEST(BasicTokenizer, SplitsLinesIntoTokens) {
    const struct {
        const char* line;
        const char* tokens;
    } cases[] = {
        {"PRINT A$;B", "PRINT|A$|;|B"},
        {"  \tIF A<>B THEN 10", "IF|A|<>|B|THEN|10"},
        {"X><Y=>Z=<W<=V>=U", "X|><|Y|=>|Z|=<|W|<=|V|>=|U"},
        {"A<B>C=D", "A|<|B|>|C|=|D"},
        {"A=-1*(B/C^2)\\D+E", "A|=|-|1|*|(|B|/|C|^|2|)|\\|D|+|E"},
        {"PRINT \"A B:C\" 'rest \"x\"", "PRINT|\"A B:C\"|REM"},
        {"PRINT \"open to the end", "PRINT|\"open to the end"},
        {"X=1.5E+3", "X|=|1.5E|+|3"},
        {"OPEN \"F\" FOR INPUT AS #1", "OPEN|\"F\"|FOR|INPUT|AS|#1"},
        {"NAME_1.X!=&HFF%", "NAME_1.X!|=|&HFF%"},
        {"A?B", "A?|B"},
        {"?", "?"},
        {"変数=1", "変数|=|1"},
        {"A\u3000B", "A\u3000|B"},
        {"", ""},
        {" \t ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.line), c.tokens) << c.line;
}

TEST(BasicTokenizer, RecordsTheCharacterThatEndedAName) {
    const struct {
        const char* line;
        char32_t delimiter;
    } cases[] = {
        {"A(1)", U'('}, {"A (1)", U' '}, {"A\t(1)", U'\t'}, {"A:B", U':'},
        {"A,B", U','},  {"A;B", U';'},   {"A)", U')'},      {"A+B", U' '},
        {"A=1", U' '},  {"A'x", U' '},   {"A\"x\"", U' '},  {"A", U' '},
    };
    for (const auto& c : cases) {
        const Text line = T(c.line);
        const Token token = NextToken(line);
        EXPECT_EQ(token.text, U"A") << c.line;
        EXPECT_EQ(token.delimiter, c.delimiter) << c.line;
    }
}

TEST(BasicTokenizer, ApostropheEndsTheLine) {
    const Text line = T("'comment : PRINT 1");
    const Token token = NextToken(line);
    EXPECT_EQ(token.text, U"REM");
    EXPECT_TRUE(token.rest.empty());
    EXPECT_TRUE(NextToken(token.rest).endOfLine);
}

TEST(BasicTokenizer, ReadsLabelNames) {
    const struct {
        const char* rest;
        bool found;
        bool valid;
        const char* name;
        const char* after;
    } cases[] = {
        {"LOOP: PRINT", true, true, "LOOP", ": PRINT"},
        {"  A.B_9,1", true, true, "A.B_9", ",1"},
        {"\tEND\tX", true, true, "END", "\tX"},
        {"start", true, false, "start", ""},
        {"A-B", true, false, "A-B", ""},
        {"**X", true, false, "*", "*X"},
        {"", false, false, "", ""},
        {"   ", false, false, "", ""},
        {":X", false, false, "", ":X"},
    };
    for (const auto& c : cases) {
        const Text rest = T(c.rest);
        const LabelName label = ReadLabelName(rest);
        EXPECT_EQ(label.found, c.found) << c.rest;
        EXPECT_EQ(label.valid, c.valid) << c.rest;
        EXPECT_EQ(EncodeUtf8(label.name), c.name) << c.rest;
        EXPECT_EQ(EncodeUtf8(label.rest), c.after) << c.rest;
    }
}

}  // namespace
}  // namespace rvq::basic
