#include <gtest/gtest.h>

#include "basic_test_support.h"

namespace rvq::basic {
namespace {

using test::Build;
using test::CodeLines;
using test::FromHex;
using test::Hex;

struct LineCase {
    std::vector<std::string> source;
    std::size_t line;      // which encoded line to look at
    const char* expected;  // that line, with its length byte
};

void ExpectLines(const std::vector<LineCase>& cases, CodePage codePage = CodePage::Western1252) {
    for (const LineCase& c : cases) {
        const BasicImageResult built = Build(c.source, BasicSlot::Main, codePage);
        ASSERT_TRUE(built.result) << c.source[c.line] << " failed with " << built.result.error.id;
        const std::vector<Bytes> lines = CodeLines(built.image, BasicSlot::Main);
        ASSERT_LT(c.line, lines.size()) << c.source[c.line];
        EXPECT_EQ(Hex(lines[c.line]), Hex(FromHex(c.expected))) << c.source[c.line];
    }
}

TEST(BasicLineEncoding, Literals) {
    ExpectLines({
        {{"PRINT 1"}, 0, "03 8A 02 01"},
        {{"A$=\"X\""}, 0, "06 04 00 33 00 01 58"},
        {{"PRINT 255"}, 0, "03 8A 02 FF"},
        {{"PRINT 256"}, 0, "04 8A 03 01 00"},
        {{"PRINT 65535"}, 0, "04 8A 03 FF FF"},
        {{"PRINT 65536"}, 0, "0A 8A 01 47 80 00 00 00 00 00 00"},
        {{"PRINT 1.5"}, 0, "0A 8A 01 3F C0 00 00 00 00 00 00"},
        {{"PRINT .5"}, 0, "0A 8A 01 3F 00 00 00 00 00 00 00"},
        {{"PRINT 1.5E+3"}, 0, "0A 8A 01 44 BB 80 00 00 00 00 00"},
        {{"PRINT 1.5E3"}, 0, "0A 8A 01 44 BB 80 00 00 00 00 00"},
        {{"PRINT 1E5"}, 0, "03 8A 02 01"},
        {{"PRINT &HFF"}, 0, "04 8A 03 00 FF"},
        {{"PRINT &h1234"}, 0, "04 8A 03 12 34"},
        {{"PRINT &O17"}, 0, "04 8A 03 00 0F"},
        {{"PRINT &H12345"}, 0, "04 8A 03 23 45"},
        {{"PRINT #1"}, 0, "03 8A 14 01"},
        {{"PRINT \"\""}, 0, "03 8A 00 00"},
        {{"DATA 1, \"A\" : X"}, 0, "0E A7 00 0B 20 31 2C 20 22 41 22 20 3A 20 58"},
    });
}

// Digit strings beyond 32 bits keep their value as a real; a "#" with
// nothing after it is file number 0; an unclosed string loses its last
// character as if it were the closing quote.
TEST(BasicLineEncoding, LiteralsAtTheEdges) {
    ExpectLines({
        {{"PRINT 99999999999"}, 0, "0A 8A 01 51 BA 43 B7 00 00 00 00"},
        {{"PRINT 4294967296"}, 0, "0A 8A 01 4F 80 00 00 00 00 00 00"},
        {{"CLOSE #"}, 0, "03 99 14 00"},
        {{"PRINT \"AB"}, 0, "04 8A 00 01 41"},
        {{"PRINT \"A"}, 0, "03 8A 00 00"},
        {{"PRINT \""}, 0, "03 8A 00 00"},
    });
}

TEST(BasicLineEncoding, StringsAreWrittenInTheSystemCodePage) {
    ExpectLines({{{"PRINT \"é\""}, 0, "04 8A 00 01 E9"}}, CodePage::Western1252);
    // The second byte of ソ is the code of "\": it must not split the token.
    ExpectLines({{{"PRINT \"アソ\""}, 0, "07 8A 00 04 83 41 83 5C"}}, CodePage::Japanese932);
}

TEST(BasicLineEncoding, KeywordsNamesAndOperators) {
    ExpectLines({
        {{"print 1"}, 0, "03 8A 02 01"},
        {{"PRINT ERR"}, 0, "04 8A 4D 02 00"},
        {{"X$=INKEY$"}, 0, "06 04 00 33 7D 02 00"},
        {{"X=LEN(A$)"}, 0, "08 07 00 33 59 36 04 01 37"},
        {{"PRINT A(1)"}, 0, "07 8A 0E 00 36 02 01 37"},
        {{"PRINT A (1)"}, 0, "07 8A 07 00 36 02 01 37"},
        {{"PRINT B$(1)"}, 0, "07 8A 0D 00 36 02 01 37"},
        {{"PRINT SDATA2$(1)"}, 0, "07 8A 1C 02 36 02 01 37"},
        {{"PRINT SDATA2$"}, 0, "03 8A 04 00"},
        {{"I%=TIMER"}, 0, "05 0A 00 33 18 01"},
        {{"IF A<>B THEN X=1 ELSE Y=2"},
         0,
         "12 BE 07 00 26 07 01 B8 07 02 33 02 01 9E 07 03 33 02 02"},
        {{"a=1:A=2"}, 0, "0B 07 00 33 02 01 38 07 00 33 02 02"},
        {{"X=A MOD 2 XOR NOT B"}, 0, "0C 07 00 33 07 01 24 02 02 23 20 07 02"},
        {{"X=A\\B"}, 0, "08 07 00 33 07 01 30 07 02"},
        {{"GO TO 10"}, 0, "04 BC BD 02 0A"},
    });
}

TEST(BasicLineEncoding, CommentsAndLabels) {
    ExpectLines({
        {{"PRINT 1 'note"}, 0, "03 8A 02 01"},
        {{"'note"}, 0, "01 B6"},
        {{"REM note"}, 0, "01 B6"},
        {{"PRINT 1: REM note"}, 0, "04 8A 02 01 38"},
        {{"*START"}, 0, "01 B6"},
        {{"10 *START"}, 0, "01 B6"},
        {{"10 'note"}, 0, "01 B6"},
    });
}

TEST(BasicLineEncoding, JumpTargetsBecomeLinePositions) {
    ExpectLines({
        {{"PRINT 1", "GOTO *LOOP", "*LOOP"}, 1, "03 B3 02 03"},
        {{"10 PRINT 1", "20 GOTO 10"}, 1, "03 B3 02 01"},
        {{"100 GOSUB *S", "200 END", "300 *S", "400 RETURN"}, 0, "03 9A 02 03"},
        {{"IF X THEN 20 ELSE *E", "20 END", "*E"}, 0, "09 BE 07 00 B8 02 02 9E 02 03"},
        // Only the token right after the statement is a target.
        {{"10 ON X GOTO 10, 20", "20 END"}, 0, "09 C0 07 00 B3 02 01 35 02 14"},
        {{"GOTO *L: PRINT", "*L"}, 0, "05 B3 02 02 38 8A"},
    });
}

TEST(BasicLineEncoding, ResumeAddsItsImplicitTarget) {
    ExpectLines({
        {{"RESUME"}, 0, "04 07 00 14 00"},
        {{"RESUME:PRINT"}, 0, "06 07 00 14 00 38 8A"},
        {{"RESUME 0"}, 0, "06 07 00 14 00 02 00"},
        {{"RESUME NEXT"}, 0, "05 07 00 BA 14 00"},
        {{"RESUME *R", "*R"}, 0, "06 07 00 02 02 14 00"},
    });
}

TEST(BasicLineEncoding, LoopStatementsCarryTheirPartners) {
    ExpectLines({
        {{"X=0", "WHILE X<3", "X=X+1", "PRINT X", "WEND"}, 1, "08 96 00 05 07 00 2B 02 03"},
        {{"X=0", "WHILE X<3", "X=X+1", "PRINT X", "WEND"}, 4, "03 A8 00 01"},
        {{"FOR I=1 TO 3", "PRINT I", "NEXT I"}, 0, "0B B2 00 03 07 00 33 02 01 BD 02 03"},
        {{"FOR I=1 TO 3", "PRINT I", "NEXT I"}, 2, "05 BA 00 01 07 00"},
        {{"OPEN \"F\" FOR INPUT AS #1"}, 0, "09 A5 00 01 46 B2 98 C2 14 01"},
    });
}

TEST(BasicLineEncoding, PartnerPositionsAboveOneHundredAreSplitIntoHundreds) {
    std::vector<std::string> source{"WHILE 1"};
    for (int i = 0; i < 150; ++i) source.emplace_back("X=1");
    source.emplace_back("WEND");
    ExpectLines({{source, 0, "05 96 01 34 02 01"}, {source, 151, "03 A8 00 00"}});
}

TEST(BasicLineEncoding, VariablesMoveToTheNextBankEvery256Names) {
    std::vector<std::string> source;
    for (int i = 0; i < 511; ++i) source.push_back("V" + std::to_string(i) + "$=\"\"");
    source.emplace_back("V511=V256$");
    const BasicImageResult built = Build(source);
    ASSERT_TRUE(built.result) << built.result.error.id;
    const std::vector<Bytes> lines = CodeLines(built.image, BasicSlot::Main);
    EXPECT_EQ(Hex(lines[255]), "05 04 FF 33 00 00");
    EXPECT_EQ(Hex(lines[256]), "05 05 00 33 00 00");
    EXPECT_EQ(Hex(lines[511]), "05 08 FF 33 05 00");
}

}  // namespace
}  // namespace rvq::basic
