#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/app/strings.h"
#include "core/builders/basic_file_encode.h"
#include "core/builders/bmp_writer.h"
#include "core/builders/rom_trailer.h"
#include "json_document.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

using namespace std::string_literals;

const std::string kBasic = std::string(RVQ_FIXTURES_DIR) + "/basic/";

// Writes a file below `dir`, creating its folders.
void Put(const TempDir& dir, const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(dir.File(relative)).parent_path());
    dir.Write(relative, bytes);
}

TEST(CliEncodeBasic, WritesTheCoreEncodersBytes) {
    TempDir dir;
    const Strings strings;
    const struct {
        const char* option;
        BasicOutputKind kind;
    } cases[] = {{nullptr, BasicOutputKind::MainProgram},
                 {"--system", BasicOutputKind::SystemProgram},
                 {"--data", BasicOutputKind::DataFile}};
    for (const auto& c : cases) {
        const std::string expected = dir.File("expected.img");
        ASSERT_TRUE(EncodeBasicFile(strings, kBasic + "LOOPS.BAS", expected, c.kind, false));
        std::vector<std::string> args{"encode-basic", kBasic + "LOOPS.BAS", "out.img", "--yes"};
        if (c.option != nullptr) args.emplace_back(c.option);
        const ToolRun run = RunTool(args, dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(ReadAll(dir.File("out.img")), ReadAll(expected))
            << (c.option ? c.option : "main");
    }
}

TEST(CliEncodeBasic, BadSourceExitsTwoWithTheEncodersMessage) {
    TempDir dir;
    const std::string source = dir.Write("BAD.BAS", "10 FOR I=1 TO 2\r\n");
    const ToolRun run = RunTool({"encode-basic", source, "out.img"}, dir.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err,
              "rvqtool: " + source +
                  ": The BASIC program has an error. (\"1 : FOR and NEXT Error\") Check the "
                  "program code.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.img")));
}

