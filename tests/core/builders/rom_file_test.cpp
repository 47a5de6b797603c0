#include <gtest/gtest.h>

#include "core/app/strings.h"
#include "core/builders/download_image.h"
#include "core/builders/rom_list.h"
#include "core/builders/rom_load_header.h"
#include "core/builders/rom_trailer.h"
#include "test_support.h"

namespace rvq {
namespace {

struct TrailerFields {
    std::string section = "MAIN";
    std::string version = "V1.0";
    std::string model = "R-VQ4T1";
    std::string date = "25OCT2010";
    std::uint32_t sizeKb = 0x12345;
    std::uint32_t address = 0x00B00000;
};

std::string Column(const std::string& text) { return text + std::string(16 - text.size(), ' '); }

std::string MakeTrailer(const TrailerFields& f) {
    std::string text = std::string(16, ' ') + Column(f.date) + Column(f.model) + Column(f.version) +
                       Column(f.section) +
                       Column(
                           "0100"
                           "00001000");
    return EncodeRomTrailer({f.sizeKb, f.address, text});
}

TEST(RomTrailer, ReadsTheNineTexts) {
    test::TempDir dir;
    const std::string path = dir.Write("a.bin", std::string(100, 'x') + MakeTrailer({}));
    const auto info = ReadRomTrailer(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, "00012345");
    EXPECT_EQ(info->loadAddress, "00B00000");
    EXPECT_EQ(info->date, "OCT.25.2010");
    EXPECT_EQ(info->model, "R-VQ4T1");
    EXPECT_EQ(info->version, "V1.0");
    EXPECT_EQ(info->section, "MAIN");
    EXPECT_EQ(info->reserved1, "0100");
    EXPECT_EQ(info->reserved2, "00001000");
    EXPECT_EQ(info->magic, "VNTA LOADFILE");
}

TEST(RomTrailer, MapsSectionsAndDates) {
    const struct {
        TrailerFields fields;
        const char* section;
        const char* date;
        RomSectionType type;
    } cases[] = {
        {{.section = "HTML"}, "WMON", "OCT.25.2010", RomSectionType::Wmon},
        {{.section = "MAIN", .version = "N1.0"}, "MAIN2", "OCT.25.2010", RomSectionType::Main2},
        {{.section = "BOOT", .version = "N2.1"}, "BOOT2", "OCT.25.2010", RomSectionType::Boot2},
        {{.section = "C/G", .version = "N1.0"},
         "C/G",
         "OCT.25.2010",
         RomSectionType::CharacterGenerator},
        {{.section = "KANJI", .date = "1JAN2010"}, "KANJI", "", RomSectionType::Kanji},
        {{.section = "FONTX", .date = "01JAN2010"}, "FONTX", "JAN.01.2010", RomSectionType::Other},
    };
    for (const auto& c : cases) {
        const RomFileInfo info = ParseRomTrailer(MakeTrailer(c.fields));
        EXPECT_EQ(info.section, c.section) << c.fields.section;
        EXPECT_EQ(info.date, c.date) << c.fields.date;
        EXPECT_EQ(SectionTypeOf(info.section), c.type) << c.fields.section;
    }
}

TEST(RomTrailer, FieldEndsAtTheFirstNul) {
    std::string trailer = MakeTrailer({.model = "R-VQ4T1"});
    trailer[rom_trailer::kModel + 4] = '\0';
    EXPECT_EQ(ParseRomTrailer(trailer).model, "R-VQ");
}

TEST(RomTrailer, AShortBufferReadsAsIfPaddedWithNul) {
    const std::string trailer = MakeTrailer({});
    const RomFileInfo cut = ParseRomTrailer(trailer.substr(0, rom_trailer::kModel + 4));
    EXPECT_EQ(cut.size, "00012345");
    EXPECT_EQ(cut.date, "OCT.25.2010");
    EXPECT_EQ(cut.model, "R-VQ");
    EXPECT_EQ(cut.version, "");
    EXPECT_EQ(cut.magic, "");
    EXPECT_EQ(ParseRomTrailer("").loadAddress, "00000000");
}

TEST(RomTrailer, RejectsFilesTooShortForTheirLayout) {
    test::TempDir dir;
    const std::string trailer = MakeTrailer({});
    const struct {
        std::string bytes;
        bool isRom;
    } cases[] = {
        {trailer.substr(1), false},                        // 255 bytes
        {trailer, true},                                   // 256 bytes: all trailer
        {"BAR" + std::string(284, ' ') + trailer, false},  // header cut short
        {"BAR" + std::string(285, ' ') + trailer, true},
        {"BA" + std::string(286, ' ') + trailer.substr(1), true},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write("f.bin", c.bytes);
        EXPECT_EQ(ReadRomTrailer(path).has_value(), c.isRom) << c.bytes.size();
        EXPECT_EQ(BuildDownloadImage(c.bytes, {}).has_value(), c.isRom) << c.bytes.size();
    }
    EXPECT_FALSE(ReadRomTrailer(dir.File("missing.bin")));
}

TEST(RomModelCheck, FollowsTheSelectedModel) {
    const struct {
        RomSectionType type;
        const char* trailerModel;
        const char* selected;
        bool fits;
    } cases[] = {
        {RomSectionType::Boot, "r-vq", "R-VQ4T1-G", true},
        {RomSectionType::Kanji, "R-VQ", "R-VQ6T2-T", true},
        {RomSectionType::Main, "R-VQ", "R-VQ4T1-G", false},
        {RomSectionType::Main, "R-VQ4T1", "R-VQ4T1-G", true},
        {RomSectionType::Main, "r-vq4t1", "R-VQ4T1-G", false},
        {RomSectionType::Boot, "r-vq4t1", "R-VQ4T1-G", true},
        {RomSectionType::Main, "R-VQ4T2", "R-VQ4T2-H", false},
        {RomSectionType::Main, "R-VQ4T2H", "R-VQ4T2-H", true},
        {RomSectionType::Main, "R-VQ", "R-VQ-X", true},
        {RomSectionType::Boot, "R-VQ6T2", "R-VQ4T2-G", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RomFitsModel(c.trailerModel, c.type, c.selected), c.fits)
            << c.trailerModel << " on " << c.selected;
    }
}

class RomListTest : public ::testing::Test {
protected:
    std::string Rom(const std::string& name, const TrailerFields& fields) {
        return dir.Write(name, std::string(16, 'd') + MakeTrailer(fields));
    }
    std::vector<std::string> Sections() const {
        std::vector<std::string> out;
        for (const auto& e : list.entries) out.push_back(e.section);
        return out;
    }
    AddRomOutcome Add(const std::string& path, test::ScriptedInteraction& ui) {
        return AddRomFile(list, path, "R-VQ4T1-G", ui, strings);
    }

