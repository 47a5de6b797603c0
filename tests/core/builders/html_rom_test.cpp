#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <numeric>

#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/download_image.h"
#include "core/builders/html_rom_build.h"
#include "core/builders/rom_trailer.h"
#include "test_support.h"

namespace rvq {
namespace {

constexpr std::size_t kOneMb = 0x100000;

unsigned ByteSum(std::string_view bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0u,
                           [](unsigned s, char c) { return s + static_cast<unsigned char>(c); });
}

std::string EntryName(const std::string& image, std::size_t index) {
    std::string name = image.substr(index * 32, 24);
    return name.substr(0, name.find('\0'));
}

std::uint32_t EntryWord(const std::string& image, std::size_t index, std::size_t at) {
    return ReadBigEndian32(image, index * 32 + at);
}

class HtmlRomTest : public ::testing::Test {
protected:
    HtmlRomScan Scan(HtmlRomType type = HtmlRomType::HtmlXml) {
        return ScanHtmlRomFolder(source.path(), type, strings);
    }
    HtmlRomBuild Create(HtmlRomType type = HtmlRomType::HtmlXml, bool withHeader = false) {
        const HtmlRomScan scan = Scan(type);
        return CreateHtmlRomFile(scan.files, type, withHeader, output, strings);
    }

    test::TempDir source, out;
    std::string output = out.File("ROM.BIN");
    Strings strings;
};

TEST_F(HtmlRomTest, OneSmallFile) {
    source.Write("XML/A.XML", "0123456789");
    const HtmlRomBuild build = Create();
    ASSERT_TRUE(build.result) << build.result.messageId;
    const auto file = ReadFileBytes(output);
    ASSERT_TRUE(file);
    const std::string& image = *file;
    ASSERT_EQ(image.size(), kOneMb);

    EXPECT_EQ(EntryName(image, 0), "/XML/A.XML");
    EXPECT_EQ(image.substr(24, 8), std::string("\x00\x00\x10\x00\x00\x00\x00\x0A", 8));
    EXPECT_EQ(image.find_first_not_of('\0', 32), 4096u);
    EXPECT_EQ(image.substr(4096, 10), "0123456789");
    EXPECT_EQ(image.substr(4106, kOneMb - 256 - 4106), std::string(kOneMb - 256 - 4106, '\0'));

    const std::string trailer = image.substr(kOneMb - 256);
    EXPECT_EQ(trailer.substr(0, 8), std::string("\x00\x00\x04\x00\x00\xB0\x00\x00", 8));
    EXPECT_EQ(trailer.substr(8, 8), std::string(8, ' '));
    EXPECT_EQ(trailer.substr(0x10, 97), strings.Get(941) + " ");
    EXPECT_EQ(trailer.substr(0x71, 0xF0 - 0x71), std::string(0xF0 - 0x71, ' '));
    EXPECT_EQ(trailer.substr(0xF0, 14), "VNTA LOADFILE ");
    EXPECT_EQ(trailer[0xFF], 'X');
    EXPECT_EQ(ByteSum(image) % 256, 0u);

    const auto info = ReadRomTrailer(output);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->section, "XML");
    EXPECT_EQ(info->date, "JAN.01.2008");
    EXPECT_EQ(info->model, "R-VQ");
    EXPECT_EQ(info->size, "00000400");

    ASSERT_EQ(build.image.entries.size(), 1u);
    EXPECT_EQ(build.image.endOffset, 4106u);
    EXPECT_EQ(build.image.total, 4106u);
}

TEST_F(HtmlRomTest, EnglishAndJapaneseTwinsShareIdenticalData) {
    const struct {
        const char* jpn;
        std::vector<std::string> names;
        std::vector<std::uint32_t> offsets;
    } cases[] = {
        {"same page", {"3PASS/P.HTM", "/MAIL/M.TXT"}, {4096, 4105}},
        {"sane page", {"2PASS/P.HTM", "1PASS/P.HTM", "/MAIL/M.TXT"}, {4096, 4105, 4114}},
    };
    for (const auto& c : cases) {
        test::TempDir tree;
        tree.Write("ENG/PASS/P.HTM", "same page");
        tree.Write("JPN/PASS/P.HTM", c.jpn);
        tree.Write("MAIL/M.TXT", "mail");
        const HtmlRomScan scan = ScanHtmlRomFolder(tree.path(), HtmlRomType::HtmlXml, strings);
        const HtmlRomBuild build =
            BuildHtmlRomImage(scan.files, HtmlRomType::HtmlXml, false, strings);
        ASSERT_TRUE(build.result);
        const std::string& image = build.image.fileBytes;
        ASSERT_EQ(build.image.entries.size(), c.names.size()) << c.jpn;
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(EntryName(image, i), c.names[i]) << c.jpn;
            EXPECT_EQ(EntryWord(image, i, 24), c.offsets[i]) << c.jpn;
        }
        EXPECT_EQ(EntryName(image, c.names.size()), "");
        EXPECT_EQ(ByteSum(image) % 256, 0u);
    }
}

