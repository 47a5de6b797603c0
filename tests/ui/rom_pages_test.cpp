#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "core/app/navigation.h"
#include "core/app/save_failure.h"
#include "core/builders/download_image.h"
#include "core/comm/job/job_kind.h"
#include "core/comm/ops/firmware_rules.h"
#include "e2e/rom_files.h"
#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"
#include "ui_fixture.h"

namespace rvq::test {
namespace {

using Kind = ScriptedInteraction::Kind;

// The firmware page over the fixture, with ROM files written to its folder.
struct FirmwareSetup {
    UiFixture f;
    ui::FirmwarePage page{f.services};

    std::string Rom(const std::string& name, const std::string& section,
                    const std::string& version = "V1.0", const std::string& model = "R-VQ4T1") {
        return f.folder.Write(name, RomFile(16, section, version, model));
    }
    // Chooses the file in the Add dialog.
    void Add(const std::string& path) {
        f.files.next = path;
        page.addButton()->click();
    }
    QStringList Column(int column) const {
        QStringList texts;
        for (int i = 0; i < page.listView()->topLevelItemCount(); ++i)
            texts << page.listView()->topLevelItem(i)->text(column);
        return texts;
    }
    int CurrentRow() const {
        return page.listView()->indexOfTopLevelItem(page.listView()->currentItem());
    }
    void ClickRow(int row) {
        QTreeWidget* view = page.listView();
        const QRect rect = view->visualItemRect(view->topLevelItem(row));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

// The HTML/XML ROM page over the fixture and a source folder.
struct HtmlRomSetup {
    UiFixture f;
    TempDir source;
    ui::HtmlRomPage page{f.services};

    void ChooseFolder(const std::string& folder) {
        f.files.next = folder;
        page.sourceButton()->click();
    }
    QStringList Files() const {
        QStringList texts;
        for (int i = 0; i < page.sourceList()->count(); ++i)
            texts << page.sourceList()->item(i)->text();
        return texts;
    }
    QList<QStringList> RomRows() const {
        QList<QStringList> rows;
        QTreeWidget* view = page.romList();
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            QStringList row;
            for (int c = 0; c < view->columnCount(); ++c) row << view->topLevelItem(i)->text(c);
            rows << row;
        }
        return rows;
    }
};

void WriteSource(const TempDir& dir, const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(dir.File(relative)).parent_path());
    dir.Write(relative, bytes);
}

}  // namespace

class RomPagesTest : public QObject {
    Q_OBJECT

private slots:
    void filesListInSectionOrderWithTheirDetails() {
        FirmwareSetup s;
        for (const char* section : {"MAIN", "BOOT", "CHINESE", "KANJI"})
            s.Add(s.Rom(std::string(section) + ".BIN", section));
        QCOMPARE(s.Column(1), QStringList({"BOOT", "MAIN", "KANJI", "CHINESE"}));
        QCOMPARE(s.Column(0).at(0), QString::fromStdString(s.f.folder.File("BOOT.BIN")));
        QVERIFY(s.f.interaction.ids().empty());

        // The file just added is selected and described.
        QCOMPARE(s.CurrentRow(), 2);
        QCOMPARE(s.page.fileNameEdit()->text(), QStringLiteral("File Name: KANJI.BIN"));
        QCOMPARE(s.page.labelsEdit()->toPlainText(),
                 QStringLiteral("Model:\t\t\nAddress:\t\t\nSize:\t\t\nDate:\t\t"));
        QCOMPARE(s.page.valuesEdit()->toPlainText(),
                 QStringLiteral("R-VQ4T1\n00B00000\n00000010\nOCT.25.2010"));
        QVERIFY(s.page.deleteButton()->isEnabled());
        QVERIFY(s.page.startButton()->isEnabled());

        s.page.show();
        s.ClickRow(0);
        QCOMPARE(s.page.fileNameEdit()->text(), QStringLiteral("File Name: BOOT.BIN"));
        // A file gone from the disk leaves the details as they were.
        std::filesystem::remove(s.f.folder.File("MAIN.BIN"));
        s.ClickRow(1);
        QCOMPARE(s.page.fileNameEdit()->text(), QStringLiteral("File Name: BOOT.BIN"));
        QVERIFY(s.page.deleteButton()->isEnabled());
    }

