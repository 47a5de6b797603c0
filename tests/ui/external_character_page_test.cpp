#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>

#include "core/app/save_failure.h"
#include "core/builders/bmp_writer.h"
#include "core/builders/gaiji_file.h"
#include "core/pages/printer_page.h"
#include "core/platform/file_io.h"
#include "ui/number_edit.h"
#include "ui/pages/external_character_page.h"
#include "ui/pages/file_select.h"
#include "ui_fixture.h"

namespace rvq::test {

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

// The page over the fixture's model R-VQ4T1-T (GaijiWidth 1080).
struct GaijiPageUnderTest {
    UiFixture f;
    std::unique_ptr<ui::ExternalCharacterPage> page;

    GaijiPageUnderTest() {
        page = std::make_unique<ui::ExternalCharacterPage>(f.services);
        page->show();
        page->activateWindow();
        if (!QTest::qWaitForWindowActive(page.get())) qFatal("the page did not become active");
    }
    std::string Bitmap(const std::string& name, const std::vector<std::string>& picture) {
        return f.folder.Write(name, MakeBmp(picture));
    }
    void Browse(const std::string& path) {
        f.files.next = path;
        QTest::mouseClick(page->pathField()->browseButton(), Qt::LeftButton);
    }
    QString path() const { return page->pathField()->lineEdit()->text(); }
    void EnterCode(const QString& digits) {
        QLineEdit* code = page->codeEdit();
        code->setFocus();
        code->setCursorPosition(4);
        for (int i = 0; i < 4; ++i) QTest::keyClick(code, Qt::Key_Delete);
        code->setCursorPosition(4);
        TypeText(code, digits);
        page->outputEdit()->setFocus();
    }
};

// Picks a character type from the open list with the keyboard, as a user
// reaches the entries far down a long list.
void PickType(QComboBox* types, const QString& type) {
    const int target = types->findText(type);
    if (target < 0) qFatal("no type %s", qPrintable(type));
    types->showPopup();
    QAbstractItemView* view = types->view();
    view->setCurrentIndex(types->model()->index(target, 0));
    QTest::keyClick(view, Qt::Key_Return);
    if (types->currentText() != type) qFatal("type %s not picked", qPrintable(type));
}

QStringList Listing(const std::string& folder) {
    QStringList names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names << QString::fromStdString(entry.path().filename().string());
    }
    names.sort();
    return names;
}

void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

}  // namespace

class ExternalCharacterPageTest : public QObject {
    Q_OBJECT

private slots:
    void fileModeChecksTheChosenBitmap() {
        GaijiPageUnderTest t;
        ui::ExternalCharacterPage& p = *t.page;
        QCOMPARE(p.codeEdit()->text(), QStringLiteral("HEX(20)"));
        QVERIFY(!p.bitmapList()->isEnabled());

        t.Browse(t.Bitmap("A.BMP", kPicture));
        QCOMPARE(p.bitmapList()->count(), 1);
        QCOMPARE(p.countLabel()->text(), QStringLiteral("1"));
        QCOMPARE(p.sizeLabel()->text(), QStringLiteral("8 dots x 8 dots"));
        QCOMPARE(p.spacingEdit()->value(), 8);
        QVERIFY(!p.preview()->pixmap().isNull());

        const std::string tall = t.Bitmap("TALL.BMP", Blank(8, 1000));
        const struct {
            std::string file;
            int message;
        } refused[] = {{t.f.folder.Write("TEXT.BMP", "not a bitmap"), 891}, {tall, 892}};
        for (const auto& c : refused) {
            t.Browse(c.file);
            QCOMPARE(t.f.interaction.ids().back(), c.message);
            QCOMPARE(t.path(), QString());
            QCOMPARE(p.bitmapList()->count(), 0);
            QCOMPARE(p.sizeLabel()->text(), QString());
        }
        // USB memory takes characters up to 5460 dots high.
        ChooseEntry(p.locationCombo(), QStringLiteral("USB Memory"));
        QCOMPARE(p.typeCombo()->itemText(p.typeCombo()->count() - 1), QStringLiteral("55"));
        t.Browse(tall);
        QCOMPARE(t.path(), QString::fromStdString(tall));
        QCOMPARE(p.sizeLabel()->text(), QStringLiteral("8 dots x 1000 dots"));
        QCOMPARE(p.spacingEdit()->lineEdit()->maxLength(), 4);

        // A fixed-size type checks the chosen file again and locks spacing at 0.
        t.Browse(t.Bitmap("BIG.BMP", Blank(48, 48)));
        PickType(p.typeCombo(), QStringLiteral("44"));
        QCOMPARE(p.bitmapList()->count(), 1);
        QCOMPARE(p.spacingEdit()->value(), 0);
        QVERIFY(!p.spacingEdit()->isEnabled());
        PickType(p.typeCombo(), QStringLiteral("43"));
        QCOMPARE(t.f.interaction.ids().back(), 892);
        QCOMPARE(t.path(), QString());
    }

