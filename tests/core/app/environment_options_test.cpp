#include "core/app/environment_options.h"

#include <gtest/gtest.h>

#include "core/app/field_rules.h"
#include "core/app/strings.h"

namespace rvq {
namespace {

TEST(EnvironmentOptions, TimeoutIsClampedWhenTheFieldIsLeft) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"0", 1}, {"999", 600}, {"", 20}, {"45", 45}, {"600", 600}};
    for (const auto& c : cases) EXPECT_EQ(ClampTimeout(c.text), c.expected) << c.text;
}

TEST(EnvironmentOptions, EqualCodesAreRefusedWithTheFocusOnTheFirstOfThePair) {
    const struct {
        ControlCodes codes;
        int message;
        CodeField focus;
    } cases[] = {
        {{0x1B, 0x0A, 0x00}, 0, CodeField::Code1},
        {{0x1B, 0x1B, 0x00}, 1017, CodeField::Code1},
        {{0x1B, 0x0A, 0x1B}, 1017, CodeField::Code1},
        {{0x1B, 0x0A, 0x0A}, 1017, CodeField::Code2},
    };
    for (const auto& c : cases) {
        const CodeCheck check = CheckControlCodes(c.codes);
        EXPECT_EQ(check.messageId, c.message);
        if (c.message != 0) {
            EXPECT_EQ(check.focus, c.focus);
        }
    }
}

TEST(EnvironmentOptions, ControlCodeChoiceStoresItsModeNameAndCodes) {
    const Strings strings;
    const ControlCodes typed{0x01, 0x02, 0x03};
    const struct {
        const char* entry;
        const char* mode;
        ControlCodes codes;
    } cases[] = {
        {"AUTO", "AUTO", {0x1B, 0x0A, 0x00}},
        {"[ESC] [LF] [NUL]", "[ESC] [LF] [NUL]", {0x1B, 0x0A, 0x00}},
        {"{ | }", "{ | }", {0x7B, 0x7C, 0x7D}},
        {"Manual", "Manual", {0x01, 0x02, 0x03}},
    };
    for (const auto& c : cases) {
        ToolSettings settings;
        StoreControlCodes(settings, c.entry, typed, strings);
        EXPECT_EQ(settings.controlCodeType, c.mode);
        EXPECT_EQ(settings.controlCodes, c.codes) << c.entry;
    }
    EXPECT_TRUE(CodeFieldsEditable("Manual", strings));
    EXPECT_FALSE(CodeFieldsEditable("AUTO", strings));
    EXPECT_EQ(ControlCodeEntryFor("Manual", strings), "Manual");
    EXPECT_EQ(ControlCodeEntryFor("{ | }", strings), "{ | }");
}

TEST(EnvironmentOptions, CodeFieldsRoundTrip) {
    EXPECT_EQ(FormatCodeField(0x0A), "HEX(0A)");
    EXPECT_EQ(ParseCodeField("HEX(7b)"), 0x7B);
    EXPECT_EQ(ParseCodeField("HEX()"), 0x00);
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(ParseCodeField(FormatCodeField(static_cast<unsigned char>(code))), code);
    }
}

TEST(EnvironmentOptions, PasswordChecksAreExact) {
    EXPECT_EQ(CheckPasswordChange("Secret", "secret", "new", "new"), 1008);
    EXPECT_EQ(CheckPasswordChange("Secret", "Secret", "new", "New"), 1009);
    EXPECT_EQ(CheckPasswordChange("Secret", "Secret", "", ""), 0);
    EXPECT_TRUE(LoginPasses("", "anything"));
    EXPECT_TRUE(LoginPasses("abc", "abc"));
    EXPECT_FALSE(LoginPasses("abc", "ABC"));
}

TEST(FieldRules, FiltersKeepWholeCharacters) {
    EXPECT_EQ(KeepDigits("8a0-0\xC3\xA9"
                         "0"),
              "8000");
    EXPECT_EQ(KeepAscii("host\xE3\x81\x82-1"), "host-1");
    EXPECT_EQ(KeepLettersDigitsBlanks("A1 b-2_\xC3\xA9"), "A1 b2");
    // Latin-1 letters stay; a character above 0xFF would not survive the
    // password store.
    EXPECT_EQ(KeepPasswordCharacters("p\xC3\xA9w\xE2\x82\xAC!"), "p\xC3\xA9w!");
    EXPECT_EQ(ClampNumberText("", 1, 99, 1), 1);
    EXPECT_EQ(ClampNumberText("123", 1, 99, 1), 99);
    EXPECT_EQ(ClampNumberText("70000", 0, 65535, 8000), 65535);
}

}  // namespace
}  // namespace rvq