    void aSecondFileOfASectionReplacesTheFirstOnlyWhenTheOperatorAgrees() {
        FirmwareSetup s;
        s.Add(s.Rom("BOOT.BIN", "BOOT"));
        s.Add(s.Rom("MAIN1.BIN", "MAIN", "V1.0"));
        s.f.interaction.Answer(false);
        s.Add(s.Rom("MAIN2.BIN", "MAIN", "V2.0"));
        QCOMPARE(s.f.interaction.ids(), std::vector<int>{901});
        QCOMPARE(s.Column(2), QStringList({"V1.0", "V1.0"}));
        QCOMPARE(s.Column(0).at(1), QString::fromStdString(s.f.folder.File("MAIN1.BIN")));

        s.f.interaction.Answer(true);
        s.Add(s.f.folder.File("MAIN2.BIN"));
        QCOMPARE(s.f.interaction.ids(), (std::vector<int>{901, 901}));
        QCOMPARE(s.Column(1), QStringList({"BOOT", "MAIN"}));
        QCOMPARE(s.Column(2), QStringList({"V1.0", "V2.0"}));
        QCOMPARE(s.Column(0).at(1), QString::fromStdString(s.f.folder.File("MAIN2.BIN")));
        QCOMPARE(s.CurrentRow(), 1);

        // A MAIN of the second bank is a section of its own, after MAIN.
        s.Add(s.Rom("MAINN.BIN", "MAIN", "N1.0"));
        QCOMPARE(s.Column(1), QStringList({"BOOT", "MAIN", "MAIN2"}));
        QCOMPARE(s.f.interaction.ids().size(), std::size_t{2});
    }

    void theModelOfAFileMustFitTheSelectedPrinter() {
        const struct {
            const char* selected;
            const char* section;
            const char* fileModel;
            bool accepted;
        } cases[] = {
            {"R-VQ4T2-H", "MAIN", "R-VQ4T2", false}, {"R-VQ4T2-H", "MAIN", "R-VQ4T2H", true},
            {"R-VQ4T2-H", "BOOT", "R-VQ4T2", false}, {"R-VQ4T1-G", "BOOT", "r-vq", true},
            {"R-VQ4T1-G", "MAIN", "R-VQ", false},    {"R-VQ4T1-G", "MAIN", "R-VQ4T1", true},
            {"R-VQ4T1-G", "MAIN", "r-vq4t1", false}, {"R-VQ4T1-G", "KANJI", "r-vq4t1", true},
            {"R-VQ6T2-T", "C/G", "R-VQ4T1", false},
        };
        for (const auto& c : cases) {
            FirmwareSetup s;
            s.f.context.settings.printerModel = c.selected;
            s.Add(s.Rom("ROM.BIN", c.section, "V1.0", c.fileModel));
            const QString label =
                QStringLiteral("%1 %2 %3").arg(c.selected, c.section, c.fileModel);
            QVERIFY2(s.page.romList().entries.size() == (c.accepted ? 1u : 0u), qPrintable(label));
            QVERIFY2(
                s.f.interaction.ids() == (c.accepted ? std::vector<int>{} : std::vector<int>{1408}),
                qPrintable(label));
            QCOMPARE(s.page.startButton()->isEnabled(), c.accepted);
        }

        FirmwareSetup s;
        s.Add(s.f.folder.Write("SHORT.BIN", std::string(255, ' ')));
        QCOMPARE(s.f.interaction.ids(), std::vector<int>{900});
        QCOMPARE(s.page.listView()->topLevelItemCount(), 0);
    }