    void codeFieldTakesTheTypesRange() {
        GaijiPageUnderTest t;
        ui::ExternalCharacterPage& p = *t.page;
        const struct {
            QString type;
            QString typed;
            QString shown;
        } cases[] = {
            {"1", "41", "HEX(41)"},      {"1", "10", "HEX(20)"}, {"42", "7F", "HEX(7E)"},
            {"42", "FD", "HEX(FC)"},     {"42", "3", "HEX(40)"}, {"51", "1234", "HEX(2020)"},
            {"51", "A1B2", "HEX(A1B2)"},
        };
        for (const auto& c : cases) {
            PickType(p.typeCombo(), c.type);
            t.EnterCode(c.typed);
            QCOMPARE(p.codeEdit()->text(), c.shown);
        }
    }

    void folderModeListsTheAcceptedFiles() {
        GaijiPageUnderTest t;
        ui::ExternalCharacterPage& p = *t.page;
        const std::string folder = t.f.folder.File("chars");
        std::filesystem::create_directory(folder);
        const auto put = [&](const std::string& name, const std::string& bytes) {
            std::ignore = WriteFileAtomically(folder + "/" + name, bytes);
        };
        put("G_0141.BMP", MakeBmp(kPicture));
        put("g_41f0.bmp", MakeBmp(Blank(16, 16)));
        put("G_41F1.BMP", MakeBmp(Blank(24, 24)));  // type 41 is 16 x 16
        put("G_01_A.BMP", MakeBmp(kPicture));
        put("G_0142_2_3_9.BMP", MakeBmp(kPicture));
        put("NOTES.TXT", "x");

        ChooseEntry(p.methodCombo(), QStringLiteral("Folder"));
        QVERIFY(p.bitmapList()->isEnabled());
        QVERIFY(!p.typeCombo()->isEnabled() && !p.codeEdit()->isEnabled() &&
                !p.leftEdit()->isEnabled());
        QVERIFY(!p.confirmationCheck()->isEnabled());
        t.Browse(folder);
        QCOMPARE(p.countLabel()->text(), QStringLiteral("3"));
        QStringList names;
        for (int i = 0; i < p.bitmapList()->count(); ++i) names << p.bitmapList()->item(i)->text();
        names.sort();
        QCOMPARE(names, (QStringList{"G_0141.BMP", "G_0142_2_3_9.BMP", "g_41f0.bmp"}));

        const struct {
            QString name;
            QString type;
            QString code;
            int left, top, spacing;
        } shown[] = {{"G_0141.BMP", "1", "HEX(41)", 0, 0, 0},
                     {"G_0142_2_3_9.BMP", "1", "HEX(42)", 2, 3, 9},
                     {"g_41f0.bmp", "41", "HEX(F0)", 0, 0, 0}};
        for (const auto& c : shown) {
            p.bitmapList()->setCurrentItem(
                p.bitmapList()->findItems(c.name, Qt::MatchExactly).front());
            QCOMPARE(p.typeCombo()->currentText(), c.type);
            QCOMPARE(p.codeEdit()->text(), c.code);
            QCOMPARE(p.leftEdit()->value(), c.left);
            QCOMPARE(p.topEdit()->value(), c.top);
            QCOMPARE(p.spacingEdit()->value(), c.spacing);
        }

        const std::string empty = t.f.folder.File("empty");
        std::filesystem::create_directory(empty);
        t.Browse(empty);
        QCOMPARE(t.f.interaction.ids().back(), 893);
        QCOMPARE(t.path(), QString());
        QCOMPARE(p.bitmapList()->count(), 0);
    }

