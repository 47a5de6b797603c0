#include <gtest/gtest.h>
#include <sys/stat.h>

#include "bmp_writer.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/builders/gaiji_file.h"
#include "test_support.h"

namespace rvq {
namespace {

const std::vector<std::string> kPicture = {
    "#......#",  // 81
    "#####.#.",  // FA
    "........",  // 00
    "########",  // FF
    "#.#.#.#.",  // AA
    ".#.#.#.#",  // 55
    "...##...",  // 18
    "#.......",  // 80
};

const ControlCodes kAutoCodes{'{', '|', '}'};

TEST(MonoBitmap, ReadsRowsTopFirstWithSetBitsBlack) {
    const std::vector<std::string> picture = {"#...#", ".#.#.", "..#.."};
    const std::string expected("\x88\x50\x20", 3);
    const struct {
        const char* what;
        test::BmpOptions options;
    } cases[] = {
        {"bottom-up", {}},
        {"black first", {.blackFirst = true}},
        {"top-down", {.topDown = true}},
        {"black first, top-down, dirty padding",
         {.blackFirst = true, .topDown = true, .padding = '\x5A'}},
    };
    for (const auto& c : cases) {
        const auto bitmap = ReadMonoBitmap(test::MakeBmp(picture, c.options));
        ASSERT_TRUE(bitmap) << c.what;
        EXPECT_EQ(bitmap->width, 5) << c.what;
        EXPECT_EQ(bitmap->height, 3) << c.what;
        EXPECT_EQ(bitmap->rows, expected) << c.what;
    }
}

TEST(MonoBitmap, RejectsHeadersThatDoNotHold) {
    const std::string good = test::MakeBmp(kPicture);
    auto with = [&](std::size_t at, const std::string& bytes) {
        std::string f = good;
        f.replace(at, bytes.size(), bytes);
        return f;
    };
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"header only", good.substr(0, 54)},
        {"rows cut short", good.substr(0, good.size() - 1)},
        {"not BM", with(0, "BN")},
        {"4 bits per pixel", with(28, std::string("\x04", 1))},
        {"width 0", with(18, std::string(4, '\0'))},
        {"negative width", with(18, "\xFF\xFF\xFF\xFF")},
        {"height 0", with(22, std::string(4, '\0'))},
        {"lowest height", with(22, std::string("\x00\x00\x00\x80", 4))},
        {"huge height", with(22, std::string("\xFF\xFF\xFF\x7F", 4))},
        {"data offset past the end", with(10, "\xFF\xFF\xFF\xFF")},
    };
    for (const auto& c : cases) EXPECT_FALSE(ReadMonoBitmap(c.file)) << c.what;
    EXPECT_TRUE(ReadMonoBitmap(good));
}

TEST(GaijiRecord, FlashRecordOfAnEightByEightCharacter) {
    const auto bitmap = ReadMonoBitmap(test::MakeBmp(kPicture));
    ASSERT_TRUE(bitmap);
    GaijiRecord record{.type = 1, .code = 0x41, .spacing = 8};
    EXPECT_EQ(BuildGaijiRecord(record, *bitmap, GaijiLocation::Flash, kAutoCodes),
              "{XD;S0,01,A,000,000,008,008,008,0,81?:00??::551880|}");
}

TEST(GaijiRecord, UsbRecordWithATwoByteCode) {
    const auto bitmap = ReadMonoBitmap(test::MakeBmp({"#########"}));
    ASSERT_TRUE(bitmap);
    GaijiRecord record{.type = 51, .code = 0x2141, .left = 12, .top = 1000, .spacing = 9};
    const std::string out = BuildGaijiRecord(record, *bitmap, GaijiLocation::Usb, {});
    EXPECT_EQ(out, std::string("\x1bXA;1,51,!A,0012,1000,0009,0001,0009,0,??80\n\0", 45));
}