    void downloadModeIsOfferedByTheSettingAndUsableOverUsbOnly() {
        const struct {
            bool setting;
            const char* interfaceName;
            bool visible;
            bool enabled;
        } cases[] = {
            {false, "USB", false, false},
            {true, "USB", true, true},
            {true, "LAN", true, false},
            {true, "COM", true, false},
        };
        for (const auto& c : cases) {
            UiFixture f;
            f.context.settings.downloadMode = c.setting;
            f.context.settings.interfaceName = c.interfaceName;
            ui::FirmwarePage page(f.services);
            page.show();
            QCOMPARE(page.downloadModeBox()->isVisible(), c.visible);
            QCOMPARE(page.downloadModeBox()->isEnabled(), c.enabled);
        }

        FirmwareSetup s;
        s.f.context.settings.downloadMode = true;
        s.f.context.settings.interfaceName = "USB";
        s.page.show();
        s.Add(s.Rom("MAIN.BIN", "MAIN"));
        s.page.downloadModeBox()->click();
        QVERIFY(s.page.downloadModeBox()->isChecked());
        s.f.interaction.Answer(true);
        s.page.startButton()->click();
        QCOMPARE(s.f.launched.size(), std::size_t{1});
        QVERIFY(InputsOf<FirmwareDownloadArgs>(*s.f.launched.back()).skipStatusQuery);

        // Another interface chosen meanwhile: the box is off when the page
        // shows again, and stays off when USB comes back.
        s.page.hide();
        s.f.context.settings.interfaceName = "LAN";
        s.page.show();
        QVERIFY(!s.page.downloadModeBox()->isChecked());
        QVERIFY(!s.page.downloadModeBox()->isEnabled());
        s.page.hide();
        s.f.context.settings.interfaceName = "USB";
        s.page.show();
        QVERIFY(s.page.downloadModeBox()->isEnabled());
        QVERIFY(!s.page.downloadModeBox()->isChecked());
        s.f.interaction.Answer(true);
        s.page.startButton()->click();
        QVERIFY(!InputsOf<FirmwareDownloadArgs>(*s.f.launched.back()).skipStatusQuery);
    }

    void startAsksThenHandsTheListToTheJob() {
        FirmwareSetup s;
        s.Add(s.Rom("CG.BIN", "C/G", "V9.9", "R-VQ"));
        s.Add(s.Rom("MAIN.BIN", "MAIN", "V2.0"));
        s.Add(s.Rom("BOOT.BIN", "BOOT", "V1.5"));
        s.page.startButton()->click();
        QCOMPARE(s.f.interaction.ids(), std::vector<int>{1300});
        QVERIFY(s.f.launched.empty());

        s.f.interaction.Answer(true);
        s.page.startButton()->click();
        QCOMPARE(s.f.launched.size(), std::size_t{1});
        const JobInputs& job = *s.f.launched.front();
        QCOMPARE(job.kind, JobKind::FirmwareDownload);
        const FirmwareDownloadArgs& args = InputsOf<FirmwareDownloadArgs>(job);
        QCOMPARE(args.sectionNames, (std::vector<std::string>{"BOOT", "MAIN", "C/G"}));
        QCOMPARE(args.imageSizes, (std::vector<std::uint32_t>(3, 16 * 1024 + 4)));
        QCOMPARE(args.expectedVersions, (std::array<std::string, 4>{"V1.5", "V2.0", "", ""}));
        QCOMPARE(args.sectionIndices[firmware_index::kBoot], 0);
        QCOMPARE(args.sectionIndices[firmware_index::kMain], 1);
        QCOMPARE(args.sectionIndices[firmware_index::kBoot2], -1);
        QCOMPARE(args.sectionIndices[firmware_index::kMain2], -1);
        QVERIFY(!args.skipStatusQuery);
        // Each block carries the whole ROM file behind the program prefix.
        const std::string rom = ReadAll(s.f.folder.File("MAIN.BIN"));
        const ByteBuffer& block = *args.images[1];
        QCOMPARE(block.size(), download_image::kImageOffset + rom.size());
        QVERIFY(
            std::equal(rom.begin(), rom.end(), block.begin() + download_image::kImageOffset,
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));

        // A listed file that cannot be loaded any more stops the start.
        std::filesystem::remove(s.f.folder.File("CG.BIN"));
        s.f.interaction.Answer(true);
        s.page.startButton()->click();
        QCOMPARE(s.f.interaction.ids(), (std::vector<int>{1300, 1300, 1300, 900}));
        QCOMPARE(s.f.launched.size(), std::size_t{1});
    }

