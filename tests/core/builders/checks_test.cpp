#include "core/builders/basic_checks.h"

#include <gtest/gtest.h>

#include "basic_test_support.h"
#include "core/app/strings.h"

namespace rvq::basic {
namespace {

using test::Build;

std::vector<std::string> Repeat(const std::string& line, int count) {
    return std::vector<std::string>(static_cast<std::size_t>(count), line);
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> Numbered(const std::string& prefix, const std::string& suffix, int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(prefix + std::to_string(i) + suffix);
    return lines;
}

struct ErrorCase {
    const char* what;
    std::vector<std::string> source;
    BasicSlot slot;
    const char* text;  // empty: the program is accepted
};

void ExpectErrors(const std::vector<ErrorCase>& cases) {
    const Strings strings;
    for (const ErrorCase& c : cases) {
        const BasicImageResult built = Build(c.source, c.slot);
        const std::string text = built.result ? "" : BasicErrorText(strings, built.result.error);
        EXPECT_EQ(text, c.text) << c.what;
    }
}

TEST(BasicChecks, EmptyLines) {
    ExpectErrors({
        {"third line empty",
         {"PRINT 1", "PRINT 2", "", "PRINT 3"},
         BasicSlot::Main,
         "3 : Linefeed Error"},
        {"line number only", {"10 PRINT", "20"}, BasicSlot::Main, "2 : Linefeed Error"},
        {"line number and blanks", {"10 PRINT", "20 \t "}, BasicSlot::Main, "2 : Linefeed Error"},
        // Blank lines would shift every later line position; refuse them too.
        {"only blanks", {"PRINT 1", " \t", "PRINT 2"}, BasicSlot::Main, "2 : Linefeed Error"},
        {"blank line before a loop error", {"WEND", "   "}, BasicSlot::Main, "2 : Linefeed Error"},
    });
}

TEST(BasicChecks, LoopPairing) {
    ExpectErrors({
        {"WEND first, main", {"WEND"}, BasicSlot::Main, "WEND over 500"},
        {"WEND first, system", {"WEND"}, BasicSlot::System, "WEND over 100"},
        {"unclosed WHILE",
         {"X=1", "Y=2", "PRINT", "WHILE X", "PRINT"},
         BasicSlot::Main,
         "4 : WHILE and WEND Error"},
        {"lower-case while is not paired",
         {"X=1", "while x", "wend"},
         BasicSlot::Main,
         "2 : WHILE and WEND Error"},
        {"nested loops pair inside out",
         {"WHILE A", "WHILE B", "WEND", "WEND"},
         BasicSlot::Main,
         ""},
        {"extra WEND moves the last pair",
         {"WHILE A", "WEND", "WEND"},
         BasicSlot::Main,
         "2 : WHILE and WEND Error"},
        {"NEXT first, main", {"NEXT"}, BasicSlot::Main, "NEXT over 1000"},
        {"NEXT first, system", {"NEXT"}, BasicSlot::System, "NEXT over 200"},
        {"unclosed FOR", {"PRINT", "FOR I=1 TO 2"}, BasicSlot::Main, "2 : FOR and NEXT Error"},
        {"FOR inside a line has no pair",
         {"FOR I=1 TO 2", "X=1: FOR J=1 TO 2: NEXT J", "NEXT I"},
         BasicSlot::Main,
         "2 : FOR and NEXT Error"},
        {"FOR after OPEN's clause",
         {"OPEN \"F\" FOR INPUT AS #1: FOR I=1 TO 2"},
         BasicSlot::Main,
         "1 : FOR and NEXT Error"},
        {"numbered loop lines", {"10 FOR I=1 TO 2", "20 NEXT"}, BasicSlot::System, ""},
    });
}

TEST(BasicChecks, JumpTargets) {
    ExpectErrors({
        {"missing line number",
         {"PRINT", "GOTO 100"},
         BasicSlot::Main,
         "2 : Label or Line number Error"},
        {"lower-case label",
         {"*start", "GOTO *start"},
         BasicSlot::Main,
         "2 : Label or Line number Error"},
        {"13-character label",
         {"*ABCDEFGHIJKLM", "GOSUB *ABCDEFGHIJKLM"},
         BasicSlot::Main,
         "2 : Label or Line number Error"},
        {"12-character label", {"*ABCDEFGHIJKL", "GOSUB *ABCDEFGHIJKL"}, BasicSlot::Main, ""},
        {"unknown label", {"*A", "THEN *B"}, BasicSlot::Main, "2 : Label or Line number Error"},
        {"no label name", {"*A", "GOTO *"}, BasicSlot::Main, "2 : Label or Line number Error"},
        {"duplicate line numbers: the first wins",
         {"10 X=1", "10 X=2", "GOTO 10"},
         BasicSlot::Main,
         ""},
    });
}

TEST(BasicChecks, LineLength) {
    const auto printOf = [](int chars) { return "PRINT \"" + std::string(chars, 'A') + "\""; };
    ExpectErrors({
        {"256 bytes", {"PRINT", printOf(252)}, BasicSlot::Main, ""},
        {"257 bytes",
         {"PRINT", printOf(253)},
         BasicSlot::Main,
         "2 : Encoded Line Length Over Error"},
        {"long DATA",
         {"DATA " + std::string(300, '1')},
         BasicSlot::System,
         "1 : Encoded Line Length Over Error"},
    });
}

// Errors found while encoding name the line by the encoder's line count: a
// line numbered 0 gets no line-table entry and is not counted.
TEST(BasicChecks, EncodingErrorsCountOnlyLinesWithAnEntry) {
    ExpectErrors({
        {"jump target",
         {"0 REM", "PRINT", "GOTO 100"},
         BasicSlot::Main,
         "2 : Label or Line number Error"},
        {"unpaired loop",
         {"0 REM", "0 X=1", "while 1"},
         BasicSlot::Main,
         "1 : WHILE and WEND Error"},
        {"line length",
         {"0 REM", "PRINT \"" + std::string(253, 'A') + "\""},
         BasicSlot::Main,
         "1 : Encoded Line Length Over Error"},
        // The checks before the encoding count every line of the file.
        {"unclosed FOR", {"0 REM", "FOR I=1 TO 2"}, BasicSlot::Main, "2 : FOR and NEXT Error"},
    });
}

// Limits are compared after the element is added: the limit itself passes.
TEST(BasicChecks, SlotLimits) {
    const auto labels = [](int n) { return Numbered("*L", "", n); };
    const auto whiles = [](int n) { return Concat(Repeat("WHILE 1", n), Repeat("WEND", n)); };
    const auto fors = [](int n) { return Concat(Repeat("FOR I=1 TO 2", n), Repeat("NEXT", n)); };
    const auto variables = [](int n) { return Numbered("V", "=1", n); };
    const auto arrays = [](int n) { return Numbered("DIM A", "(1)", n); };
    const auto longLines = [](int n) {
        return Repeat("PRINT \"" + std::string(240, 'A') + "\"", n);
    };
    ExpectErrors({
        {"200 labels", labels(200), BasicSlot::System, ""},
        {"201 labels", labels(201), BasicSlot::System, "Label over 200"},
        {"1001 labels", labels(1001), BasicSlot::Main, "Label over 1000"},
        {"100 WHILE", whiles(100), BasicSlot::System, ""},
        {"101 WHILE", whiles(101), BasicSlot::System, "WHILE over 100"},
        {"501 WHILE", whiles(501), BasicSlot::Main, "WHILE over 500"},
        {"201 FOR", fors(201), BasicSlot::System, "FOR over 200"},
        {"1000 FOR", fors(1000), BasicSlot::Main, ""},
        {"1001 FOR", fors(1001), BasicSlot::Main, "FOR over 1000"},
        {"2000 lines", Repeat("X=1", 2000), BasicSlot::System, ""},
        {"2001 lines", Repeat("X=1", 2001), BasicSlot::System, "Line over 2000"},
        {"10001 lines", Repeat("X=1", 10001), BasicSlot::Main, "Line over 10000"},
        {"256 variables", variables(256), BasicSlot::System, ""},
        {"257 variables", variables(257), BasicSlot::System, "Variable over 256"},
        {"512 variables", variables(512), BasicSlot::Main, ""},
        {"513 variables", variables(513), BasicSlot::Main, "Variable over 512"},
        {"50 arrays", arrays(50), BasicSlot::System, ""},
        {"51 arrays", arrays(51), BasicSlot::Main, "Array Variable over 50"},
        {"system code size", longLines(200), BasicSlot::System,
         "Encoded Program size over 43.5kbyte"},
        {"main code size", longLines(900), BasicSlot::Main,
         "Encoded Program size over 204.75kbyte"},
        {"main code fits", longLines(850), BasicSlot::Main, ""},
    });
}

TEST(BasicChecks, CollectLabelsKeepsLineNumbersAndLabelsInFileOrder) {
    const std::vector<Text> lines =
        test::Lines({"10 *A", "*b.x", "20 PRINT", "*TOOLONGLABEL1", "10 * C"});
    BasicTables tables;
    ASSERT_TRUE(CollectLabels(lines, BasicSlot::Main, tables));
    ASSERT_EQ(tables.lineNumbers.size(), 3u);
    EXPECT_EQ(tables.lineNumbers[1].number, 20);
    EXPECT_EQ(tables.lineNumbers[2].position, 5);
    ASSERT_EQ(tables.labels.size(), 3u);
    EXPECT_EQ(tables.labels[1].name, U"b.x");  // kept, refused when referenced
    EXPECT_EQ(tables.labels[2].name, U"C");
    EXPECT_EQ(tables.labels[2].position, 5);

    const auto target = ResolveJumpTarget(U"10", U"", tables, 7);
    ASSERT_TRUE(target.result);
    EXPECT_EQ(target.text, U"1");
    const auto label = ResolveJumpTarget(U"*", U" C: PRINT", tables, 7);
    ASSERT_TRUE(label.result);
    EXPECT_EQ(label.text, U"5");
    EXPECT_EQ(label.rest, U": PRINT");
    const auto invalid = ResolveJumpTarget(U"*", U"b.x", tables, 7);
    EXPECT_FALSE(invalid.result);
    EXPECT_EQ(invalid.result.error.position, 7);
}

}  // namespace
}  // namespace rvq::basic
