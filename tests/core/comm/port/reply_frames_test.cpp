#include "core/comm/port/reply_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/text.h"
#include "core/params/utf8_chars.h"

namespace rvq {
namespace {

using namespace std::string_literals;

std::string Frame(const std::string& payload) { return "\x01\x02"s + payload + "\x03\x04\r\n"; }

TEST(ParseStatusFrame, ReadsCodesAndModeWords) {
    const struct {
        std::string bytes;
        int expected;
    } cases[] = {
        {Frame("0010000"), 0},
        {Frame("0610000"), 6},
        {Frame("2720000"), 27},
        {Frame("0630000"), -1},
        {Frame("Z-MODE "), 101},
        {Frame("VPCL   "), 102},
        {Frame("SETTING"), 103},
        {Frame(" VPCL  "), 102},
        {Frame("READY  "), -1},
        {Frame("0A10000"), -1},
        // A later frame overrides an earlier one.
        {Frame("0010000") + Frame("SETTING"), 103},
        {Frame("SETTING") + Frame("0610000"), 6},
        // Stray bytes around a frame do not matter.
        {"xx\x01" + Frame("5210000") + "\x03", 52},
        // 12 bytes cannot hold a frame.
        {Frame("0010000").substr(0, 12), -1},
        {Frame("001000"), -1},
        {Frame("00100000"), -1},
        {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseStatusFrame(c.bytes), c.expected) << c.bytes;
}

TEST(ParseTypeFrame, ReturnsTheTypeTextOfTheFirstFrame) {
    const std::string typeC = Frame("0010000xxxxxxxxxC    ");
    const std::string typeN = Frame("0010000xxxxxxxxxN1234");
    ASSERT_EQ(typeC.size(), 27u);
    const struct {
        std::string bytes;
        std::string expected;
    } cases[] = {
        {typeC, "C    "},
        {"junk" + typeN + typeC, "N1234"},
        {Frame("0010000"), ""},
        {typeC.substr(0, 26), ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTypeFrame(c.bytes), c.expected) << c.bytes;
}

TEST(ParseReplyFields, SplitsDataFrames) {
    const struct {
        std::string bytes;
        bool ok;
        std::vector<std::string> fields;
    } cases[] = {
        {Frame("ZA000"
               "0008"
               "0004abcd"),
         true,
         {"ZA000", "abcd"}},
        {Frame("ZA000"
               "0009"
               "0004abcd"),
         false,
         {}},
        {Frame("ZA000"
               "0014"
               "000290"
               "0004ab\0d"s),
         true,
         {"ZA000", "90", "ab"}},
        // A zero length ends the list even when text follows.
        {Frame("ZA000"
               "0010"
               "0000abcdef"),
         true,
         {"ZA000"}},
        // A length past the end takes what remains and stops.
        {Frame("ZA000"
               "0008"
               "0009abcd"),
         true,
         {"ZA000", "abcd"}},
        // Fewer than four characters left: no further field.
        {Frame("ZA000"
               "0008"
               "0002ab12"),
         true,
         {"ZA000", "ab"}},
        {Frame("ZA000"
               "0000"),
         true,
         {"ZA000"}},
        // The payload starts after the last SOH STX.
        {"\x01\x02old" + Frame("ZA000"
                               "0005"
                               "00011"),
         true,
         {"ZA000", "1"}},
        // A frame end before that start is stale, not the end of the payload.
        {Frame("ZA000"
               "0005"
               "00011") +
             Frame("ZB111"
                   "0005"
                   "00012"),
         true,
         {"ZB111", "2"}},
        {Frame(""), false, {}},
        {Frame("ZA00"), false, {}},
        {Frame("ZA000"
               "00"),
         false,
         {}},
        {"ZA000"
         "0006"
         "00011\x03\x04\r\n",
         false,
         {}},
        {"\x01\x02ZA000"
         "0005"
         "00011",
         false,
         {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> fields{"stale"};
        EXPECT_EQ(ParseReplyFields(c.bytes, CodePage::Western1252, fields), c.ok) << c.bytes;
        EXPECT_EQ(fields, c.fields) << c.bytes;
    }
}

// Double-byte text in several fields, one with a trail byte that reads
// as a backslash, and a one-byte kana: framed with the lengths in bytes
// and with the lengths in characters, both give the same fields.
TEST(ParseReplyFields, DoubleByteTextInSeveralFields) {
    const std::vector<std::string> texts = {"ZA000", "表示", "ｱa", "ラベル印刷"};
    const auto frame = [&](bool countCharacters) {
        std::string body;
        for (std::size_t i = 1; i < texts.size(); ++i) {
            const std::string bytes = ToCodePage(texts[i], CodePage::Japanese932);
            const std::size_t length =
                countCharacters ? params::CharacterCount(texts[i]) : bytes.size();
            body += Format("%04zu", length) + bytes;
        }
        const std::size_t total = countCharacters ? 4 + 2 + 4 + 2 + 4 + 5 : body.size();
        return Frame("ZA000" + Format("%04zu", total) + body);
    };
    for (bool countCharacters : {false, true}) {
        SCOPED_TRACE(countCharacters ? "lengths in characters" : "lengths in bytes");
        std::vector<std::string> fields;
        ASSERT_TRUE(ParseReplyFields(frame(countCharacters), CodePage::Japanese932, fields));
        EXPECT_EQ(fields, texts);
    }
}

TEST(ParseReplyFields, LengthsCountBytesAndFieldsAreConverted) {
    // "ｱ" is one byte in 932; "日本" four; "é" one in 1252.
    std::vector<std::string> fields;
    ASSERT_TRUE(ParseReplyFields(Frame("ZA000"
                                       "0013"
                                       "0001\xb1"
                                       "0004\x93\xfa\x96\x7b"),
                                 CodePage::Japanese932, fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"ZA000", "ｱ", "日本"}));
    ASSERT_TRUE(ParseReplyFields(Frame("ZA000"
                                       "0006"
                                       "0002\xe9x"),
                                 CodePage::Western1252, fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"ZA000", "éx"}));
}

}  // namespace
}  // namespace rvq