    void deletingAndResettingEmptyTheList() {
        FirmwareSetup s;
        s.page.show();
        s.Add(s.Rom("BOOT.BIN", "BOOT"));
        s.Add(s.Rom("MAIN.BIN", "MAIN"));
        s.ClickRow(0);
        s.page.deleteButton()->click();
        QCOMPARE(s.Column(1), QStringList({"MAIN"}));
        QVERIFY(!s.page.deleteButton()->isEnabled());
        QVERIFY(s.page.startButton()->isEnabled());
        QVERIFY(s.page.fileNameEdit()->text().isEmpty());
        QVERIFY(s.page.valuesEdit()->toPlainText().isEmpty());
        s.ClickRow(0);
        s.page.deleteButton()->click();
        QVERIFY(!s.page.startButton()->isEnabled());
        QVERIFY(s.page.addButton()->isEnabled());

        s.Add(s.Rom("KANJI.BIN", "KANJI"));
        s.page.ResetPage(ResetsForInterfaceChange("LAN", "USB"));
        QCOMPARE(s.Column(1), QStringList({"KANJI"}));
        s.page.ResetPage(ResetsForModelChange());
        QCOMPARE(s.page.listView()->topLevelItemCount(), 0);
        QVERIFY(s.page.romList().entries.empty());
        QVERIFY(!s.page.startButton()->isEnabled() && !s.page.deleteButton()->isEnabled());
        QVERIFY(s.page.fileNameEdit()->text().isEmpty());

        s.Add(s.Rom("KANJI.BIN", "KANJI"));
        QVERIFY(s.page.HandleCommand(command::kRestoreDisplay));
        QVERIFY(s.page.romList().entries.empty());
        QVERIFY(!s.page.HandleCommand(command::kEnableAll));
    }

    void webMonitorImagesNeedAServiceMode() {
        HtmlRomSetup s;
        QCOMPARE(s.page.typeCombo()->count(), 1);
        QCOMPARE(s.page.typeCombo()->itemText(0), QStringLiteral("HTML/XML"));
        QCOMPARE(s.page.loadAddressLabel()->text(),
                 QStringLiteral("Load Address = 0x00B00000    Size = 1024KBytes"));
        s.f.context.serviceMode = ServiceMode::Restricted;
        s.page.ServiceModeChanged();
        QCOMPARE(s.page.typeCombo()->count(), 2);

        WriteSource(s.source, "XML/A.XML", std::string(1000, 'x'));
        WriteSource(s.source, "ENG/PASS/p.htm", std::string(300, 'p'));
        WriteSource(s.source, "ENG/SA_HTM/s.htm", std::string(20, 's'));
        s.ChooseFolder(s.source.path());
        QCOMPARE(s.Files(), QStringList({"\\XML\\A.XML", "\\ENG\\PASS\\p.htm"}));
        QCOMPARE(s.page.countLabel()->text(), QStringLiteral("2"));

        // Another type scans the chosen folder again for its own folders.
        ChooseEntry(s.page.typeCombo(), QStringLiteral("WMON"));
        QCOMPARE(s.page.romType(), HtmlRomType::Wmon);
        QCOMPARE(s.page.loadAddressLabel()->text(),
                 QStringLiteral("Load Address = 0x00C00000    Size = 128KBytes"));
        QCOMPARE(s.Files(), QStringList({"\\ENG\\PASS\\p.htm", "\\ENG\\SA_HTM\\s.htm"}));

        s.page.ResetPage(ResetsForModelChange());
        QCOMPARE(s.page.romType(), HtmlRomType::HtmlXml);
        QCOMPARE(s.page.typeCombo()->count(), 2);
        QVERIFY(s.page.sourceEdit()->text().isEmpty());
        QVERIFY(s.Files().isEmpty());
        QCOMPARE(s.page.countLabel()->text(), QStringLiteral("0"));
        QCOMPARE(s.page.loadAddressLabel()->text(),
                 QStringLiteral("Load Address = 0x00B00000    Size = 1024KBytes"));
    }

