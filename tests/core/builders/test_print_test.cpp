#include <gtest/gtest.h>

#include "core/app/strings.h"
#include "core/builders/pattern_filter.h"
#include "core/builders/test_print.h"
#include "test_support.h"

namespace rvq {
namespace {

using namespace std::string_literals;

const ControlCodes kDefault;
const ControlCodes kBraces{'{', '|', '}'};

PrinterModel Model(const std::string& name, int resolution = 203) {
    PrinterModel model;
    model.name = name;
    model.resolution = resolution;
    model.maxWidth = 1040;
    model.maxLength = 15000;
    return model;
}

std::string Row(const std::string& command, std::size_t rowBytes, std::size_t row,
                std::size_t bytes) {
    return command.substr(28 + rowBytes * row, bytes);
}

TEST(TestPrint, SlantLinesOfOneAndThreeDots) {
    const std::string one = BuildSlantLines(832, 592, 5, 1, false, kDefault);
    EXPECT_EQ(one.substr(0, 28), "\x1bSG;0000,00000,0832,00592,1,");
    ASSERT_EQ(one.size(), 592u * 104 + 30);
    EXPECT_EQ(one.substr(one.size() - 2), "\n\0"s);
    EXPECT_EQ(Row(one, 104, 0, 3), "\x04\x10\x41");
    EXPECT_EQ(Row(one, 104, 1, 3), "\x08\x20\x82");
    EXPECT_EQ(Row(one, 104, 6, 104), Row(one, 104, 0, 104));

    const std::string three = BuildSlantLines(40, 20, 15, 3, true, kBraces);
    EXPECT_EQ(three.substr(0, 28), "{SG;0000,00000,0040,00020,1,");
    EXPECT_EQ(Row(three, 5, 0, 5), "\x00\x01\xC0\x00\x70"s);
    EXPECT_EQ(three.substr(three.size() - 2), "|}");

    // The last byte of a row keeps its unused bits clear.
    const std::string narrow = BuildSlantLines(4, 4, 0, 1, false, kDefault);
    EXPECT_EQ(narrow.substr(28, 4), "\xF0\xF0\xF0\xF0");
}

TEST(TestPrint, RunLengthsWithoutAPeriodFallBackToTheDefaults) {
    const std::string expected = BuildSlantLines(48, 12, 5, 1, false, kDefault);
    for (auto [white, black] : {std::pair{0, 0}, {-5, 5}, {3, -7}, {INT32_MIN, 0}}) {
        EXPECT_EQ(BuildSlantLines(48, 12, white, black, false, kDefault), expected)
            << white << "," << black;
    }
    EXPECT_EQ(BuildSlantLines(48, 12, 0, 0, true, kDefault),
              BuildSlantLines(48, 12, 15, 3, true, kDefault));
}

TEST(TestPrint, SetupCommands) {
    const struct {
        int length, gap, width, tone;
        PrintMethod method;
        std::string expected;
    } cases[] = {
        {74, 2, 104, 0, PrintMethod::ThermalTransfer,
         "\x1b"
         "D0760,1040,0740\n\0\x1b"
         "C\n\0\x1b"
         "AY;+00,0\n\0"s},
        {74, 2, 104, -5, PrintMethod::DirectThermal,
         "\x1b"
         "D0760,1040,0740\n\0\x1b"
         "C\n\0\x1b"
         "AY;-05,1\n\0"s},
        {997, 2, 50, 10, PrintMethod::DirectThermalHeadUp,
         "\x1b"
         "D9990,0500,9970\n\0\x1b"
         "C\n\0\x1b"
         "AY;+10,1\n\0"s},
        {998, 2, 50, -20, PrintMethod::ThermalTransferRibbonSaving,
         "\x1b"
         "D10000,0500,09980\n\0\x1b"
         "C\n\0\x1b"
         "AY;-20,0\n\0"s},
    };
    for (const auto& c : cases) {
        TestPrintOptions options{.method = c.method,
                                 .labelLengthMm = c.length,
                                 .labelGapMm = c.gap,
                                 .labelWidthMm = c.width,
                                 .tone = c.tone};
        EXPECT_EQ(BuildTestPrintSetup(options, kDefault), c.expected) << c.length << " " << c.tone;
    }
}

TEST(TestPrint, IssueCommand) {
    const struct {
        TestPrintOptions options;
        const char* model;
        std::string expected;
    } cases[] = {
        {{.issueCount = 3, .speed = 6, .sensor = 2, .issueMode = IssueMode::CutEveryPage},
         "R-VQ4T1-G",
         "\x1bXS;I,0003,0012C6200\n\0"s},
        {{.issueCount = 9999,
          .speed = 14,
          .sensor = 4,
          .issueMode = IssueMode::PeelOff,
          .method = PrintMethod::DirectThermalHeadUp},
         "R-VQ4T1-G",
         "\x1bXS;I,9999,0004DE300\n\0"s},
        {{.speed = 10, .method = PrintMethod::ThermalTransferRibbonSaving},
         "R-VQ4T1-G",
         "\x1bXS;I,0001,0000CA100\n\0"s},
        {{.speed = 12, .method = PrintMethod::DirectThermal},
         "R-VQ4D2-G",
         "\x1bXS;I,0001,0000CC000\n\0"s},
    };
    for (const auto& c : cases) {
        const std::string issue = BuildIssueCommand(c.options, c.model, kDefault);
        EXPECT_EQ(issue, c.expected);
        EXPECT_EQ(issue.size(), 22u);
    }
}

TEST(TestPrint, SpeedsAndMethodsFollowTheModel) {
    EXPECT_EQ(TestPrintSpeeds("R-VQ4T2-H"), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(TestPrintSpeeds("R-VQ6T2-G"), (std::vector<int>{3, 6, 10}));
    EXPECT_EQ(TestPrintSpeeds("R-VQ9X9-Z"), (std::vector<int>{3, 5, 8, 10, 12, 14}));
    EXPECT_EQ(DefaultTestPrintOptions(Model("R-VQ4T2-H")).speed, 3);
    EXPECT_EQ(DefaultTestPrintOptions(Model("R-VQ4T2-H")).labelWidthMm, 104);

    EXPECT_EQ(PrintMethodsFor("R-VQ4T2-G"),
              (std::vector<PrintMethod>{PrintMethod::ThermalTransfer, PrintMethod::DirectThermal}));
    EXPECT_EQ(PrintMethodsFor("R-VQ4D2-T"), (std::vector<PrintMethod>{PrintMethod::DirectThermal}));
    EXPECT_EQ(PrintMethodsFor("R-VQ4T1-G").size(), 4u);
    EXPECT_EQ(DefaultTestPrintOptions(Model("R-VQ4D2-T")).method, PrintMethod::DirectThermal);
}

TEST(PatternFilter, RemovesOnlyCompleteEmbeddedCommands) {
    const struct {
        const char* what;
        std::string in;
        std::string out;
    } cases[] = {
        {"each kind",
         "\x1b"
         "D0760,1040,0740\n\0A\x1b"
         "D10000,0600,09980\n\0B\x1b"
         "C\n\0C\x1b"
         "AY;+01,0\n\0D"
         "\x1bXS;I,0001,0002C3000\n\0E"s,
         "ABCDE"},
        {"other commands re-framed", "\x1bPC001;0030,0040,10,10,A,00,B\n\0\x1bRC001;X\n\0"s,
         "{PC001;0030,0040,10,10,A,00,B|}{RC001;X|}"},
        // A fixed 18-byte cut would take the ESC R of the next command.
        {"label size of another length and the command after it kept whole",
         "\x1b"
         "D760,1040,740\n\0\x1bRC000;A\n\0"s,
         "{D760,1040,740|}{RC000;A|}"},
        {"label size cut at the end",
         "\x1b"
         "D0760,10"s,
         "{D0760,10"},
        {"issue one byte short", "\x1bXS;I,0001,0002C3000\n"s, "{XS;I,0001,0002C3000|"},
        {"clear without its end",
         "\x1b"
         "C\n"s,
         "{C|"},
        {"tone not ended by LF NUL",
         "\x1b"
         "AY;+01,0\r\n\0"s,
         "{AY;+01,0\r|}"},
        {"lone ESC", "\x1b"s, "{"},
        {"empty", ""s, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterPatternData(c.in, kBraces), c.out) << c.what;
}

TEST(PatternFilter, ShippedPatternFilesCarryTheirOwnSettingsAndNothingElseOfThePages) {
    for (const char* name : {"CHAR_200.DAT", "CHAR_300.DAT", "CHAR_600.DAT", "BARCODE_200.DAT",
                             "BARCODE_300.DAT", "BARCODE_600.DAT"}) {
        const auto raw = ReadFileBytes(std::string(RVQ_SOURCE_DIR) + "/data/" + name);
        ASSERT_TRUE(raw) << name;
        for (const std::string& embedded : {"\x1b"
                                            "D"s,
                                            "\x1b"
                                            "C\n\0"s,
                                            "\x1b"
                                            "AY;"s,
                                            "\x1bXS;I,"s}) {
            EXPECT_NE(raw->find(embedded), std::string::npos) << name;
        }

        const std::string filtered = FilterPatternData(*raw, kBraces);
        ASSERT_FALSE(filtered.empty()) << name;
        EXPECT_EQ(filtered.find_first_of("\x1b\n\0"s), std::string::npos) << name;
        // What is left is whole commands, none of those the page sends itself.
        std::size_t at = 0;
        while (at < filtered.size()) {
            ASSERT_EQ(filtered[at], '{') << name << " at " << at;
            const std::size_t end = filtered.find("|}", at);
            ASSERT_NE(end, std::string::npos) << name;
            const std::string body = filtered.substr(at + 1, end - at - 1);
            EXPECT_TRUE(body.starts_with("PC") || body.starts_with("RC") ||
                        body.starts_with("XB") || body.starts_with("RB"))
                << name << ": " << body;
            at = end + 2;
        }
    }
}

TEST(TestPrint, BuildsTheThreeBlocks) {
    test::TempDir dir;
    Strings strings;
    ToolSettings settings;
    settings.controlCodes = kBraces;
    settings.slash1[0] = 0;
    settings.slash1[1] = 0;
    settings.programFolder = dir.path();
    dir.Write("CHAR_300.DAT",
              "\x1b"
              "D0760,1040,0740\n\0\x1bRC001;X\n\0"s);
    settings.barcode600Path = dir.File("mine.dat");

    TestPrintOptions options = DefaultTestPrintOptions(Model("R-VQ4T1-G", 300));
    options.pattern = TestPattern::Characters;
    const TestPrintBuild chars =
        BuildTestPrintData(options, Model("R-VQ4T1-G", 300), settings, strings);
    ASSERT_TRUE(chars.result);
    EXPECT_EQ(chars.data.setup, "{D0760,1040,0740|}{C|}{AY;+00,0|}");
    EXPECT_EQ(chars.data.pattern, "{RC001;X|}");
    EXPECT_EQ(chars.data.issue, "{XS;I,0001,0000C6200|}");

    options.pattern = TestPattern::Barcodes;
    const TestPrintBuild missing =
        BuildTestPrintData(options, Model("R-VQ4T1-G", 600), settings, strings);
    EXPECT_EQ(missing.result.messageId, 1018);
    EXPECT_TRUE(missing.data.setup.empty());

    options.pattern = TestPattern::SlantLines1;
    options.labelWidthMm = 0;  // brought up to the field's minimum of 10 mm
    options.labelLengthMm = 8;
    const TestPrintBuild slant =
        BuildTestPrintData(options, Model("R-VQ4T1-G", 600), settings, strings);
    ASSERT_TRUE(slant.result);
    EXPECT_EQ(slant.data.pattern, BuildSlantLines(240, 192, 5, 1, false, kBraces));
    EXPECT_EQ(slant.data.setup.substr(0, 18), "{D0100,0100,0080|}");
}

}  // namespace
}  // namespace rvq
