#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/app/app_context.h"
#include "core/app/connection.h"
#include "core/app/ini_file.h"
#include "core/app/machine_store.h"
#include "core/app/tool_settings_file.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

class ToolSettingsTest : public ::testing::Test {
protected:
    ToolSettings Load(const std::string& ini) {
        dir_.Write("VQTool.INI", ini);
        return LoadToolSettings(dir_.File("VQTool.INI"), dir_.path(), strings_);
    }
    test::TempDir dir_;
    Strings strings_;
};

TEST_F(ToolSettingsTest, TitleCheck) {
    const struct {
        const char* ini;
        bool loaded;
    } cases[] = {
        {"[HEADER]\nTITLE=R-VQ Setting Tool\nVERSION=anything\n", true},
        {"[HEADER]\nTITLE=r-vq setting tool\n", false},  // letter case matters
        {"[HEADER]\nTITLE=Other Tool\n", false},
        {"[HEADER]\nVERSION=V1\n", true},  // no title: defaults
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(Load(c.ini).loaded, c.loaded) << c.ini;

    // A missing file is accepted with the built-in defaults.
    const ToolSettings none =
        LoadToolSettings(dir_.File("missing/VQTool.INI"), dir_.path(), strings_);
    EXPECT_TRUE(none.loaded);
    EXPECT_EQ(none.interfaceName, "USB");
}

TEST_F(ToolSettingsTest, DefaultsWhenKeysAreMissing) {
    const ToolSettings t = Load("");
    EXPECT_EQ(t.language, "ENG");
    EXPECT_EQ(t.printerModel, "R-VQ4T1-T");
    EXPECT_EQ(t.destination, "QM");
    EXPECT_EQ(t.comPort, 1);  // from the "1 bit" default text
    EXPECT_EQ(t.baudRate, "9600 bps");
    EXPECT_EQ(t.flowControl, "XON/XOF + READY/BUSY AUTO");
    EXPECT_EQ(t.usbProductIds, std::vector<int>{83});
    EXPECT_EQ(t.lanHost, "192.168.10.20");
    EXPECT_EQ(t.lanPort, 8000);
    EXPECT_EQ(t.controlCodes, (ControlCodes{0x1B, 0x0A, 0x00}));
    EXPECT_EQ(t.timeoutSeconds, 20);
    EXPECT_EQ(t.slash1[0], 5);
    EXPECT_EQ(t.slash1[1], 1);
    EXPECT_EQ(t.slash3[0], 15);
    EXPECT_EQ(t.slash3[1], 3);
    EXPECT_EQ(t.char200Path, dir_.File("CHAR_200.DAT"));
    EXPECT_EQ(t.barcode600Path, dir_.File("BARCODE_600.DAT"));
    EXPECT_FALSE(t.downloadMode);
    EXPECT_TRUE(t.multiLanHosts.empty());
}

TEST_F(ToolSettingsTest, ReadingRules) {
    const ToolSettings t = Load(
        "[COM]\nPARITY=EVEN\n"
        "[USB]\nPRODUCTID1=83\nPRODUCTID3=85\nSERIALNO=A1\n"
        "[LAN "
        "MULTI]\nCOUNT=3\nNAME1=10.0.0.1\nPORT1=9100\nNAME2=\nPORT2=9101\nNAME3=10.0.0.3\nPORT3="
        "9102\n"
        "[COMMAND]\nTYPE={ | }\nCODE1=7b\nCODE2=7C\nCODE3=0x7d\n"
        "[TEST PRINT]\nSLASH1=7\nSLASH3=20,4\nCHAR300=mine.dat\n"
        "[DOWNLOAD MODE]\nDLMODE=1\n[ENHANCE]\nTYPEFREE=1\n");
    EXPECT_EQ(t.parity, "Even");
    EXPECT_EQ(t.usbProductIds, std::vector<int>{83});  // reading stops at the gap
    EXPECT_EQ(t.usbSerialNumber, "A1");
    EXPECT_EQ(t.multiLanHosts, std::vector<std::string>{"10.0.0.1"});
    EXPECT_EQ(t.multiLanPorts, std::vector<int>{9100});
    EXPECT_EQ(t.controlCodes, (ControlCodes{0x7B, 0x7C, 0x7D}));
    EXPECT_EQ(t.slash1[0], 7);
    EXPECT_EQ(t.slash1[1], 0);  // a missing part reads as 0
    EXPECT_EQ(t.slash3[0], 20);
    EXPECT_EQ(t.char300Path, dir_.File("mine.dat"));
    EXPECT_TRUE(t.downloadMode);
    EXPECT_TRUE(t.typeFree);

    const struct {
        const char* stored;
        const char* loaded;
    } parities[] = {{"NONE", "None"}, {"ODD", "Odd"}, {"even", "even"}, {"Mark", "Mark"}};
    for (const auto& p : parities) {
        EXPECT_EQ(Load(std::string("[COM]\nPARITY=") + p.stored + "\n").parity, p.loaded);
    }
}

TEST_F(ToolSettingsTest, EqualControlCodesAreNeverUsed) {
    // Bytes, not texts: "1b" and "1B" are the same code.
    const ToolSettings t = Load("[COMMAND]\nTYPE=Manual\nCODE1=1b\nCODE2=1B\nCODE3=0A\n");
    EXPECT_TRUE(t.equalCodesReplaced);
    EXPECT_EQ(t.controlCodes, (ControlCodes{0x1B, 0x0A, 0x00}));
    EXPECT_EQ(t.controlCodeType, "Manual");
    for (const auto& [field, source] : t.sources) {
        if (field == "code1" || field == "code2" || field == "code3") {
            EXPECT_EQ(source, SettingSource::Default) << field;
        }
    }
    const ToolSettings distinct = Load("[COMMAND]\nTYPE=Manual\nCODE1=02\nCODE2=03\nCODE3=04\n");
    EXPECT_FALSE(distinct.equalCodesReplaced);
    EXPECT_EQ(distinct.controlCodes, (ControlCodes{0x02, 0x03, 0x04}));
}

// A name the tool does not know is kept: saving writes it back unchanged.
TEST_F(ToolSettingsTest, InterfaceNamesAreWrittenBackAsRead) {
    for (const char* name : {"LAN", "COM12", "Multi LAN", "LPT2", "LAN2", "FOO", "lan"}) {
        ToolSettings t = Load(std::string("[HEADER]\nTITLE=R-VQ Setting Tool\n[PRINTER]\nDEVICE=") +
                              name + "\n");
        ASSERT_TRUE(t.settingsWritable);
        EXPECT_EQ(t.interfaceName.text(), name);
        ASSERT_TRUE(SaveToolSettings(t, strings_));
        EXPECT_EQ(IniFile::Load(t.iniPath).Find("PRINTER", "DEVICE"), name) << '"' << name << '"';
    }
}

TEST_F(ToolSettingsTest, SaveWritesTheStoredKeysAndReloadsTheSame) {
    ToolSettings t = Load(
        "[HEADER]\nTITLE=R-VQ Setting Tool\n"
        "[LAN MULTI]\nCOUNT=3\nNAME1=10.0.0.1\nPORT1=9100\nNAME2=\nPORT2=9101\nNAME3=h3\nPORT3=1\n"
        "[USB]\nPRODUCTID1=84\n[Custom]\nKeep=yes\n");
    ASSERT_TRUE(t.settingsWritable);
    t.interfaceName = "COM3";
    t.controlCodes = {0x7B, 0x0A, 0x00};
    ASSERT_TRUE(SaveToolSettings(t, strings_));

    const IniFile saved = IniFile::Load(t.iniPath);
    EXPECT_EQ(saved.Find("LAN MULTI", "COUNT"), "1");  // the entries actually read
    EXPECT_FALSE(saved.Find("LAN MULTI", "NAME3"));
    EXPECT_EQ(saved.Find("COMMAND", "CODE1"), "7B");
    EXPECT_EQ(saved.Find("COMMAND", "CODE3"), "00");
    EXPECT_EQ(saved.Find("PRINTER", "DEVICE"), "COM3");
    EXPECT_EQ(saved.Find("Custom", "Keep"), "yes");
    EXPECT_EQ(saved.Find("USB", "PRODUCTID1"), "84");  // read-only keys stay as they were

    const ToolSettings again = LoadToolSettings(t.iniPath, dir_.path(), strings_);
    EXPECT_EQ(again.interfaceName, "COM3");
    EXPECT_EQ(again.controlCodes, t.controlCodes);
    EXPECT_EQ(again.multiLanHosts, t.multiLanHosts);
    EXPECT_EQ(again.lanPort, t.lanPort);
}

TEST_F(ToolSettingsTest, ALineBreakInAValueFailsTheSaveAndKeepsTheFile) {
    const std::string original = "[HEADER]\nTITLE=R-VQ Setting Tool\n[LAN]\nNAME=10.0.0.1\n";
    ToolSettings t = Load(original);
    t.lanHost = "10.0.0.2\r\n[HEADER]\r\nTITLE=Other";
    EXPECT_FALSE(SaveToolSettings(t, strings_));
    EXPECT_EQ(test::ReadAll(t.iniPath), original);

    t.lanHost = "10.0.0.2";
    t.multiLanHosts = {"a\nb"};
    t.multiLanPorts = {9100};
    EXPECT_FALSE(SaveToolSettings(t, strings_));
    EXPECT_EQ(test::ReadAll(t.iniPath), original);
}

// A VQTool.INI that links to a shared file saves into that file.
TEST_F(ToolSettingsTest, ALinkedSettingsFileIsSavedThroughTheLink) {
    ASSERT_EQ(::mkdir(dir_.File("shared").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir_.File("work").c_str(), 0755), 0);
    dir_.Write("shared/VQTool.INI", "[LAN]\r\nNAME=10.0.0.1\r\n");
    std::filesystem::create_symlink("../shared/VQTool.INI", dir_.File("work/VQTool.INI"));
    ToolSettings t = LoadToolSettings(dir_.File("work/VQTool.INI"), dir_.File("work"), strings_);
    ASSERT_TRUE(t.settingsWritable);
    EXPECT_EQ(t.lanHost, "10.0.0.1");
    t.lanHost = "10.0.0.2";
    ASSERT_TRUE(SaveToolSettings(t, strings_));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("work/VQTool.INI")));
    EXPECT_EQ(IniFile::Load(dir_.File("shared/VQTool.INI")).Find("LAN", "NAME"), "10.0.0.2");
}