    void theScanShowsTheFilesAndTheirShareOfTheImage() {
        HtmlRomSetup s;
        WriteSource(s.source, "XML/A.XML", std::string(600, 'a'));
        WriteSource(s.source, "MAIL/TEXT/m.txt", std::string(400, 'm'));
        WriteSource(s.source, "MAIL/TEXT/empty.txt", std::string());
        WriteSource(s.source, "XML/ABCDEFGHIJKLMNOPQRSTU.XML", "long");  // 25 characters
        s.ChooseFolder(s.source.path());
        QCOMPARE(s.Files(), QStringList({"\\XML\\A.XML", "\\MAIL\\TEXT\\m.txt"}));
        QCOMPARE(s.page.countLabel()->text(), QStringLiteral("2"));
        QCOMPARE(s.page.sizeLabel()->text(), QStringLiteral("Data Size + Index = 5.0KB(0.5%)"));
        QVERIFY(s.f.interaction.ids().empty());
        QVERIFY(!s.page.createButton()->isEnabled());
        QTest::keyClicks(s.page.outputEdit(), QString::fromStdString(s.f.folder.File("OUT.BIN")));
        QVERIFY(s.page.createButton()->isEnabled());

        TempDir empty;
        WriteSource(empty, "HTML/elsewhere.htm", "not in a scanned folder");
        s.ChooseFolder(empty.path());
        QCOMPARE(s.f.interaction.ids(), std::vector<int>{1400});
        QVERIFY(s.page.sourceEdit()->text().isEmpty());
        QVERIFY(s.Files().isEmpty());
        QVERIFY(!s.page.createButton()->isEnabled());
    }

    void createWritesTheImageAndListsItsIndex() {
        HtmlRomSetup s;
        WriteSource(s.source, "XML/A.XML", std::string(10, 'a'));
        WriteSource(s.source, "ENG/PASS/p.htm", std::string(300, 'p'));
        WriteSource(s.source, "JPN/PASS/p.htm", std::string(300, 'p'));
        s.ChooseFolder(s.source.path());
        const std::string output = s.f.folder.File("WEB.BIN");
        s.f.files.next = output;
        s.page.outputButton()->click();
        QCOMPARE(s.page.outputEdit()->text(), QString::fromStdString(output));
        s.page.createButton()->click();
        QVERIFY(s.f.interaction.ids().empty());
        QCOMPARE(s.page.progressBar()->value(), 100);
        QCOMPARE(s.RomRows(), (QList<QStringList>{{"1", "/", "XML/A.XML", "1000", "10"},
                                                  {"2", "3", "PASS/p.htm", "100A", "300"},
                                                  {"", "", "TOTAL", "1136", "4406"}}));
        const std::string image = ReadAll(output);
        QCOMPARE(image.size(), std::size_t{0x100000});
        QCOMPARE(image.substr(image.size() - 256 + 0xF0, 13), std::string("VNTA LOADFILE"));

        s.page.headerBox()->click();
        s.page.createButton()->click();
        const std::string withHeader = ReadAll(output);
        QCOMPARE(withHeader.size(), std::size_t{0x100000 + 288});
        QCOMPARE(withHeader.substr(0, 3), std::string("BAR"));
        QCOMPARE(withHeader.substr(288), image);
    }

    void aFailedCreateKeepsTheOldFileAndShowsNoList() {
        HtmlRomSetup s;
        WriteSource(s.source, "XML/A.XML", std::string(10, 'a'));
        WriteSource(s.source, "XML/B.XML", std::string(10, 'b'));
        s.ChooseFolder(s.source.path());
        const std::string output = s.f.folder.Write("OLD.BIN", "the previous image");
        QTest::keyClicks(s.page.outputEdit(), QString::fromStdString(output));

        // Emptied after the scan: the build stops at that file.
        s.source.Write("XML/B.XML", std::string());
        s.page.createButton()->click();
        QCOMPARE(s.f.interaction.ids(), std::vector<int>{1401});
        QCOMPARE(s.page.progressBar()->value(), 0);
        QVERIFY(s.RomRows().isEmpty());
        QCOMPARE(ReadAll(output), std::string("the previous image"));

        // An output folder that does not exist.
        s.source.Write("XML/B.XML", std::string(10, 'b'));
        s.page.outputEdit()->setText(QString::fromStdString(s.f.folder.File("no/such/ROM.BIN")));
        s.page.createButton()->click();
        QCOMPARE(s.f.interaction.ids(), (std::vector<int>{1401, sid::kMsgFolderNotWritable}));
        QCOMPARE(s.page.progressBar()->value(), 0);
        QVERIFY(s.RomRows().isEmpty());
        QVERIFY(!std::filesystem::exists(s.f.folder.File("no")));
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::RomPagesTest)
#include "core/app/string_ids.h"
#include "rom_pages_test.moc"
