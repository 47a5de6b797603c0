#include <gtest/gtest.h>

#include "core/app/text.h"

#include "basic_test_support.h"
#include "core/app/interaction.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/builders/basic_error_message.h"
#include "core/builders/basic_file_encode.h"
#include "core/platform/file_io.h"

namespace rvq {
namespace {

using test::TempFolder;

class RecordingInteraction : public Interaction {
public:
    bool Confirm(int, const std::string&) override { return false; }
    void Error(int messageId, const std::string& text) override {
        errors.emplace_back(messageId, text);
    }
    void Info(int, const std::string&) override {}
    std::vector<std::pair<int, std::string>> errors;
};

TEST(BasicMessages, ErrorTextChoosesTheMessage) {
    const Strings strings;
    const struct {
        const char* errorText;
        int messageId;
        const char* text;
    } cases[] = {
        {"Encodeing failure", 1006,
         "Reading the specified file failed.\r\nCheck if the file is readable."},
        {"3 : Linefeed Error", 1409,
         "The BASIC program has an error. (\"3 : Linefeed Error\")\r\nCheck the program code."},
        {"7 : Label or Line number Error", 1409,
         "The BASIC program has an error. (\"7 : Label or Line number Error\")\r\n"
         "Check the program code."},
        {"5 : Encoded Line Length Over Error", 1410, nullptr},
        {"Variable over 256", 1410,
         "The BASIC program breaks a rule of the BASIC language. (\"Variable over "
         "256\")\r\n"
         "Check the program code."},
        {"Encoded Program size over 43.5kbyte", 1410, nullptr},
    };
    for (const auto& c : cases) {
        RecordingInteraction interaction;
        ShowEncoderError(strings, interaction, c.errorText);
        ASSERT_EQ(interaction.errors.size(), 1u) << c.errorText;
        EXPECT_EQ(interaction.errors[0].first, c.messageId) << c.errorText;
        // The 1410 text is the table's own, filled with the error text.
        const std::string expected =
            c.text != nullptr ? std::string(c.text) : FormatRuntime(strings.Get(1410), c.errorText);
        EXPECT_EQ(interaction.errors[0].second, expected) << c.errorText;
    }
}

TEST(EncodeBasicFile, WritesTheImageOfEachKind) {
    const Strings strings;
    TempFolder folder;
    const std::string source = folder.Write("PROG.BAS", "PRINT 1\n");
    const struct {
        BasicOutputKind kind;
        std::size_t codeAt;  // where the code (or the data) starts
        const char* first;
    } cases[] = {
        {BasicOutputKind::MainProgram, 0x1CD00, "\x03\x8A\x02\x01"},
        {BasicOutputKind::SystemProgram, 0x5200, "\x03\x8A\x02\x01"},
        {BasicOutputKind::DataFile, 16, "PRINT 1\n"},
    };
    for (const auto& c : cases) {
        const std::string output = folder.Path("OUT.BIN");
        const EncodeFileResult result = EncodeBasicFile(strings, source, output, c.kind, false);
        ASSERT_TRUE(result) << result.text;
        const auto written = ReadFileBytes(output);
        ASSERT_TRUE(written);
        ASSERT_EQ(written->size(), 131072u);
        EXPECT_EQ(written->substr(c.codeAt, std::string(c.first).size()), c.first);
    }
}

TEST(EncodeBasicFile, FailureLeavesTheOutputAlone) {
    const Strings strings;
    TempFolder folder;
    const std::string output = folder.Write("OUT.BIN", "previous");
    const std::string bad = folder.Write("BAD.BAS", "PRINT\nGOTO 9\n");
    const EncodeFileResult result =
        EncodeBasicFile(strings, bad, output, BasicOutputKind::MainProgram, false);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.messageId, 1409);
    EXPECT_EQ(result.text,
              "The BASIC program has an error. (\"2 : Label or Line number Error\")\r\n"
              "Check the program code.");
    EXPECT_EQ(ReadFileBytes(output).value_or(""), "previous");

    const EncodeFileResult missing = EncodeBasicFile(strings, folder.Path("NONE.BAS"), output,
                                                     BasicOutputKind::SystemProgram, false);
    EXPECT_EQ(missing.messageId, 1006);

    const std::string good = folder.Write("GOOD.BAS", "PRINT 1\n");
    const EncodeFileResult unwritable = EncodeBasicFile(
        strings, good, folder.Path("no/such/folder/OUT.BIN"), BasicOutputKind::MainProgram, false);
    EXPECT_FALSE(unwritable);
    EXPECT_EQ(unwritable.messageId, sid::kMsgFolderNotWritable);
    EXPECT_EQ(unwritable.file, folder.Path("no/such/folder/OUT.BIN"));
    EXPECT_NE(unwritable.text.find(folder.Path("no/such/folder") + " exists"), std::string::npos)
        << unwritable.text;
}

}  // namespace
}  // namespace rvq
