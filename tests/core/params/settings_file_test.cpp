#include "core/params/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <filesystem>

#include "core/app/document.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/params/settings_transfer.h"
#include "core/platform/code_page.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace rvq::params {
namespace {

using rvq::test::ReadAll;
using rvq::test::ScriptedInteraction;
using rvq::test::TempDir;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(document_.OnNewDocument(
            std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML", "R-VQ4T1-T", "QM"));
        settings_.printerModel = "R-VQ4T1-T";
        settings_.destination = "QM";
        // The shipped definitions have no password items marked for
        // scrambling or quoting; mark two as a model that has them would.
        Item("NewPassword").encode = true;
        Item("NewPassword").flag |= kItemFlagQuoted;
        Item("OldPassword").encode = true;
        Item("DHCPHostName").flag |= kItemFlagQuoted;
    }
    ParamItem& Item(const std::string& name) { return *FindItem(*document_.model(), name); }
    SettingsFileEnv Env() const { return SettingsFileEnv{strings_, japanese_, {}}; }

    bool Export(const std::string& path, bool includeSecrets, ScriptedInteraction& interaction) {
        interaction.Answer(includeSecrets);
        return ExportSettings(path, *document_.model(), ticks_, settings_, Env(), interaction);
    }
    ImportResult Import(const std::string& path, ScriptedInteraction& interaction) {
        return ImportSettings(path, document_, settings_, ticks_, Env(), interaction);
    }
    std::string Header(const std::string& security = "SECURITY=1\r\n") const {
        return "[HEADER]\r\nTITLE=R-VQ "
               "Parameter\r\nVERSION=V001.000\r\nPRINTER=R-VQ4T1-T\r\nDESTINATION=QM\r\n" +
               security;
    }

    Strings strings_;
    Document document_;
    ToolSettings settings_;
    GroupTicks ticks_;
    bool japanese_ = false;
    TempDir dir_;
};

TEST_F(SettingsFile, RoundTripWithPasswordsQuotesAndDecimals) {
    Item("NewPassword").textValue = "abc";
    Item("OldPassword").textValue = "9999";
    Item("DHCPHostName").textValue = "host=a=b";
    Item("FeedAdjust").numValue = -5;
    Item("CutAdjust").numValue = 20;
    Item("ControlCode").textValue = "Manual";
    ticks_.Set("COMMAND_GROUP", true);
    ScriptedInteraction interaction;
    const std::string path = dir_.File("a.TSI");
    ASSERT_TRUE(Export(path, true, interaction));
    EXPECT_EQ(interaction.ids(), std::vector<int>{801});

    const std::string file = ReadAll(path);
    EXPECT_EQ(file.rfind(Header() + "[GROUP]\r\nIMAGE_GROUP=OFF\r\n", 0), 0u) << file;
    for (const char* line :
         {"\r\nCOMMAND_GROUP=ON\r\n", "\r\n[ITEM]\r\n", "\r\nNewPassword=\"IDIEIF\"\r\n",
          "\r\nOldPassword=FLFLFLFL\r\n", "\r\nDHCPHostName=\"host=a=b\"\r\n",
          "\r\nFeedAdjust=-0.5\r\n", "\r\nCutAdjust=2\r\n", "\r\nControlCode=Manual\r\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line;
    }

    // Everything back to other values, then the file restores them.
    for (const char* name : {"NewPassword", "OldPassword", "DHCPHostName", "ControlCode"})
        Item(name).textValue = "x";
    Item("FeedAdjust").numValue = 7;
    ticks_.Set("COMMAND_GROUP", false);
    ticks_.Set("IMAGE_GROUP", true);
    ScriptedInteraction importing;
    const ImportResult result = Import(path, importing);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.passwordsIncluded);
    EXPECT_TRUE(importing.shown().empty());
    EXPECT_EQ(Item("NewPassword").textValue, "abc");
    EXPECT_EQ(Item("OldPassword").textValue, "9999");
    EXPECT_EQ(Item("DHCPHostName").textValue, "host=a=b");
    EXPECT_EQ(Item("FeedAdjust").numValue, -5);
    EXPECT_EQ(Item("CutAdjust").numValue, 20);
    EXPECT_EQ(Item("ControlCode").textValue, "Manual");
    EXPECT_TRUE(ticks_.Has("COMMAND_GROUP"));
    EXPECT_FALSE(ticks_.Has("IMAGE_GROUP"));
}

TEST_F(SettingsFile, WithoutPasswordsTheEncodedItemsStayAtTheirDefaults) {
    Item("NewPassword").textValue = "abcd";
    ScriptedInteraction interaction;
    const std::string path = dir_.File("b.TSI");
    ASSERT_TRUE(Export(path, false, interaction));
    const std::string file = ReadAll(path);
    EXPECT_NE(file.find("\r\nSECURITY=0\r\n"), std::string::npos);
    EXPECT_EQ(file.find("NewPassword="), std::string::npos);
    EXPECT_EQ(file.find("OldPassword="), std::string::npos);

    ScriptedInteraction importing;
    EXPECT_TRUE(Import(path, importing).ok);
    ASSERT_EQ(importing.ids(), std::vector<int>{800});
    EXPECT_EQ(importing.shown()[0].kind, ScriptedInteraction::Kind::Info);
    EXPECT_EQ(Item("NewPassword").textValue, Item("NewPassword").textDefault);
}

TEST_F(SettingsFile, UnknownNamesIgnoredMissingItemsDefaultAndSectionsContinue) {
    Item("Contrast").numValue = 9;
    Item("DHCPHostName").textValue = "before";
    const std::string path = dir_.Write(
        "c.TSI",
        Header() +
            "[GROUP]\r\nNO_SUCH_GROUP=ON\r\nIMAGE_GROUP=ON\r\n[GROUP]\r\nDISPLAY_GROUP=ON\r\n"
            "USB_GROUP=on\r\n[ITEM]\r\nNoSuchItem=1\r\nDHCPHostName=  \"quoted\"  \r\n"
            "not a line\r\n[GROUP]\r\nTCPIP_GROUP=ON\r\n");
    ScriptedInteraction interaction;
    EXPECT_TRUE(Import(path, interaction).ok);
    EXPECT_TRUE(interaction.shown().empty());
    EXPECT_EQ(Item("Contrast").numValue, Item("Contrast").numDefault) << "not in the file: default";
    EXPECT_EQ(Item("DHCPHostName").textValue, "quoted");
    // A second [GROUP] right after the first continues it; after [ITEM] the reading had ended.
    EXPECT_EQ(ticks_.ticked, (std::set<std::string>{"IMAGE_GROUP", "DISPLAY_GROUP"}));
}

TEST_F(SettingsFile, AValueNoPageCouldHoldRefusesTheFileAndChangesNothing) {
    Item("Contrast").numValue = 9;
    ticks_.Set("IMAGE_GROUP", true);
    struct Case {
        const char* item;
        const char* value;
    };
    // A list label that matches no entry, a number below MinValue (a sign
    // on an unsigned kind), an address octet over 255, a text too long.
    const Case bad[] = {{"LCDLanguage", "Klingon"},
                        {"Contrast", "-5"},
                        {"IPAddress", "192.168.1.300"},
                        {"DHCPHostName", "\"abcdefghijabcdefghijabcdefghijabc\""}};
    for (const Case& c : bad) {
        SCOPED_TRACE(c.item);
        const std::string path = dir_.Write(
            "bad.TSI", Header() +
                           "[GROUP]\r\nDISPLAY_GROUP=ON\r\nTCPIP_GROUP=ON\r\nSERVER_GROUP=ON\r\n"
                           "[ITEM]\r\n" +
                           std::string(c.item) + "=" + c.value + "\r\n");
        ScriptedInteraction interaction;
        const ImportResult result = Import(path, interaction);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.badValue);
        ASSERT_EQ(interaction.shown().size(), 1u);
        EXPECT_EQ(interaction.shown()[0].messageId, 64800);
        EXPECT_NE(interaction.shown()[0].text.find(c.item), std::string::npos)
            << interaction.shown()[0].text;
        EXPECT_EQ(Item("Contrast").numValue, 9) << "the model is as it was";
        EXPECT_EQ(ticks_.ticked, (std::set<std::string>{"IMAGE_GROUP"}));
    }
    // The same value in a group the file leaves OFF is not sent: the file is taken.
    const std::string off = dir_.Write(
        "off.TSI", Header() + "[GROUP]\r\nDISPLAY_GROUP=OFF\r\n[ITEM]\r\nContrast=-5\r\n");
    ScriptedInteraction interaction;
    EXPECT_TRUE(Import(off, interaction).ok);
}