TEST_F(HtmlRomTest, NamesThatDoNotFitTheIndexAreLeftOutAndReported) {
    const std::string name18(14, 'h');  // + ".HTM"
    source.Write("ENG/HTML/" + name18 + ".HTM", "fits: 2HTML/ + 18 = 24 bytes");
    source.Write("ENG/HTML/" + name18 + "x.HTM", "25 bytes");
    source.Write("XML/" + std::string(21, 'x') + ".XML", "25 characters");
    source.Write("XML/.hidden", "skipped");
    const HtmlRomScan scan = Scan();
    ASSERT_EQ(scan.files.size(), 1u);
    EXPECT_EQ(scan.files[0].relativePath, "\\ENG\\HTML\\" + name18 + ".HTM");
    ASSERT_EQ(scan.leftOut.size(), 2u);
    EXPECT_EQ(scan.leftOut[0].relativePath, "\\XML\\" + std::string(21, 'x') + ".XML");
    EXPECT_EQ(scan.leftOut[1].relativePath, "\\ENG\\HTML\\" + name18 + "x.HTM");
    for (const auto& l : scan.leftOut) EXPECT_EQ(l.reason, HtmlRomLeftOutReason::NameTooLong);

    const HtmlRomBuild build = BuildHtmlRomImage(scan.files, HtmlRomType::HtmlXml, false, strings);
    ASSERT_TRUE(build.result);
    // Exactly filled: not terminated, the offset follows directly.
    EXPECT_EQ(build.image.fileBytes.substr(0, 24), "2HTML/" + name18 + ".HTM");
    EXPECT_EQ(EntryWord(build.image.fileBytes, 0, 24), 4096u);
}

TEST_F(HtmlRomTest, ScanMatchesFolderNamesInAnyCaseAndSkipsEmptyFiles) {
    source.Write("eng/Pass/b.htm", "b");
    source.Write("eng/Pass/a.htm", "a");
    source.Write("Xml/e.xml", "");
    const HtmlRomScan scan = Scan();
    ASSERT_EQ(scan.files.size(), 2u);
    EXPECT_EQ(scan.files[0].relativePath, "\\ENG\\PASS\\a.htm");
    EXPECT_EQ(scan.files[1].relativePath, "\\ENG\\PASS\\b.htm");
    EXPECT_EQ(scan.totalSize, 2u);
    ASSERT_EQ(scan.leftOut.size(), 1u);
    EXPECT_EQ(scan.leftOut[0].reason, HtmlRomLeftOutReason::Empty);

    test::TempDir empty;
    empty.Write("OTHER/x.htm", "not a ROM folder");
    EXPECT_EQ(ScanHtmlRomFolder(empty.path(), HtmlRomType::HtmlXml, strings).result.messageId,
              1400);
}

TEST_F(HtmlRomTest, FailuresWriteNothing) {
    const std::size_t room = kOneMb - 256 - 4096;
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::size_t>> files;
        int message;
    } cases[] = {
        {"too large", {{"XML/A", room / 2}, {"XML/B", room / 2 + 1}}, 1405},
        {"exactly full", {{"XML/A", room / 2}, {"XML/B", room / 2}}, 0},
    };
    for (const auto& c : cases) {
        test::TempDir tree, target;
        for (const auto& [name, size] : c.files) tree.Write(name, std::string(size, 'z'));
        const auto scan = ScanHtmlRomFolder(tree.path(), HtmlRomType::HtmlXml, strings);
        const auto build = CreateHtmlRomFile(scan.files, HtmlRomType::HtmlXml, false,
                                             target.File("R.BIN"), strings);
        EXPECT_EQ(build.result.messageId, c.message) << c.what;
        EXPECT_EQ(ReadFileBytes(target.File("R.BIN")).has_value(), c.message == 0) << c.what;
    }

    for (int i = 0; i < 129; ++i)
        source.Write("XML/F" + std::to_string(i), "d" + std::to_string(i));
    EXPECT_EQ(Create().result.messageId, 1404);
    EXPECT_FALSE(ReadFileBytes(output));
}

