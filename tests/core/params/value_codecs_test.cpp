#include "core/params/value_codecs.h"

#include <gtest/gtest.h>

namespace rvq::params {
namespace {

TEST(Password, PermutesTheFirstFourCharacters) {
    const struct {
        const char* plain;
        const char* scrambled;
    } cases[] = {
        {"1234", "2413"},
        {"abcd", "bdac"},
        {"", ""},
        // Short texts keep the characters that exist, in the same positions' order.
        {"abc", "bac"},
        {"a", "a"},
        // Characters past the fourth follow unchanged.
        {"abcdef", "bdacef"},
        // Characters, not bytes.
        {"äöüß", "ößäü"},
    };
    for (const auto& c : cases) EXPECT_EQ(ScramblePassword(c.plain), c.scrambled) << c.plain;
}

TEST(Password, UnscrambleUndoesScrambleForFullPasswords) {
    for (const char* plain : {"5813", "abcd", "Zz09", "abcdefgh", "äöüß"}) {
        EXPECT_EQ(UnscramblePassword(ScramblePassword(plain)), plain);
        EXPECT_EQ(ScramblePassword(UnscramblePassword(plain)), plain);
    }
    EXPECT_EQ(UnscramblePassword("2413"), "1234");
}

TEST(HexText, CharacterCodesAsUpperCaseHex) {
    EXPECT_EQ(TextToHex("AB"), "4142");
    EXPECT_EQ(TextToHex("\n"), "0A");
    EXPECT_EQ(TextToHex(""), "");
    EXPECT_EQ(TextToHex("é"), "E9");

    EXPECT_EQ(HexToText("4142"), "AB");
    EXPECT_EQ(HexToText("41a"), "A\xC2\xA0") << "an odd count gets a trailing 0: A0";
    EXPECT_EQ(HexToText("414200"), "AB") << "a 00 pair ends the text";
    EXPECT_EQ(HexToText(""), "");
}

TEST(HexText, RoundTripsSingleByteCharacters) {
    for (const char* text : {"ESSID-1", "key 12345", "é~!", ""})
        EXPECT_EQ(HexToText(TextToHex(text)), text);
}

TEST(StripTrailingFF, RemovesPaddingPairByPair) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"A1B2FFFF", "A1B2"}, {"FFFF", ""}, {"A1B2", "A1B2"}, {"A1BFF", "A1B"},
                 {"FFA1", "FFA1"},     {"ff", "ff"}, {"F", "F"}};
    for (const auto& c : cases) EXPECT_EQ(StripTrailingFF(c.in), c.out) << c.in;
}

TEST(Authentication, SplitRowsAndOutOfRangeCodes) {
    EXPECT_EQ(SplitAuthentication(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SplitAuthentication(3), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SplitAuthentication(4), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SplitAuthentication(9), (std::array<int, 4>{1, 2, 1, 0}));
    EXPECT_EQ(SplitAuthentication(27), (std::array<int, 4>{1, 3, 3, 0}));
    EXPECT_EQ(SplitAuthentication(43), (std::array<int, 4>{1, 2, 0, 7}));
    EXPECT_EQ(SplitAuthentication(44), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SplitAuthentication(-1), (std::array<int, 4>{0, 0, 0, 0}));
}

// What a set sends for the four fields: the second alone while the first is
// 0, else the combined code. Every code comes back except 3 and 4 (sent as 0).
TEST(Authentication, EveryCodeRoundTripsThroughTheFourFields) {
    for (int code = 0; code <= 43; ++code) {
        const std::array<int, 4> fields = SplitAuthentication(code);
        const int sent = fields[0] == 0 ? fields[1] : CombineAuthentication(fields);
        EXPECT_EQ(sent, code == 3 || code == 4 ? 0 : code) << code;
    }
    EXPECT_EQ(CombineAuthentication({1, 1, 0, 9}), 0);
}

}  // namespace
}  // namespace rvq::params
