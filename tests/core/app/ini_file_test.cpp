#include "core/app/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "support/temp_dir.h"

namespace rvq {
namespace {

TEST(IniFile, LookupIgnoresCaseTrimsAndTakesTheFirstDuplicate) {
    const IniFile ini = IniFile::Parse(
        "; comment\r\n[Printer]\r\n  Device = LAN  \r\ndevice=USB\r\nQuoted=\"a b\"\r\nEmpty=\r\n"
        "[printer]\r\nPrinter=second section\r\n");
    EXPECT_EQ(ini.Find("PRINTER", "DEVICE"), "LAN");
    EXPECT_EQ(ini.Find("printer", "quoted"), "a b");
    EXPECT_EQ(ini.Find("Printer", "Empty"), "");
    EXPECT_EQ(ini.Get("Printer", "Empty", "dflt"), "dflt");
    EXPECT_FALSE(ini.Find("Printer", "Printer"));  // only the first [Printer] counts
    EXPECT_FALSE(ini.Find("Missing", "Device"));
}

TEST(IniFile, ValuesAreCutTo511Characters) {
    const std::string longValue(600, 'x');
    const std::string multibyte = std::string(510, 'a') + "\xC3\xA9\xC3\xA9";  // 512 characters
    const IniFile ini = IniFile::Parse("[S]\nA=" + longValue + "\nB=" + multibyte + "\n");
    EXPECT_EQ(ini.Find("S", "A")->size(), 511u);
    EXPECT_EQ(*ini.Find("S", "B"), std::string(510, 'a') + "\xC3\xA9");
}

TEST(IniFile, EditsKeepOtherLinesAndLineEnds) {
    IniFile ini = IniFile::Parse("[A]\r\n; keep me\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ini.Set("a", "X", "10");  // replace in place
    ini.Set("A", "z", "3");   // appended after the last non-blank line of [A]
    ini.Set("C", "w", "4");   // new section at the end
    ini.DeleteSection("b");
    EXPECT_EQ(ini.Serialize(), "[A]\r\n; keep me\r\nX=10\r\nz=3\r\n\r\n[C]\r\nw=4\r\n");

    IniFile unix = IniFile::Parse("[A]\nx=1\n");
    unix.Set("A", "x", "2");
    EXPECT_EQ(unix.Serialize(), "[A]\nx=2\n");
}

TEST(IniFile, LegacyAndUtf16TextRoundTrips) {
    // "Café" in code page 1252 is read as UTF-8 text and written back as 1252.
    IniFile legacy = IniFile::Parse("[S]\r\nName=Caf\xE9\r\n");
    EXPECT_EQ(legacy.Find("S", "Name"), "Caf\xC3\xA9");
    legacy.Set("S", "Other", "\xC3\xA9");
    EXPECT_EQ(legacy.Serialize(), "[S]\r\nName=Caf\xE9\r\nOther=\xE9\r\n");

    const std::string utf16("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22);
    const IniFile wide = IniFile::Parse(utf16);
    EXPECT_EQ(wide.Find("S", "k"), "\xC3\xA9");
    EXPECT_EQ(wide.Serialize(), utf16);

    // A lone surrogate or a cut-off last unit spoils only its own character.
    const std::string broken("\xFF\xFE[\0S\0]\0\n\0a\0=\0\x00\xD8\n\0b\0=\0x\0\n\0c", 27);
    const IniFile spoiled = IniFile::Parse(broken);
    EXPECT_EQ(spoiled.Find("S", "a"), "\xEF\xBF\xBD");
    EXPECT_EQ(spoiled.Find("S", "b"), "x");
    EXPECT_EQ(IniFile::Parse(spoiled.Serialize()).Find("S", "b"), "x");
}

TEST(IniFile, StrayCarriageReturnsDoNotChangeTheLineEndsOfASavedFile) {
    // Found by fuzzing: a line ending in CR CR in a LF file came back with a
    // CR LF line end, and the file changed again on the next save.
    const std::string once = IniFile::Load(RVQ_FIXTURES_DIR "/ini/stray_cr.ini").Serialize();
    EXPECT_EQ(once.find("\r\n"), std::string::npos);
    EXPECT_EQ(IniFile::Parse(once).Serialize(), once);
    EXPECT_EQ(IniFile::Parse("[S]\nk=v\r\r").Serialize(), "[S]\nk=v\n");
}

TEST(IniFile, MissingFileReadsEmptyAndSaveIsAtomic) {
    test::TempDir dir;
    EXPECT_FALSE(IniFile::Load(dir.File("none.ini")).Find("S", "k"));

    const std::string path = dir.Write("a.ini", "[S]\nk=old\n");
    ::chmod(path.c_str(), 0640);
    IniFile ini = IniFile::Load(path);
    ini.Set("S", "k", "new");
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(test::ReadAll(path), "[S]\nk=new\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // an existing file keeps its permissions

    // A failed write leaves the old file as it was.
    EXPECT_FALSE(ini.Save(dir.File("no-such-folder/a.ini")));
    EXPECT_EQ(test::ReadAll(path), "[S]\nk=new\n");
}

TEST(IniFile, SetRefusesWhatWouldChangeTheFileStructure) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"S", "k", "a\r\n[HEADER]\r\nTITLE=other"},
        {"S", "k", "a\nb"},
        {"S", "k", "a\r"},
        {"S", "k\nx", "v"},
        {"S", "[T]", "v"},
        {"S", " [T", "v"},
        {"S", "a=b", "v"},
        {"S", "", "v"},
        {"S]x", "k", "v"},
        {"S\n[T", "k", "v"},
    };
    test::TempDir dir;
    const std::string original = "[S]\nk=old\n";
    const std::string path = dir.Write("a.ini", original);
    for (const auto& c : refused) {
        IniFile ini = IniFile::Load(path);
        EXPECT_FALSE(ini.Set(c.section, c.key, c.value))
            << c.section << "/" << c.key << "/" << c.value;
        EXPECT_TRUE(ini.refusedSet());
        EXPECT_EQ(ini.Serialize(), original);
        // A later good change does not make the file writable again.
        EXPECT_TRUE(ini.Set("S", "k", "new"));
        const WriteResult saved = ini.Save(path);
        EXPECT_FALSE(saved);
        EXPECT_EQ(saved.systemError, EINVAL);
        EXPECT_EQ(test::ReadAll(path), original);
    }

    // Values that only look odd are stored and read back as they were.
    IniFile ini;
    for (const char* value : {"[X]", "a=b", "=", "; not a comment", "tab\there"}) {
        EXPECT_TRUE(ini.Set("S", "k", value));
        EXPECT_EQ(IniFile::Parse(ini.Serialize()).Find("S", "k"), value);
    }
    EXPECT_TRUE(ini.Save(dir.File("b.ini")));
}

}  // namespace
}  // namespace rvq
