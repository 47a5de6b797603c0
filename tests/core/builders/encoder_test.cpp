#include "core/builders/basic_encoder.h"

#include <clocale>
#include <numeric>

#include <gtest/gtest.h>

#include "basic_test_support.h"
#include "core/app/strings.h"
#include "core/builders/download_store.h"
#include "core/platform/file_io.h"

namespace rvq {
namespace {

using basic::Bytes;
using test::FromHex;
using test::Hex;
using test::Slice;
using test::TempFolder;

const std::string kFixtures = RVQ_FIXTURES_DIR "/basic/";

Bytes AsBytes(std::span<const std::uint8_t> span) { return Bytes(span.begin(), span.end()); }

std::vector<Bytes> EncodedLines(const BasicEncoder& encoder, basic::BasicSlot slot) {
    return test::CodeLines(AsBytes(encoder.Image()), slot);
}

class BasicEncoderTest : public ::testing::Test {
protected:
    Strings strings_;
    TempFolder folder_;
};

TEST_F(BasicEncoderTest, DownloadBufferHoldsTheProgramCommandAndChecksum) {
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    const std::string path = folder_.Write("PRINT1.BAS", "PRINT 1\n");
    ASSERT_TRUE(encoder.EncodeBasicProgram(path, 1)) << encoder.ErrorText();

    const Bytes& buffer = *encoder.Buffer();
    const std::size_t imageSize = 131072;
    ASSERT_EQ(buffer.size(), 27 + imageSize);
    EXPECT_EQ(Hex(Slice(buffer, 0, 24)),
              Hex(FromHex("00000000000000000000 00000000000000000000 1B4C503B")));
    EXPECT_EQ(Hex(Slice(buffer, 24, 9)),
              "50 52 49 4E 54 31 2E 42 41");  // PRINT1.BAS cut to 12 bytes
    EXPECT_EQ(Hex(Slice(buffer, 24 + 0x1CD00, 4)), "03 8A 02 01");
    EXPECT_EQ(Hex(Slice(buffer, 24 + imageSize, 2)), "0A 00");
    const unsigned sum = std::accumulate(buffer.begin() + 24, buffer.end() - 3, 0u) + buffer.back();
    EXPECT_EQ(sum % 256, 0u);

    EXPECT_EQ(encoder.ProgramCommandLength(), imageSize + 7);
    EXPECT_EQ(encoder.ProgramCommand().data(), buffer.data() + 20);
    EXPECT_EQ(encoder.BlockCount(), 1);
    EXPECT_EQ(encoder.Kind(), BasicFileKind::MainProgram);
    EXPECT_EQ(encoder.SourcePath(), path);
    EXPECT_EQ(encoder.BlockLoadLength(), 0u);
}

TEST_F(BasicEncoderTest, ChecksumBalancesAnImageWithAnyByteSum) {
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    const std::string path = folder_.Write("SYS.BAS", "A$=\"\x01\x7F\"\nPRINT A$\n");
    ASSERT_TRUE(encoder.EncodeBasicProgram(path, 0)) << encoder.ErrorText();
    const Bytes& buffer = *encoder.Buffer();
    const unsigned imageSum = std::accumulate(buffer.begin() + 24, buffer.end() - 3, 0u);
    ASSERT_NE(imageSum % 256, 0u);
    EXPECT_EQ((imageSum + buffer.back()) % 256, 0u);
    EXPECT_EQ(encoder.Kind(), BasicFileKind::SystemProgram);
}

TEST_F(BasicEncoderTest, BlockLoadCommandCarriesStartAndSizeInHalfBlocks) {
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    EXPECT_FALSE(encoder.SetBlockLoadCommand(0));  // nothing encoded yet

    std::string big;
    for (int i = 0; i < 100; ++i) big += "PRINT \"" + std::string(200, 'A') + "\"\n";
    ASSERT_TRUE(encoder.EncodeBasicProgram(folder_.Write("BIG.BAS", big), 1));
    ASSERT_TRUE(encoder.SetBlockLoadCommand(3));
    EXPECT_EQ(encoder.BlockLoadLength(), 12u);
    EXPECT_EQ(Hex(AsBytes(encoder.BlockLoadCommand())), "1B 4C 44 42 3B 30 33 2C 30 34 0A 00");
    EXPECT_FALSE(encoder.SetBlockLoadCommand(100));
    EXPECT_FALSE(encoder.SetBlockLoadCommand(-1));
}

TEST_F(BasicEncoderTest, NewControlCodesAreWrittenIntoExistingBuffers) {
    DownloadStore store(strings_, ControlCodes{}, false);
    ASSERT_TRUE(store.MainProgram().EncodeBasicProgram(folder_.Write("M.BAS", "PRINT 1\n"), 1));
    ASSERT_TRUE(store.DataFile().EncodeBasicDataFile(folder_.Write("D.TXT", "1,2\n")));
    const auto heldByJob = store.MainProgram().Buffer();

    const ControlCodes codes{'{', '|', '}'};
    store.SetControlCodes(codes);
    for (BasicEncoder* encoder : {&store.MainProgram(), &store.DataFile()}) {
        const Bytes& buffer = *encoder->Buffer();
        const std::size_t imageEnd = 24 + 131072;
        EXPECT_EQ(buffer[20], '{');
        EXPECT_EQ(buffer[imageEnd], '|');
        EXPECT_EQ(buffer[imageEnd + 1], '}');
        ASSERT_TRUE(encoder->SetBlockLoadCommand(5));
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 12), "{LDB;05,02|}");
    }
    EXPECT_FALSE(store.SystemProgram().HasBuffer());
    EXPECT_EQ(store.SystemProgram().Codes(), codes);
    // A job that already holds a buffer keeps sending what it was given.
    EXPECT_EQ((*heldByJob)[20], 0x1B);
    EXPECT_EQ((*heldByJob)[0], 0x00);
}

