#include "core/params/reply_decode.h"

#include <gtest/gtest.h>

#include "core/params/value_codecs.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

constexpr auto kEnglish = ShownLanguage::English;

std::string ReadText(ParamItem item, const std::string& field, ShownLanguage language = kEnglish) {
    EXPECT_TRUE(DecodeReplyValue(item, field, DecodeMode::Read, language));
    return item.textRead;
}

TEST(DecodeReplyValue, NumbersGoToTheNumericReadValueOnly) {
    ParamItem numeric = NumberItem("Contrast", kind::kNumeric, 4);
    EXPECT_TRUE(DecodeReplyValue(numeric, "07", DecodeMode::Read, kEnglish));
    EXPECT_EQ(numeric.numRead, 7);
    EXPECT_FALSE(DecodeReplyValue(numeric, "07", DecodeMode::Compare, kEnglish));
    EXPECT_TRUE(DecodeReplyValue(numeric, "+004", DecodeMode::Compare, kEnglish));

    ParamItem oneDecimal = NumberItem("FeedAdjust", kind::kSignNumPoint1, -12);
    EXPECT_TRUE(DecodeReplyValue(oneDecimal, "-012", DecodeMode::Compare, kEnglish));

    ParamItem readOnly = TextItem("FeedAdjustKey", kind::kReadOnly, "kept");
    readOnly.textRead = "kept";
    EXPECT_TRUE(DecodeReplyValue(readOnly, "3", DecodeMode::Read, kEnglish));
    EXPECT_EQ(readOnly.numRead, 3);
    EXPECT_EQ(readOnly.textRead, "kept");
}

TEST(DecodeReplyValue, SpecialItemsInReadMode) {
    const ParamItem wepKey =
        ListItem("WEPDefaultKey", {{"Key 1", "キー1", "1"}, {"Key 2", "キー2", "2"}}, "Key 1");
    const ParamItem language = ListItem(
        "LCDLanguage", {{"English", "英語", "1"}, {"German", "ドイツ語", "10"}}, "English");
    const std::vector<test::Entry> fields = {{"Zero", "", "0"}, {"One", "", "1"}, {"Two", "", "2"}};
    const ParamItem psk = TextItem("PreSharedKey", kind::kAscii, "default-key");
    const ParamItem tagType =
        ListItem("RFID_TAG_Type", {{"Type A", "", "01"}, {"Type B", "", "1"}}, "");

    EXPECT_EQ(ReadText(wepKey, "0"), "Key 1") << "the printer counts keys from 0";
    EXPECT_EQ(ReadText(language, "0A", ShownLanguage::Japanese), "ドイツ語") << "read as hex";
    EXPECT_EQ(ReadText(psk, ""), "default-key");
    EXPECT_EQ(ReadText(psk, "secret"), "secret");
    EXPECT_EQ(ReadText(tagType, "1"), "Type B") << "exact code text";
    EXPECT_EQ(ReadText(TextItem("IPAddress", kind::kIpAddress, ""), "010.000.000.001"), "10.0.0.1");
    for (const char* name :
         {"NewPassword", "OldPassword", "RFID_NewPassword", "RFID_CurrentPassword"}) {
        EXPECT_EQ(ReadText(TextItem(name, kind::kAscii, "abcd"), "bdac"), "5813") << name;
    }
    // Code 3 and 4 show all four fields as 0; 38 is 1, 1, 1, 1.
    for (const char* name :
         {"Authentication-1", "Authentication-2", "Authentication-3", "Authentication-4"}) {
        const ParamItem item = ListItem(name, fields, "");
        EXPECT_EQ(ReadText(item, "3"), "Zero") << name;
        EXPECT_EQ(ReadText(item, "38"), "One") << name;
    }
    EXPECT_EQ(ReadText(ListItem("Authentication-2", fields, ""), "9"), "Two");
}

TEST(DecodeReplyValue, DhcpClientIdPaddingAndHexSentText) {
    ParamItem typedAsHex = TextItem("DHCPClientID", kind::kHex, "A1B2FF");
    EXPECT_EQ(ReadText(typedAsHex, "A1B2FFFF"), "A1B2");
    EXPECT_EQ(ReadText(typedAsHex, "FFFF"), "");
    EXPECT_TRUE(DecodeReplyValue(typedAsHex, "A1B2FFFF", DecodeMode::Compare, kEnglish))
        << "the page value loses its padding too";
    EXPECT_EQ(typedAsHex.textValue, "A1B2");

    // Typed as characters, sent as hex: the reply is turned back into text
    // once, and the mark is cleared.
    ParamItem typedAsText = TextItem("DHCPClientID", kind::kHex, "host-1");
    typedAsText.flag = item_flag::kTextAsHex;
    EXPECT_TRUE(
        DecodeReplyValue(typedAsText, TextToHex("host-1") + "FF", DecodeMode::Compare, kEnglish));
    EXPECT_EQ(typedAsText.textRead, "host-1");
    EXPECT_EQ(typedAsText.flag & item_flag::kTextAsHex, 0);

    ParamItem wepData = TextItem("WEP_KeyData2", kind::kAlphNumeric, "abcde");
    wepData.flag = item_flag::kTextAsHex;
    EXPECT_TRUE(DecodeReplyValue(wepData, "6162636465", DecodeMode::Compare, kEnglish));
}

TEST(DecodeReplyValue, CompareModeChecksWhatWasWritten) {
    ParamItem password = TextItem("NewPassword", kind::kAscii, "abcd");
    EXPECT_TRUE(
        DecodeReplyValue(password, ScramblePassword("abcd"), DecodeMode::Compare, kEnglish));
    EXPECT_FALSE(DecodeReplyValue(password, "abcd", DecodeMode::Compare, kEnglish));

    ParamItem list = EnableItem("DHCP", "有効");
    EXPECT_TRUE(DecodeReplyValue(list, "1", DecodeMode::Compare, ShownLanguage::Japanese));
    EXPECT_FALSE(DecodeReplyValue(list, "0", DecodeMode::Compare, ShownLanguage::Japanese));
    EXPECT_EQ(list.textRead, "無効");
}

// A settings file holds English labels whatever language is shown; the
// read-back compares the printer's value with the item's, not their texts.
TEST(DecodeReplyValue, CompareModeComparesValuesNotShownTexts) {
    const auto japanese = ShownLanguage::Japanese;
    ParamItem fromFile = EnableItem("DHCP", "Enable");
    EXPECT_TRUE(DecodeReplyValue(fromFile, "1", DecodeMode::Compare, japanese));
    EXPECT_EQ(fromFile.textRead, "有効") << "the read value is still shown in Japanese";
    EXPECT_FALSE(DecodeReplyValue(fromFile, "0", DecodeMode::Compare, japanese));

    ParamItem typed = EnableItem("DHCP", "有効");
    EXPECT_TRUE(DecodeReplyValue(typed, "1", DecodeMode::Compare, kEnglish));

    ParamItem address = TextItem("IPAddress", kind::kIpAddress, "192.168.010.005");
    EXPECT_TRUE(DecodeReplyValue(address, "192.168.10.5", DecodeMode::Compare, japanese));
    EXPECT_FALSE(DecodeReplyValue(address, "192.168.10.6", DecodeMode::Compare, japanese));
}

}  // namespace
}  // namespace rvq::params