    test::TempDir dir;
    Strings strings;
    RomList list;
};

TEST_F(RomListTest, KeepsTypeOrder) {
    test::ScriptedInteraction ui;
    for (const char* section : {"MAIN", "BOOT", "CHINESE", "KANJI"}) {
        EXPECT_EQ(
            Add(Rom(std::string(section) + ".bin", {.section = section, .model = "R-VQ4T1"}), ui),
            AddRomOutcome::Added);
    }
    int position = -1;
    EXPECT_EQ(AddRomFile(list, Rom("m2.bin", {.section = "MAIN", .version = "N1.0"}), "R-VQ4T1-G",
                         ui, strings, CodePage::Western1252, &position),
              AddRomOutcome::Added);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(Sections(), (std::vector<std::string>{"BOOT", "MAIN", "MAIN2", "KANJI", "CHINESE"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RomListTest, AsksBeforeReplacingASection) {
    test::ScriptedInteraction yes(true), no(false);
    ASSERT_EQ(Add(Rom("a.bin", {.version = "V1.0"}), yes), AddRomOutcome::Added);
    EXPECT_EQ(Add(Rom("b.bin", {.version = "V2.0"}), no), AddRomOutcome::Declined);
    EXPECT_EQ(list.entries.at(0).version, "V1.0");
    EXPECT_EQ(no.messages, (std::vector<std::pair<char, int>>{{'?', 901}}));

    EXPECT_EQ(Add(Rom("c.bin", {.version = "V3.0"}), yes), AddRomOutcome::Replaced);
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].version, "V3.0");
    EXPECT_EQ(list.entries[0].path, dir.File("c.bin"));
}

TEST_F(RomListTest, OtherSectionsReplaceEachOtherWithoutAQuestion) {
    test::ScriptedInteraction ui(false);
    ASSERT_EQ(Add(Rom("x.bin", {.section = "FONTX", .model = "R-VQ"}), ui), AddRomOutcome::Added);
    EXPECT_EQ(Add(Rom("y.bin", {.section = "FONTY", .model = "R-VQ"}), ui),
              AddRomOutcome::Replaced);
    EXPECT_EQ(Sections(), (std::vector<std::string>{"FONTY"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RomListTest, RejectedFilesLeaveTheListAlone) {
    test::ScriptedInteraction ui;
    ASSERT_EQ(Add(Rom("a.bin", {}), ui), AddRomOutcome::Added);
    EXPECT_EQ(Add(dir.Write("short.bin", std::string(255, ' ')), ui), AddRomOutcome::NotRomFile);
    EXPECT_EQ(Add(Rom("b.bin", {.model = "R-VQ6T2"}), ui), AddRomOutcome::WrongModel);
    EXPECT_EQ(ui.messages, (std::vector<std::pair<char, int>>{{'!', 900}, {'!', 1408}}));
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].path, dir.File("a.bin"));
}

TEST(DownloadImage, SkipsTheLoadHeaderAndTakesTheLoadCommandFromTheTrailer) {
    const std::string image =
        std::string("IMAGE") + MakeTrailer({.sizeKb = 0x00010203, .address = 0x00C00000});
    const ControlCodes codes{'{', '|', '}'};
    RomLoadHeader header;
    header.loadAddress = 1;  // the header's own load command is not used
    header.sizeKb = 2;
    for (const std::string& file : {image, EncodeRomLoadHeader(header) + image}) {
        const auto out = BuildDownloadImage(file, codes);
        ASSERT_TRUE(out);
        EXPECT_EQ(out->bytes.substr(0, 13), std::string("{LD;\x00\xC0\x00\x00,\x02\x03|}", 13));
        EXPECT_EQ(out->bytes.substr(20, 4), "{LP;");
        EXPECT_EQ(out->bytes.substr(24), image);
        EXPECT_EQ(out->size, image.size() + 4);
    }
}

TEST(RomLoadHeader, LaysOutItsFields) {
    const std::string header = EncodeRomLoadHeader(
        {Column("R-VQ"), Column("V1.0"), Column("XML"), 0xAB12, 0x00B00000, 1024});
    ASSERT_EQ(header.size(), 288u);
    EXPECT_EQ(header.substr(0, 16), "BAR" + std::string(13, ' '));
    EXPECT_EQ(header.substr(16, 16), Column("R-VQ"));
    EXPECT_EQ(header.substr(64, 16), Column("V1.0"));
    EXPECT_EQ(header.substr(96, 4), "AB12");
    EXPECT_EQ(header.substr(128, 16), Column("XML"));
    EXPECT_EQ(header.substr(144, 8), "00B00000");
    EXPECT_EQ(header.substr(271), std::string("\x1bLD;\x00\xB0\x00\x00,\x04\x00\n\x00\x1bLP;", 17));
    EXPECT_EQ(header.find_first_not_of(' ', 152), 271u);
}

TEST(FirmwareDownloadInputs, CarryVersionsAndPositionsInListOrder) {
    test::TempDir dir;
    RomList list;
    auto add = [&](const std::string& section, const std::string& version) {
        const std::string path =
            dir.Write(section + ".bin", MakeTrailer({.section = section, .version = version}));
        list.entries.push_back({path, section, version, SectionTypeOf(section)});
    };
    add("BOOT", "B1.0");
    add("MAIN2", "N3.0");
    add("KANJI", "K1");
    const auto inputs = BuildFirmwareDownloadInputs(list, {});
    ASSERT_TRUE(inputs);
    EXPECT_EQ(inputs->images.size(), 3u);
    EXPECT_EQ(inputs->sectionNames, (std::vector<std::string>{"BOOT", "MAIN2", "KANJI"}));
    EXPECT_EQ(inputs->bootVersion, "B1.0");
    EXPECT_EQ(inputs->main2Version, "N3.0");
    EXPECT_EQ(inputs->mainVersion, "");
    EXPECT_EQ((std::vector<int>{inputs->bootIndex, inputs->boot2Index, inputs->mainIndex,
                                inputs->main2Index}),
              (std::vector<int>{0, -1, -1, 1}));

    list.entries.push_back({dir.File("gone.bin"), "C/G", "", RomSectionType::CharacterGenerator});
    EXPECT_FALSE(BuildFirmwareDownloadInputs(list, {}));
}

}  // namespace
}  // namespace rvq