TEST_F(BasicEncoderTest, DataFileImage) {
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    ASSERT_TRUE(encoder.EncodeBasicDataFile(folder_.Write("HELLO.TXT", "0123456789")));
    const Bytes image = AsBytes(encoder.Image());
    ASSERT_EQ(image.size(), 131072u);
    EXPECT_EQ(Hex(Slice(image, 0, 27)),
              Hex(FromHex("48454C4C4F2E545854000000 000A F0 02 30313233343536373839 FF")));
    EXPECT_EQ(image.back(), 0xFF);
    EXPECT_EQ(encoder.Kind(), BasicFileKind::DataFile);
    EXPECT_EQ(encoder.BlockCount(), 1);

    ASSERT_TRUE(
        encoder.EncodeBasicDataFile(folder_.Write("LONGDATANAME.TXT", std::string(300, 'x'))));
    EXPECT_EQ(Hex(Slice(AsBytes(encoder.Image()), 0, 16)),
              Hex(FromHex("4C4F4E47444154414E414D45 012C F0 02")));
}

TEST_F(BasicEncoderTest, DataFileSizeLimits) {
    const struct {
        std::size_t size;
        bool ok;
    } cases[] = {{0, false}, {1, true}, {131056, true}, {131057, false}};
    for (const auto& c : cases) {
        BasicEncoder encoder(strings_, ControlCodes{}, false);
        const bool ok =
            encoder.EncodeBasicDataFile(folder_.Write("D.TXT", std::string(c.size, '7')));
        EXPECT_EQ(ok, c.ok) << c.size;
        EXPECT_EQ(encoder.HasBuffer(), c.ok) << c.size;
        EXPECT_EQ(encoder.ErrorText(), c.ok ? "" : "Encodeing failure") << c.size;
    }
}

TEST_F(BasicEncoderTest, FailureDiscardsThePreviousBuffer) {
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    ASSERT_TRUE(encoder.EncodeBasicProgram(folder_.Write("OK.BAS", "PRINT 1\n"), 1));
    const struct {
        std::string path;
        const char* error;
    } cases[] = {
        {folder_.Path("MISSING.BAS"), "Encodeing failure"},
        {folder_.Write("EMPTY.BAS", ""), "Encodeing failure"},
        {folder_.Write("EOF.BAS", "\x1aPRINT 1\n"), "Encodeing failure"},
        {folder_.Write("NL.BAS", "\n"), "1 : Linefeed Error"},
        {folder_.Write("GOTO.BAS", "PRINT\r\nGOTO 100\r\n"), "2 : Label or Line number Error"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(encoder.EncodeBasicProgram(folder_.Write("OK.BAS", "PRINT 1\n"), 1));
        EXPECT_FALSE(encoder.EncodeBasicProgram(c.path, 1)) << c.path;
        EXPECT_EQ(encoder.ErrorText(), c.error) << c.path;
        EXPECT_FALSE(encoder.HasBuffer());
        EXPECT_EQ(encoder.ProgramCommandLength(), 0u);
        EXPECT_TRUE(encoder.SourcePath().empty());
    }
}

TEST_F(BasicEncoderTest, FixtureWithCrLfAndEndOfFileMark) {
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    ASSERT_TRUE(encoder.EncodeBasicProgram(kFixtures + "LOOPS.BAS", 1)) << encoder.ErrorText();
    const Bytes image = AsBytes(encoder.Image());
    EXPECT_EQ(Hex(Slice(image, 0x14, 12)), "00 0D 00 02 00 00 00 01 00 01 00 01");
    EXPECT_EQ(Hex(Slice(image, 0x1B500, 4)), "00 03 00 08");
    EXPECT_EQ(Hex(Slice(image, 0x1BD00, 4)), "00 04 00 06");
    const std::vector<Bytes> lines = EncodedLines(encoder, basic::BasicSlot::Main);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(Hex(lines[0]), "01 B6");
    EXPECT_EQ(Hex(lines[2]), "03 9A 02 0B");
    EXPECT_EQ(Hex(lines[3]), "08 96 00 09 07 00 2B 02 03");
    EXPECT_EQ(Hex(lines[5]), "09 8A 14 01 35 07 01 34 07 00");
    EXPECT_EQ(Hex(lines[6]), "05 BA 00 05 07 01");
    EXPECT_EQ(Hex(lines[8]), "03 A8 00 03");
    EXPECT_EQ(Hex(lines[12]), "01 8C");
}

TEST_F(BasicEncoderTest, JapaneseSourceKeepsDoubleByteCharacters) {
    BasicEncoder encoder(strings_, ControlCodes{}, true);
    ASSERT_TRUE(encoder.EncodeBasicProgram(kFixtures + "KANA.BAS", 1)) << encoder.ErrorText();
    const std::vector<Bytes> lines = EncodedLines(encoder, basic::BasicSlot::Main);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Hex(lines[0]), "09 8A 00 06 83 5C 83 74 83 67");
    EXPECT_EQ(Hex(lines[1]), "01 B6");
}

TEST_F(BasicEncoderTest, RealsIgnoreTheNumericLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    BasicEncoder encoder(strings_, ControlCodes{}, false);
    const bool ok = encoder.EncodeBasicProgram(folder_.Write("R.BAS", "PRINT 1.5\n"), 1);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(ok);
    EXPECT_EQ(Hex(EncodedLines(encoder, basic::BasicSlot::Main)[0]),
              "0A 8A 01 3F C0 00 00 00 00 00 00");
}

}  // namespace
}  // namespace rvq