TEST_F(ToolSettingsTest, NothingIsWrittenWhenSettingsAreNotWritable) {
    ToolSettings t = Load("[PRINTER]\nDEVICE=LAN\n");
    t.settingsWritable = false;
    t.interfaceName = "USB";
    EXPECT_TRUE(SaveToolSettings(t, strings_));
    EXPECT_EQ(test::ReadAll(t.iniPath), "[PRINTER]\nDEVICE=LAN\n");

    if (::geteuid() != 0) {  // root may write anywhere
        ::chmod(t.iniPath.c_str(), 0444);
        EXPECT_FALSE(SettingsWritable(t.iniPath));
    }
}

TEST(StoredPassword, EncodesAndDecodes) {
    EXPECT_EQ(EncodeStoredPassword("abc"), "IDIEIF");
    EXPECT_EQ(DecodeStoredPassword("IDIEIF"), "abc");
    EXPECT_EQ(DecodeStoredPassword("IDIEIFX"), "abc");  // odd length: last character dropped
    EXPECT_EQ(DecodeStoredPassword("I"), "");
    EXPECT_EQ(EncodeStoredPassword(""), "");
    for (const std::string p : {"Passw0rd!", "~ {|}", "caf\xC3\xA9"}) {
        EXPECT_EQ(DecodeStoredPassword(EncodeStoredPassword(p)), p) << p;
    }
    // Garbage never yields malformed text.
    EXPECT_EQ(DecodeStoredPassword("  "), "\xEF\xBF\xBD");
}