TEST(CliEncodeBasic, ExistingOutputIsKeptWithoutYes) {
    TempDir dir;
    dir.Write("out.img", "keep");
    const ToolRun run = RunTool({"encode-basic", kBasic + "LOOPS.BAS", "out.img"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ReadAll(dir.File("out.img")), "keep");
    EXPECT_NE(run.err.find("out.img was left as it was"), std::string::npos) << run.err;
}

std::string Trailer() {
    const std::string text = std::string(16, ' ') +
                             "25OCT2010       R-VQ4T1         V2.3            " +
                             "MAIN            010000001000    ";
    return EncodeRomTrailer({0x200, 0x00A00000, text});
}

TEST(CliRomInfo, PrintsTheTrailerFields) {
    TempDir dir;
    dir.Write("MAIN.BIN", std::string(512, '\xFF') + Trailer());
    const ToolRun run = RunTool({"rom-info", "MAIN.BIN"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* line :
         {"size         00000200", "loadAddress  00A00000", "date         OCT.25.2010",
          "model        R-VQ4T1", "version      V2.3", "section      MAIN", "reserved1    0100",
          "reserved2    00001000", "magic        VNTA LOADFILE"}) {
        EXPECT_NE(run.out.find(std::string("  ") + line + "\n"), std::string::npos) << line;
    }

    dir.Write("short.bin", "tiny");
    const ToolRun json = RunTool({"rom-info", "--json", "MAIN.BIN", "short.bin"}, dir.path());
    EXPECT_EQ(json.exitCode, 2);
    EXPECT_EQ(json.err, "rvqtool: short.bin: cannot be read, or is not laid out as a ROM file\n");
    auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    ASSERT_EQ((*value)["roms"].size(), 1u);
    EXPECT_EQ((*value)["roms"][0]["version"].get<std::string>(), "V2.3");
}

TEST(CliHtmlRom, BuildsARomThatReadsBack) {
    TempDir dir;
    Put(dir, "web/XML/A.XML", "0123456789");
    Put(dir, "web/ENG/PASS/P.HTM", "<p>same</p>");
    Put(dir, "web/JPN/PASS/P.HTM", "<p>same</p>");
    Put(dir, "web/XML/EMPTY.XML", "");
    Put(dir, "web/XML/ABCDEFGHIJKLMNOPQRSTU.XML", "long name");
    const ToolRun run = RunTool({"build-html-rom", "web", "rom.bin"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Load Address = 0x00B00000    Size = 1024KBytes"), std::string::npos);
    EXPECT_NE(run.out.find("left out: \\XML\\EMPTY.XML (empty)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("left out: \\XML\\ABCDEFGHIJKLMNOPQRSTU.XML (name too long"),
              std::string::npos)
        << run.out;
    // The identical English and Japanese pages share one entry.
    EXPECT_NE(run.out.find("1    /   XML/A.XML   1000    10\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2    3   PASS/P.HTM  100A    11\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("TOTAL       1015    4117\n"), std::string::npos) << run.out;

    const std::string rom = ReadAll(dir.File("rom.bin"));
    ASSERT_EQ(rom.size(), 0x100000u);
    EXPECT_EQ(rom.substr(0, 10), "/XML/A.XML");
    const ToolRun info = RunTool({"rom-info", "rom.bin"}, dir.path());
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("loadAddress  00B00000"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("section      XML"), std::string::npos) << info.out;
}

TEST(CliHtmlRom, BadInputExitsTwo) {
    TempDir dir;
    Put(dir, "web/OTHER/A.XML", "not collected");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"build-html-rom", "web", "rom.bin"}, "No file is found in the specified file."},
        {{"build-html-rom", "web", "rom.bin", "--type", "pdf"}, "--type takes html or wmon"},
        {{"build-html-rom", "web"}, "build-html-rom takes SRC_DIR and OUT.BIN"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("rom.bin")));
}

const std::vector<std::string> kLetter = {"..####..", ".#....#.", "#......#", "########",
                                          "#......#", "#......#", "#......#", "........"};

TEST(CliGaiji, OneBitmapMakesOneRecord) {
    TempDir dir;
    dir.Write("a.bmp", MakeBmp(kLetter));
    const ToolRun run = RunTool({"build-gaiji", "a.bmp", "out.gai", "--code", "41"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(
        run.out.find("a.bmp: type 01, code HEX(41), 8 dots x 8 dots, left 0, top 0, spacing 8"),
        std::string::npos)
        << run.out;
    // Rows 3C 42 81 FF 81 81 81 00 as nibble characters, with the
    // automatic codes { | }.
    EXPECT_EQ(ReadAll(dir.File("out.gai")),
              "{XD;S0,01,A,000,000,008,008,008,0,3<4281??818181"
              "00|}");
}

TEST(CliGaiji, FolderAndConfirmationPrint) {
    TempDir dir;
    Put(dir, "chars/G_0141.BMP", MakeBmp(kLetter));
    Put(dir, "chars/G_0142_1_2_9.BMP", MakeBmp(kLetter));
    Put(dir, "chars/README.TXT", "not a bitmap");
    const ToolRun folder =
        RunTool({"--codes", "esc", "build-gaiji", "chars", "set.gai"}, dir.path());
    ASSERT_EQ(folder.exitCode, 0) << folder.err;
    const std::string gai = ReadAll(dir.File("set.gai"));
    EXPECT_EQ(gai.rfind("\x1bXD;S0,01,A,000,000,008,008,000,0,", 0), 0u) << gai;
    EXPECT_NE(gai.find("\n\0\x1bXD;S0,01,B,001,002,008,008,009,0,"s), std::string::npos) << gai;

    const ToolRun print = RunTool({"build-gaiji", "chars/G_0141.BMP", "one.gai", "--code", "41",
                                   "--confirm", "--magnification", "2x2", "--print-method",
                                   "direct-thermal", "--label-width", "50", "--label-length", "30"},
                                  dir.path());
    ASSERT_EQ(print.exitCode, 0) << print.err;
    EXPECT_EQ(ReadAll(dir.File("one.PRN")),
              "{D0320,0500,0300|}\r\n{C|}\r\n{PC000;0010,0010,20,20,010,00,B|}\r\n"
              "{RC000;A|}\r\n{XS;I,0001,0000C3000|}\r\n");
}

// The character file is written; the print file beside it cannot be (a
// folder has its name), and it is the one named.
TEST(CliGaiji, NamesThePrintFileThatCouldNotBeSaved) {
    TempDir dir;
    dir.Write("a.bmp", MakeBmp(kLetter));
    std::filesystem::create_directory(dir.File("X.PRN"));
    const ToolRun run = RunTool(
        {"build-gaiji", "a.bmp", "X.GAI", "--code", "41", "--confirm", "--yes"}, dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("X.PRN: Saving data in the specified file failed."), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("X.GAI:"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("X.GAI")));
}

TEST(CliGaiji, BadInputExitsTwo) {
    TempDir dir;
    dir.Write("a.bmp", MakeBmp(kLetter));
    dir.Write("big.bmp", MakeBmp(std::vector<std::string>(721, std::string(8, '#'))));
    dir.Write("color.bmp", "BM not one bit");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"build-gaiji", "color.bmp", "o.gai"},
         "color.bmp: Selected file is not a monochrome bitmap file."},
        {{"build-gaiji", "big.bmp", "o.gai"},
         "big.bmp: The specified file exceeds the maximum width"},
        {{"build-gaiji", "a.bmp", "o.gai", "--type", "41"}, "a.bmp: The specified file exceeds"},
        {{"build-gaiji", "a.bmp", "o.gai", "--type", "52"}, "52-55 need --usb-memory"},
        {{"build-gaiji", "a.bmp", "o.gai", "--left", "720"},
         "--left takes a whole number from 0 to 719"},
        {{"build-gaiji", "a.bmp", "o.gai", "--print-method", "head-up"}, "need --confirm"},
        {{"--model", "R-VQ6T2-T", "build-gaiji", "a.bmp", "o.gai", "--confirm", "--print-method",
          "head-up"},
         "--print-method for R-VQ6T2-T takes thermal-transfer, direct-thermal"},
        {{"build-gaiji", ".", "o.gai"}, "No registrable monochrome bitmap file"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.gai")));
}

TEST(CliTestPrint, WritesSetupPatternAndIssue) {
    TempDir dir;
    const ToolRun run =
        RunTool({"--model", "R-VQ4T1-G", "test-print-data", "slant.prn"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string bytes = ReadAll(dir.File("slant.prn"));
    // R-VQ4T1-G, 203 dpi: 104 x 74 mm with a 2 mm gap, tone 0, thermal
    // transfer, then 832 x 592 dots of slant lines and the issue command
    // at the model's second speed, 6 inch/sec.
    const std::string setup =
        "\x1b"
        "D0760,1040,0740\n\0\x1b"
        "C\n\0\x1b"
        "AY;+00,0\n\0"s;
    const std::string graphics = "\x1bSG;0000,00000,0832,00592,1,";
    ASSERT_EQ(bytes.size(), setup.size() + graphics.size() + 592 * 104 + 2 + 22);
    EXPECT_EQ(bytes.substr(0, setup.size()), setup);
    EXPECT_EQ(bytes.substr(setup.size(), graphics.size()), graphics);
    EXPECT_EQ(bytes.substr(bytes.size() - 22), "\x1bXS;I,0001,0000C6200\n\0"s);
}

TEST(CliTestPrint, PageOptionsReachTheCommands) {
    TempDir dir;
    const ToolRun run = RunTool(
        {"--model",        "R-VQ4T1-G",     "--codes", "braces", "test-print-data", "chars.prn",
         "--pattern",      "chars",         "--count", "3",      "--issue-mode",    "cut",
         "--sensor",       "transmissive",  "--speed", "6",      "--tone",          "-5",
         "--print-method", "direct-thermal"},
        dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string bytes = ReadAll(dir.File("chars.prn"));
    EXPECT_EQ(bytes.rfind("{D0760,1040,0740|}{C|}{AY;-05,1|}", 0), 0u) << bytes.substr(0, 40);
    EXPECT_EQ(bytes.substr(bytes.size() - 22), "{XS;I,0003,0012C6000|}");
    // The shipped character pattern, re-framed: no ESC is left.
    EXPECT_EQ(bytes.find('\x1b'), std::string::npos);
    EXPECT_GT(bytes.size(), 33u + 22u);
}

TEST(CliTestPrint, BadOptionsExitTwo) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"test-print-data", "o.prn", "--pattern", "dots"}, "--pattern takes slash1, slash3"},
        {{"test-print-data", "o.prn", "--speed", "7"},
         "--speed for R-VQ4T1-T takes 3, 5, 8, 10, 12, 14"},
        {{"test-print-data", "o.prn", "--label-width", "105"},
         "--label-width takes a whole number from 10 to 104"},
        {{"test-print-data", "o.prn", "--tone", "11"},
         "--tone takes a whole number from -20 to 10"},
        {{"test-print-data", "o.prn", "--pattern", "chars", "--pattern-file", "none.dat"},
         "none.dat: Generation of print data failed."},
        {{"--model", "R-VQ0X0-X", "test-print-data", "o.prn"}, "has no model 'R-VQ0X0-X'"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.prn")));
}

}  // namespace
}  // namespace rvq::test