TEST_F(SettingsFile, AFailedCheckWritesNothingAndAnUnwritablePlaceIsNamed) {
    ticks_.Set("COMMAND_GROUP", true);
    Item("ControlCode").textValue = "Manual";
    Item("ManualCode2").textValue = Item("ManualCode1").textValue;
    ScriptedInteraction checked;
    EXPECT_FALSE(Export(dir_.File("f.TSI"), true, checked));
    EXPECT_EQ(checked.ids(), std::vector<int>{1001}) << "no question after a failed check";
    EXPECT_FALSE(std::filesystem::exists(dir_.File("f.TSI")));

    ticks_.Set("COMMAND_GROUP", false);
    ScriptedInteraction unwritable;
    EXPECT_FALSE(Export(dir_.File("no-such-folder/f.TSI"), true, unwritable));
    EXPECT_EQ(unwritable.ids(), (std::vector<int>{801, sid::kMsgFolderNotWritable}));
    ASSERT_EQ(unwritable.shown().size(), 2u);
    const std::string text = unwritable.shown()[1].text;
    EXPECT_NE(text.find(dir_.File("no-such-folder") + " exists and is writable"), std::string::npos)
        << text;
}

// The passwords in the file are only scrambled: with them, only its owner
// may read it, also when it replaces a file others could read.
TEST_F(SettingsFile, AFileWithPasswordsIsReadableByItsOwnerOnly) {
    const mode_t oldMask = ::umask(022);
    ScriptedInteraction plain, secret, replaced;
    const bool written = Export(dir_.File("plain.TSI"), false, plain) &&
                         Export(dir_.File("secret.TSI"), true, secret) &&
                         Export(dir_.File("plain.TSI"), true, replaced);
    ::umask(oldMask);
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(::stat(dir_.File("secret.TSI").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_NE(ReadAll(dir_.File("secret.TSI")).find("SECURITY=1"), std::string::npos);
    ASSERT_EQ(::stat(dir_.File("plain.TSI").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "a file given passwords loses the bits of others";
}

TEST_F(SettingsFile, ALineBreakInAValueCannotAddLines) {
    Item("ESSID").textValue = "lab\r\n[GROUP]\r\nIMAGE_GROUP=ON";
    ScriptedInteraction interaction;
    const std::string path = dir_.File("e.TSI");
    ASSERT_TRUE(Export(path, false, interaction));
    EXPECT_NE(ReadAll(path).find("\r\nESSID=\"lab  [GROUP]  IMAGE_GROUP=ON\"\r\n"),
              std::string::npos);
    ScriptedInteraction importing;
    EXPECT_TRUE(Import(path, importing).ok);
    EXPECT_FALSE(ticks_.Has("IMAGE_GROUP"));
    EXPECT_EQ(Item("ESSID").textValue, "lab  [GROUP]  IMAGE_GROUP=ON");
}

TEST_F(SettingsFile, HeaderFaultsAreRejected) {
    const std::string body = "[GROUP]\r\nIMAGE_GROUP=ON\r\n[ITEM]\r\nDHCPHostName=\"changed\"\r\n";
    const std::string noSecurity =
        "[HEADER]\r\nTITLE=R-VQ Parameter\r\nPRINTER=R-VQ4T1-T\r\nDESTINATION=QM\r\n" + body;
    std::string wrongCase = Header() + body;
    wrongCase.replace(wrongCase.find("R-VQ Parameter"), 14, "R-VQ parameter");
    std::string unknownModel = Header() + body;
    unknownModel.replace(unknownModel.find("PRINTER=R-VQ4T1-T"), 17, "PRINTER=R-VQ9X9-Z");
    for (const std::string& content : {noSecurity, wrongCase, unknownModel}) {
        ScriptedInteraction interaction;
        const ImportResult result = Import(dir_.Write("bad.TSI", content), interaction);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(interaction.ids(), std::vector<int>{898}) << content;
        EXPECT_NE(Item("DHCPHostName").textValue, "changed");
        EXPECT_FALSE(ticks_.Has("IMAGE_GROUP"));
    }
    ScriptedInteraction missing;
    EXPECT_FALSE(Import(dir_.File("none.TSI"), missing).ok);
    EXPECT_EQ(missing.ids(), std::vector<int>{898});
}

TEST_F(SettingsFile, AnotherKnownModelAsksFirst) {
    std::string content = Header() + "[GROUP]\r\n[ITEM]\r\nFeedAdjust=-25.5\r\n";
    content.replace(content.find("PRINTER=R-VQ4T1-T"), 17, "PRINTER=R-VQ6T2-T");
    const std::string path = dir_.Write("other.TSI", content);

    ScriptedInteraction refused;
    const ImportResult no = Import(path, refused);
    EXPECT_FALSE(no.ok);
    EXPECT_EQ(refused.ids(), std::vector<int>{897});
    EXPECT_EQ(document_.model()->name, "R-VQ4T1-T");

    ScriptedInteraction agreed;
    agreed.Answer(true);
    const ImportResult yes = Import(path, agreed);
    EXPECT_TRUE(yes.ok);
    EXPECT_TRUE(yes.modelChanged);
    EXPECT_EQ(document_.model()->name, "R-VQ6T2-T");
    EXPECT_EQ(settings_.printerModel, "R-VQ6T2-T");
    EXPECT_EQ(settings_.destination, "QM");
    EXPECT_EQ(Item("FeedAdjust").numValue, -255);
}

TEST_F(SettingsFile, DecimalsUseAPointUnderAGermanLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    Item("FeedAdjust").numValue = -15;
    ScriptedInteraction interaction;
    const std::string path = dir_.File("g.TSI");
    const bool written = Export(path, false, interaction);
    Item("FeedAdjust").numValue = 0;
    ScriptedInteraction importing;
    const ImportResult result = Import(path, importing);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(written);
    EXPECT_TRUE(result.ok);
    EXPECT_NE(ReadAll(path).find("\r\nFeedAdjust=-1.5\r\n"), std::string::npos);
    EXPECT_EQ(Item("FeedAdjust").numValue, -15);
}

TEST_F(SettingsFile, JapaneseInterfaceWritesAndReadsCodePage932) {
    japanese_ = true;
    Item("ControlCode").textValue = "手動";
    Item("DHCPHostName").textValue = "ラベル=1";
    ScriptedInteraction interaction;
    const std::string path = dir_.File("j.TSI");
    ASSERT_TRUE(Export(path, false, interaction));
    const std::string file = ReadAll(path);
    EXPECT_NE(file.find("\r\nControlCode=Manual\r\n"), std::string::npos)
        << "lists are written in English";
    EXPECT_NE(
        file.find("DHCPHostName=\"" + ToCodePage("ラベル=1", CodePage::Japanese932) + "\"\r\n"),
        std::string::npos);
    EXPECT_EQ(file.find("ラベル"), std::string::npos) << "not UTF-8";

    Item("DHCPHostName").textValue = "";
    ScriptedInteraction importing;
    EXPECT_TRUE(Import(path, importing).ok);
    EXPECT_EQ(Item("DHCPHostName").textValue, "ラベル=1");
    EXPECT_EQ(Item("ControlCode").textValue, "Manual");
}

}  // namespace
}  // namespace rvq::params