    void createWritesTheCharacterAndItsPrintFile() {
        GaijiPageUnderTest t;
        ui::ExternalCharacterPage& p = *t.page;
        t.Browse(t.Bitmap("A.BMP", kPicture));
        t.EnterCode("41");
        QVERIFY(!p.createButton()->isEnabled());  // no output named yet
        const std::string output = t.f.folder.File("OUT.GAI");
        t.f.files.next = output;
        QTest::mouseClick(p.outputBrowse(), Qt::LeftButton);
        QVERIFY(p.createButton()->isEnabled());

        QVERIFY(!p.magnificationCombo()->isEnabled());
        Click(p.confirmationCheck());
        QVERIFY(p.magnificationCombo()->isEnabled() && p.labelWidthEdit()->isEnabled());
        QCOMPARE(p.magnificationCombo()->currentText(), QStringLiteral("1.0 x 1.0"));
        QCOMPARE(p.printMethodCombo()->count(), 4);
        QCOMPARE(p.labelWidthEdit()->value(), 104);
        QCOMPARE(p.labelLengthEdit()->value(), 74);
        QTest::mouseClick(p.createButton(), Qt::LeftButton);

        const ControlCodes codes = GaijiFileCodes(t.f.context.settings);
        std::string expected(1, static_cast<char>(codes.code1));
        expected += "XD;S0,01,A,000,000,008,008,008,0,81?:00??::551880";
        expected += static_cast<char>(codes.code2);
        expected += static_cast<char>(codes.code3);
        QCOMPARE(QByteArray::fromStdString(ReadAll(output)), QByteArray::fromStdString(expected));
        const std::string print = ReadAll(t.f.folder.File("OUT.PRN"));
        QVERIFY(print.find("C000;0010,0010,10,10,010,00,B") != std::string::npos);
        QVERIFY(print.find("RC000;A") != std::string::npos);
        QCOMPARE(p.progressBar()->value(), 100);
        QVERIFY(t.f.interaction.ids().empty());
    }

    void aFailedCreateKeepsNothing() {
        GaijiPageUnderTest t;
        ui::ExternalCharacterPage& p = *t.page;
        const std::string bitmap = t.Bitmap("A.BMP", kPicture);
        t.Browse(bitmap);
        const std::string output = t.f.folder.File("OUT.GAI");
        p.outputEdit()->setText(QString::fromStdString(output));

        std::filesystem::remove(bitmap);  // gone after it was listed
        QTest::mouseClick(p.createButton(), Qt::LeftButton);
        QCOMPARE(t.f.interaction.ids().back(), 1015);
        QCOMPARE(Listing(t.f.folder.path()), QStringList());  // no output, no temporary file

        t.Bitmap("A.BMP", kPicture);
        p.outputEdit()->setText(QString::fromStdString(t.f.folder.File("missing/OUT.GAI")));
        QTest::mouseClick(p.createButton(), Qt::LeftButton);
        QCOMPARE(t.f.interaction.ids().back(), sid::kMsgFolderNotWritable);
        QCOMPARE(Listing(t.f.folder.path()), QStringList{"A.BMP"});
    }

    void resetFollowsTheModel() {
        GaijiPageUnderTest t;
        ui::ExternalCharacterPage& p = *t.page;
        ChooseEntry(p.locationCombo(), QStringLiteral("USB Memory"));
        t.Browse(t.Bitmap("A.BMP", kPicture));
        p.outputEdit()->setText(QStringLiteral("/tmp/x.GAI"));

        QVERIFY(t.f.document.OnNewDocument(t.f.document.definitionPath(), "R-VQ4T2-G", "QM"));
        p.ResetPage(ResetsForModelChange());
        QCOMPARE(p.locationCombo()->currentIndex(), 0);
        QCOMPARE(p.typeCombo()->itemText(p.typeCombo()->count() - 1), QStringLiteral("51"));
        QCOMPARE(t.path(), QString());
        QCOMPARE(p.bitmapList()->count(), 0);
        QCOMPARE(p.outputEdit()->text(), QString());
        QVERIFY(!p.createButton()->isEnabled());
        // A "T2" model has neither ribbon saving nor head up.
        QStringList methods;
        for (int i = 0; i < p.printMethodCombo()->count(); ++i)
            methods << p.printMethodCombo()->itemText(i);
        QCOMPARE(methods, (QStringList{"Thermal Transfer", "Direct Thermal"}));
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::ExternalCharacterPageTest)
#include "core/app/string_ids.h"
#include "external_character_page_test.moc"