TEST(StoredPassword, MachineStoreIsPrivate) {
    test::TempDir dir;
    const std::string store = MachineStorePath(dir.File("VQTool.INI"));
    EXPECT_EQ(LoadPassword(store), "");
    ASSERT_TRUE(SavePassword(store, "secret"));
    EXPECT_EQ(LoadPassword(store), "secret");
    EXPECT_NE(test::ReadAll(store).find("Password=" + EncodeStoredPassword("secret")),
              std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(store.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    Strings strings;
    dir.Write("VQTool.INI", "");
    EXPECT_EQ(LoadToolSettings(dir.File("VQTool.INI"), dir.path(), strings).password, "secret");

    // A store others could read is made private before a new password goes in.
    ASSERT_EQ(::chmod(store.c_str(), 0644), 0);
    ASSERT_TRUE(SavePassword(store, "other"));
    ASSERT_EQ(::stat(store.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(LoadPassword(store), "other");

    // Created private whatever the umask.
    const std::string fresh = MachineStorePath(dir.File("sub/VQTool.INI"));
    ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0700), 0);
    const mode_t oldMask = ::umask(0);
    const bool saved = static_cast<bool>(SavePassword(fresh, "x"));
    ::umask(oldMask);
    ASSERT_TRUE(saved);
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Connection, UsbFilter) {
    EXPECT_EQ(BuildUsbFilter({83, 84}, "A1"), "PRODUCTID=0083,PRODUCTID=0084,SERIALNO=A1");
    EXPECT_EQ(BuildUsbFilter({}, "A1"), "SERIALNO=A1");
    EXPECT_EQ(BuildUsbFilter({83}, ""), "PRODUCTID=0083");
    EXPECT_EQ(BuildUsbFilter({}, ""), "");
}

TEST(Connection, SettingsStringPerInterface) {
    const Strings strings;
    ToolSettings t;
    t.usbProductIds = {83};
    t.usbSerialNumber = "S9";
    t.lanHost = "printer.local";
    t.lanPort = 9100;
    t.multiLanHosts = {"10.0.0.1", "10.0.0.2"};
    t.multiLanPorts = {8000, 8001};
    t.baudRate = "19200 bps";
    t.parity = "even";
    t.dataLength = "7 bits";
    t.stopBit = "2 bits";
    t.flowControl = "READY/BUSY";

    const struct {
        const char* interfaceName;
        std::size_t index;
        const char* name;
        const char* settings;
    } cases[] = {
        {"USB", 0, "USB", "PRODUCTID=0083,SERIALNO=S9"},
        {"LAN", 0, "LAN", "printer.local,9100"},
        {"COM2", 0, "COM2", "19200,e,7,2,4"},
        {"Multi LAN", 1, "LAN", "10.0.0.2,8001"},
        {"LPT1", 0, "LPT1", ""},
    };
    for (const auto& c : cases) {
        t.interfaceName = c.interfaceName;
        const Connection conn = BuildConnection(t, strings, c.index);
        EXPECT_EQ(conn.interfaceName, c.name) << c.interfaceName;
        EXPECT_EQ(conn.settings, c.settings) << c.interfaceName;
    }
    t.interfaceName = "USB";
    t.usbDevicePath = "\\\\?\\usb#vid_7a3c&pid_0053#S9#/dev/usb/lp0";
    EXPECT_EQ(BuildConnection(t, strings).settings, t.usbDevicePath);
}

TEST(Connection, FlowIndexMatchesTheFiveTexts) {
    const Strings strings;
    ToolSettings t;
    const struct {
        const char* text;
        const char* index;
    } cases[] = {{"XON/XOFF + READY/BUSY AUTO", "0"},
                 {"XON/XOFF AUTO", "1"},
                 {"READY/BUSY RTS", "2"},
                 {"XON/XOFF", "3"},
                 {"READY/BUSY", "4"},
                 {"XON/XOF + READY/BUSY AUTO", "0"},
                 {"xon/xoff", "0"}};
    for (const auto& c : cases) {
        t.flowControl = c.text;
        EXPECT_EQ(FlowIndex(t, strings), c.index) << c.text;
    }
}

TEST(Connection, ApplyInterfaceChange) {
    ToolSettings t;
    t.interfaceName = "COM1";
    ApplyInterfaceChange(t, "38400,O,7,2,1");
    EXPECT_EQ(t.baudRate, "38400");
    EXPECT_EQ(t.parity, "Odd");
    EXPECT_EQ(t.dataLength, "7");
    EXPECT_EQ(t.stopBit, "2");
    ApplyInterfaceChange(t, "9600,N,8,1,0");
    EXPECT_EQ(t.parity, "None");

    t.interfaceName = "USB";
    ApplyInterfaceChange(t, "PRODUCTID=0083,SERIALNO=XY12");
    EXPECT_EQ(t.usbSerialNumber, "XY12");
    ApplyInterfaceChange(t, "PRODUCTID=0083");
    EXPECT_EQ(t.usbSerialNumber, "");

    t.interfaceName = "LAN";
    ApplyInterfaceChange(t, "10.1.2.3,9100");
    EXPECT_EQ(t.lanHost, "10.1.2.3");
    EXPECT_EQ(t.lanPort, 9100);
}

TEST(WindowsVersion, Classification) {
    const struct {
        int platform, major, minor;
        bool workstation;
        const char* sp;
        int expected;
    } cases[] = {{1, 4, 0, true, "", 1},   {1, 4, 10, true, " A ", 3}, {1, 4, 10, true, "B", 2},
                 {1, 4, 90, true, "", 4},  {2, 4, 0, true, "", 5},     {2, 5, 0, true, "", 6},
                 {2, 5, 1, true, "", 7},   {2, 5, 2, false, "", 8},    {2, 6, 0, true, "", 9},
                 {2, 6, 1, true, "", 10},  {2, 6, 3, true, "", 13},    {2, 6, 0, false, "", 11},
                 {2, 6, 1, false, "", 12}, {2, 6, 2, false, "", 0},    {2, 10, 0, true, "", 0},
                 {3, 4, 0, true, "", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyWindowsVersion(c.platform, c.major, c.minor, c.workstation, c.sp),
                  c.expected)
            << c.platform << " " << c.major << "." << c.minor;
    }
}

TEST(Language, JapaneseTableIsLoadedOverEnglish) {
    test::TempDir dir;
    AppContext context;
    context.settings.locations = FileLocations::InFolder(dir.File("VQTool.INI"), dir.path());
    context.settings.language = "JPN";
    EXPECT_FALSE(SelectLanguage(context));  // no table: English stays, the flag stays set
    EXPECT_TRUE(context.isJapanese);
    EXPECT_EQ(context.strings.Get(1200), "Date,Time,Interface,Processing,Process,Detailed status");

    std::filesystem::create_directories(dir.File("lang"));
    dir.Write("lang/VQTool_Jpn.strings", "1200\t\xE6\x97\xA5\xE4\xBB\x98\n");
    EXPECT_TRUE(SelectLanguage(context));
    EXPECT_EQ(context.strings.Get(1200), "\xE6\x97\xA5\xE4\xBB\x98");
    EXPECT_EQ(context.strings.Get(505), "LAN MULTI");  // untranslated entries stay English

    // Not beside the settings: the folder of the data files in use is asked next.
    test::TempDir elsewhere;
    AppContext fallback;
    fallback.settings.programFolder = elsewhere.path();
    fallback.settings.language = "JPN";
    EXPECT_TRUE(SelectLanguage(fallback, dir.path()));
    EXPECT_EQ(fallback.strings.Get(1200), "\xE6\x97\xA5\xE4\xBB\x98");

    AppContext english;
    english.settings.language = "jpn";  // only the exact text selects Japanese
    EXPECT_FALSE(SelectLanguage(english));
    EXPECT_FALSE(english.isJapanese);
}

}  // namespace
}  // namespace rvq

namespace rvq {
namespace {

TEST(SampleData, ShippedSettingsFileLoadsEveryKey) {
    const Strings strings;
    const std::string data = std::string(RVQ_SOURCE_DIR) + "/data";
    const ToolSettings t = LoadToolSettings(data + "/VQTool.INI", data, strings);
    ASSERT_TRUE(t.loaded);
    EXPECT_EQ(t.interfaceName, "LAN");
    EXPECT_EQ(t.flowControl, "XON/XOFF + READY/BUSY AUTO");
    EXPECT_EQ(t.char600Path, data + "/CHAR_600.DAT");
    for (const auto& [field, source] : t.sources) {
        if (field == "usbSerialNumber" || field == "fontToolPath") continue;  // empty in the sample
        EXPECT_EQ(source, SettingSource::File) << field << " is not in the sample file";
    }
}

}  // namespace
}  // namespace rvq