TEST(GaijiRules, CodesAreKeptInTheirTypeRange) {
    const struct {
        int type;
        int typed;
        const char* shown;
    } cases[] = {
        {1, 0x10, "HEX(20)"},       {40, 0x41, "HEX(41)"},     {42, 0x7F, "HEX(7E)"},
        {41, 0x3F, "HEX(40)"},      {44, 0xFD, "HEX(FC)"},     {51, 0x1FFF, "HEX(2020)"},
        {55, 0x10000, "HEX(FFFF)"}, {53, 0xA1A1, "HEX(A1A1)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGaijiCode(c.type, ReplaceGaijiCode(c.type, c.typed)), c.shown)
            << c.type << " " << c.typed;
    }
    EXPECT_EQ(FormatGaijiCode(44, DefaultGaijiCode(44)), "HEX(40)");
    EXPECT_EQ(GaijiTypesFor(GaijiLocation::Flash).back(), 51);
    EXPECT_EQ(GaijiTypesFor(GaijiLocation::Usb).size(), 49u);
}

TEST(GaijiRules, SizesByLocationAndType) {
    const GaijiLimits flash = GaijiLimitsFor(GaijiLocation::Flash, 832);
    const GaijiLimits usb = GaijiLimitsFor(GaijiLocation::Usb, 832);
    const struct {
        int width, height, type;
        bool flashFits, usbFits;
    } cases[] = {
        {8, 1000, 1, false, true},  {720, 720, 1, true, true},  {721, 8, 1, false, true},
        {833, 8, 1, false, false},  {8, 5461, 1, false, false}, {16, 16, 41, true, true},
        {16, 17, 41, false, false}, {100, 24, 42, true, true},  {32, 32, 43, true, true},
        {48, 47, 44, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GaijiBitmapSizeFits(c.width, c.height, c.type, flash), c.flashFits)
            << c.width << "x" << c.height;
        EXPECT_EQ(GaijiBitmapSizeFits(c.width, c.height, c.type, usb), c.usbFits)
            << c.width << "x" << c.height;
    }
}

TEST(GaijiRules, FolderFileNames) {
    const struct {
        const char* name;
        GaijiLocation location;
        bool accepted;
        int type = 0, code = 0, left = 0, top = 0, spacing = 0;
    } cases[] = {
        {"G_0141.BMP", GaijiLocation::Flash, true, 1, 0x41, 0, 0, 7},
        {"g_0141.bmp", GaijiLocation::Flash, true, 1, 0x41, 0, 0, 7},
        {"G_41F0.BMP", GaijiLocation::Flash, true, 41, 0xF0, 0, 0, 0},
        {"G_01A1_2_3_16.BMP", GaijiLocation::Flash, true, 1, 0xA1, 2, 3, 16},
        {"G_51A1B2.BMP", GaijiLocation::Flash, true, 51, 0xA1B2, 0, 0, 7},
        {"G_52A1B2.BMP", GaijiLocation::Usb, true, 52, 0xA1B2, 0, 0, 7},
        {"G_0141_0_5460_832.BMP", GaijiLocation::Usb, true, 1, 0x41, 0, 5460, 832},
        {"G_52A1B2.BMP", GaijiLocation::Flash, false},
        {"G_01_A.BMP", GaijiLocation::Flash, false},
        {"G_0110.BMP", GaijiLocation::Flash, false},
        {"G_417F.BMP", GaijiLocation::Flash, false},
        {"G_4741.BMP", GaijiLocation::Flash, false},
        {"G_0041.BMP", GaijiLocation::Flash, false},
        {"G_41F0_0_0_0.BMP", GaijiLocation::Flash, false},
        {"G_0141_720_0_0.BMP", GaijiLocation::Flash, false},
        {"G_0141_0_0.BMP", GaijiLocation::Flash, false},
        {"G_0141_0_0_1000.BMP", GaijiLocation::Flash, false},
        {"G_0141_1_2_3_.BMP", GaijiLocation::Flash, false},
        {"G_0141_00001_2_3.BMP", GaijiLocation::Flash, false},
        {"G_014.BMP", GaijiLocation::Flash, false},
        {"X_0141.BMP", GaijiLocation::Flash, false},
        {"G_0141.BMPX", GaijiLocation::Flash, false},
    };
    for (const auto& c : cases) {
        const auto record =
            ParseGaijiFileName(c.name, c.location, GaijiLimitsFor(c.location, 832), 7);
        ASSERT_EQ(record.has_value(), c.accepted) << c.name;
        if (!record) continue;
        EXPECT_EQ(record->type, c.type) << c.name;
        EXPECT_EQ(record->code, c.code) << c.name;
        EXPECT_EQ(record->left, c.left) << c.name;
        EXPECT_EQ(record->top, c.top) << c.name;
        EXPECT_EQ(record->spacing, c.spacing) << c.name;
    }
}

TEST(GaijiFolder, AcceptsNamedMonochromeBitmapsThatFit) {
    test::TempDir dir;
    Strings strings;
    dir.Write("G_0141.BMP", test::MakeBmp(kPicture));
    dir.Write("G_41F0.BMP", test::MakeBmp(test::Blank(24, 24)));
    dir.Write("G_41F1.BMP", test::MakeBmp(test::Blank(16, 16)));
    dir.Write("G_01_A.BMP", test::MakeBmp(kPicture));
    dir.Write("G_0142.BMP", "not a bitmap");
    dir.Write("G_0143.BMP/G_0144.BMP", test::MakeBmp(kPicture));
    const GaijiFolderScan scan = ScanGaijiFolder(dir.path(), GaijiLocation::Flash, 832, 0, strings);
    ASSERT_TRUE(scan.result);
    ASSERT_EQ(scan.records.size(), 2u);
    EXPECT_EQ(scan.records[0].path, dir.File("G_0141.BMP"));
    EXPECT_EQ(scan.records[0].width, 8);
    EXPECT_EQ(scan.records[1].type, 41);
    EXPECT_EQ(scan.records[1].code, 0xF1);
    EXPECT_EQ(scan.records[1].spacing, 0);

    test::TempDir none;
    none.Write("G_0141.TXT", "x");
    EXPECT_EQ(ScanGaijiFolder(none.path(), GaijiLocation::Flash, 832, 0, strings).result.messageId,
              893);
}

TEST(GaijiCheck, ChoosesBetweenNotMonochromeAndTooLarge) {
    test::TempDir dir;
    Strings strings;
    const GaijiLimits flash = GaijiLimitsFor(GaijiLocation::Flash, 832);
    const GaijiLimits usb = GaijiLimitsFor(GaijiLocation::Usb, 832);
    const std::string tall = dir.Write("tall.bmp", test::MakeBmp(test::Blank(8, 1000)));
    const std::string bad = dir.Write("bad.bmp", test::MakeBmp(test::Blank(8, 8)).substr(0, 60));
    EXPECT_EQ(CheckGaijiBitmap(tall, 1, flash, strings).result.messageId, 892);
    EXPECT_TRUE(CheckGaijiBitmap(tall, 1, usb, strings).result);
    EXPECT_EQ(CheckGaijiBitmap(bad, 1, usb, strings).result.messageId, 891);
    EXPECT_EQ(CheckGaijiBitmap(dir.File("missing.bmp"), 1, usb, strings).result.messageId, 891);
}

TEST(ConfirmationPrint, Commands) {
    const struct {
        ConfirmationPrint print;
        int type, code;
        GaijiLocation location;
        std::string expected;
    } cases[] = {
        {{.magnification = 1, .labelWidthMm = 104, .labelLengthMm = 74, .modelName = "R-VQ4T1-G"},
         1,
         0x41,
         GaijiLocation::Flash,
         "{D0760,1040,0740|}\r\n{C|}\r\n{PC000;0010,0010,10,10,010,00,B|}\r\n{RC000;A|}\r\n"
         "{XS;I,0001,0000C3200|}\r\n"},
        {{.magnification = 4,
          .method = PrintMethod::DirectThermalHeadUp,
          .labelWidthMm = 60,
          .labelLengthMm = 998,
          .modelName = "R-VQ4T1-G"},
         42,
         0x50,
         GaijiLocation::Usb,
         "{D10000,0600,09980|}\r\n{C|}\r\n{PC000;0010,0200,10,20,V1,00,B|}\r\n{RC000;\xF0P|}\r\n"
         "{XS;I,0001,0000C3300|}\r\n"},
        {{.magnification = 0,
          .method = PrintMethod::ThermalTransfer,
          .labelWidthMm = 50,
          .labelLengthMm = 997,
          .modelName = "R-VQ4D2-G"},
         51,
         0x2141,
         GaijiLocation::Flash,
         "{D9990,0500,9970|}\r\n{C|}\r\n{PC000;0010,0010,05,05,510,00,B|}\r\n{RC000;!A|}\r\n"
         "{XS;I,0001,0000C3000|}\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildConfirmationPrint(c.print, c.type, c.code, c.location, kAutoCodes),
                  c.expected)
            << c.type;
    }
}

TEST(ConfirmationPrint, PathNeverNamesTheCharacterFile) {
    const struct {
        const char* output;
        const char* print;
    } cases[] = {
        {"/d/CHARS.GAI", "/d/CHARS.PRN"}, {"/d/CHARS", "/d/CHARS.PRN"},
        {"/d.x/CHARS", "/d.x/CHARS.PRN"}, {"/d/CHARS.PRN", "/d/CHARS.PRN.PRN"},
        {"CHARS.gai", "CHARS.PRN"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConfirmationPrintPath(c.output), c.print) << c.output;
}

TEST(GaijiFile, CreatesTheCharacterAndPrintFiles) {
    test::TempDir dir;
    Strings strings;
    GaijiFileJob job;
    job.records = {{dir.Write("a.bmp", test::MakeBmp(kPicture)), 8, 8, 1, 0x41, 0, 0, 8},
                   {dir.Write("b.bmp", test::MakeBmp({"#"})), 1, 1, 2, 0x42, 1, 2, 3}};
    job.gaijiWidth = 832;
    job.codes = kAutoCodes;
    job.outputPath = dir.File("OUT");
    job.confirmation = ConfirmationPrint{.labelWidthMm = 104, .modelName = "R-VQ4T1-G"};
    std::vector<int> progress;
    ASSERT_TRUE(CreateExternalCharacterFile(job, strings, [&](int p) { progress.push_back(p); }));
    EXPECT_EQ(ReadFileBytes(dir.File("OUT")),
              "{XD;S0,01,A,000,000,008,008,008,0,81?:00??::551880|}{XD;S0,02,B,001,002,001,001,003,"
              "0,80|}");
    const auto print = ReadFileBytes(dir.File("OUT.PRN"));
    ASSERT_TRUE(print);
    EXPECT_NE(print->find("{RC000;A|}\r\n"), std::string::npos);
    EXPECT_EQ(progress, (std::vector<int>{33, 66, 100}));
}

TEST(GaijiFile, FailuresLeaveTheOldFileAlone) {
    test::TempDir dir;
    Strings strings;
    const std::string old = dir.Write("OUT.GAI", "old");
    GaijiFileJob job;
    job.records = {{dir.Write("a.bmp", test::MakeBmp(kPicture)), 8, 8, 1, 0x41, 0, 0, 8},
                   {dir.Write("b.bmp", "gone bad"), 8, 8, 1, 0x42, 0, 0, 8}};
    job.outputPath = old;
    EXPECT_EQ(CreateExternalCharacterFile(job, strings).messageId, 1015);
    EXPECT_EQ(ReadFileBytes(old), "old");

    job.records.pop_back();
    job.outputPath = dir.File("no/such/OUT.GAI");
    const BuildResult noFolder = CreateExternalCharacterFile(job, strings);
    EXPECT_EQ(noFolder.messageId, sid::kMsgFolderNotWritable);
    EXPECT_EQ(noFolder.file, job.outputPath);
}

// When the character file was written and the print file was not, the
// print file is the one named.
TEST(GaijiFile, NamesThePrintFileWhenOnlyItFails) {
    test::TempDir dir;
    Strings strings;
    GaijiFileJob job;
    job.records = {{dir.Write("a.bmp", test::MakeBmp(kPicture)), 8, 8, 1, 0x41, 0, 0, 8}};
    job.outputPath = dir.File("X.GAI");
    job.confirmation = ConfirmationPrint{.labelWidthMm = 104, .modelName = "R-VQ4T1-G"};
    ASSERT_EQ(::mkdir(dir.File("X.PRN").c_str(), 0755), 0);  // a folder where the print file goes
    const BuildResult result = CreateExternalCharacterFile(job, strings);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.file, dir.File("X.PRN"));
    EXPECT_TRUE(ReadFileBytes(dir.File("X.GAI")));
}

}  // namespace
}  // namespace rvq