TEST_F(HtmlRomTest, FilesChangedAfterTheScanFailCreate) {
    source.Write("XML/A", "a");
    const std::string b = source.Write("XML/B", "b");
    const HtmlRomScan scan = Scan();

    ASSERT_TRUE(WriteFileAtomically(b, ""));
    EXPECT_EQ(BuildHtmlRomImage(scan.files, HtmlRomType::HtmlXml, false, strings).result.messageId,
              1401);
    std::filesystem::remove(b);
    EXPECT_EQ(BuildHtmlRomImage(scan.files, HtmlRomType::HtmlXml, false, strings).result.messageId,
              1406);
    EXPECT_EQ(CreateHtmlRomFile(Scan().files, HtmlRomType::HtmlXml, false,
                                out.File("no/such/R.BIN"), strings)
                  .result.messageId,
              sid::kMsgFolderNotWritable);
    test::TempDir blocked;
    ASSERT_EQ(::mkdir(blocked.File("R.BIN").c_str(), 0755), 0);
    const HtmlRomBuild onFolder = CreateHtmlRomFile(Scan().files, HtmlRomType::HtmlXml, false,
                                                    blocked.File("R.BIN"), strings);
    EXPECT_EQ(onFolder.result.messageId, sid::kMsgNotAFile);
    EXPECT_EQ(onFolder.result.file, blocked.File("R.BIN"));
}

TEST_F(HtmlRomTest, WmonImageWithLoadHeader) {
    source.Write("ENG/SA_HTM/S.HTM", std::string(300, '\xFF'));
    source.Write("XML/ignored.xml", "not scanned for this type");
    const HtmlRomBuild build = Create(HtmlRomType::Wmon, true);
    ASSERT_TRUE(build.result);
    const auto file = ReadFileBytes(output);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), 288u + 0x20000);
    const std::string header = file->substr(0, 288);
    const std::string image = file->substr(288);
    EXPECT_EQ(ByteSum(image) % 256, 0u);
    EXPECT_EQ(header.substr(0, 3), "BAR");
    EXPECT_EQ(header.substr(16, 16), "R-VQ            ");
    EXPECT_EQ(header.substr(64, 16), "V1.0            ");
    EXPECT_EQ(header.substr(96, 4), Format("%04X", ByteSum(image) & 0xFFFF));
    EXPECT_EQ(header.substr(128, 16), "HTML            ");
    EXPECT_EQ(header.substr(144, 8), "00C00000");
    EXPECT_EQ(header.substr(271), std::string("\x1bLD;\x00\xC0\x00\x00,\x00\x80\n\x00\x1bLP;", 17));
    EXPECT_EQ(EntryName(image, 0), "2SA_HTM/S.HTM");

    const auto info = ReadRomTrailer(output);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->section, "WMON");
    EXPECT_EQ(info->loadAddress, "00C00000");
    const auto download = BuildDownloadImage(*file, {});
    ASSERT_TRUE(download);
    EXPECT_EQ(download->bytes.substr(0, 13), header.substr(271, 13));
    EXPECT_EQ(download->bytes.substr(24), image);
}

// The header's sum is S rounded up past the next multiple of 256: an image
// whose sum already is one (checksum byte 0) still gains 256.
TEST_F(HtmlRomTest, LoadHeaderSumGains256WhenTheImageSumIsAMultipleOf256) {
    const std::string path = source.Write("XML/Z", std::string(8, '\0'));
    const auto first = BuildHtmlRomImage(Scan().files, HtmlRomType::HtmlXml, false, strings);
    ASSERT_TRUE(first.result);
    // Adding the checksum to the data makes the sum before it a multiple of 256.
    std::string data(8, '\0');
    data[0] = first.image.fileBytes[kOneMb - 256 + 0xFE];
    ASSERT_NE(data[0], '\0');
    ASSERT_TRUE(WriteFileAtomically(path, data));

    const auto build = BuildHtmlRomImage(Scan().files, HtmlRomType::HtmlXml, true, strings);
    ASSERT_TRUE(build.result);
    const std::string image = build.image.fileBytes.substr(288);
    EXPECT_EQ(image[kOneMb - 256 + 0xFE], '\0');
    ASSERT_EQ(ByteSum(image) % 256, 0u);
    EXPECT_EQ(build.image.fileBytes.substr(96, 4), Format("%04X", (ByteSum(image) + 256) & 0xFFFF));
}

TEST_F(HtmlRomTest, DisplayTexts) {
    EXPECT_EQ(HtmlRomSizeText(1000, HtmlRomType::HtmlXml), "Data Size + Index = 5.0KB(0.5%)");
    EXPECT_EQ(HtmlRomSizeText(0x20000 - 256 - 4096, HtmlRomType::Wmon),
              "Data Size + Index = 127.8KB(100.0%)");
    EXPECT_EQ(HtmlRomLoadAddressText(HtmlRomType::HtmlXml),
              "Load Address = 0x00B00000    Size = 1024KBytes");
    EXPECT_EQ(HtmlRomLoadAddressText(HtmlRomType::Wmon),
              "Load Address = 0x00C00000    Size = 128KBytes");
}

TEST(HtmlRomDisplay, SizeTextKeepsItsFullStopUnderAGermanLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const std::string text = HtmlRomSizeText(1000, HtmlRomType::HtmlXml);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "Data Size + Index = 5.0KB(0.5%)");
}

}  // namespace
}  // namespace rvq
