#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

#include "core/app/navigation.h"
#include "core/builders/download_store.h"
#include "core/comm/ops/basic_download.h"
#include "core/pages/printer_page.h"
#include "sim/sim_server.h"
#include "ui/category_tabs.h"
#include "ui/desktop_executor.h"
#include "ui/main_window.h"
#include "ui/number_edit.h"
#include "ui/pages/basic_download_page.h"
#include "ui/pages/external_character_page.h"
#include "ui/pages/file_select.h"
#include "ui/progress_dialog.h"
#include "ui_fixture.h"

namespace rvq::test {

namespace {

const std::string kLoops = RVQ_FIXTURES_DIR "/basic/LOOPS.BAS";
constexpr int kMain = 0;
constexpr int kSystem = 1;

// Clicks a check box on its box, as a user does.
void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// The page over the fixture's model (MaxBlock 24, BlockSize 128, starting
// blocks 15, 17 and 19), with its own download store.
struct BasicPageUnderTest {
    UiFixture f;
    DownloadStore store{f.context.strings, f.context.settings.controlCodes, false};
    std::unique_ptr<ui::BasicDownloadPage> page;

    BasicPageUnderTest() {
        page = std::make_unique<ui::BasicDownloadPage>(f.services, store);
        page->show();
        page->activateWindow();
        if (!QTest::qWaitForWindowActive(page.get())) qFatal("the page did not become active");
    }
    // Ticks a file's box and chooses `path` with its browse button.
    void Choose(int row, const std::string& path) {
        if (!page->fileCheck(row)->isChecked()) Click(page->fileCheck(row));
        f.files.next = path;
        QTest::mouseClick(page->fileField(row)->browseButton(), Qt::LeftButton);
    }
    QString shownPath(int row) const { return page->fileField(row)->lineEdit()->text(); }
};

// Types into a starting-block edit and leaves it for the next one.
void TypeAndLeave(ui::NumberEdit* edit, QWidget* next, const QString& text) {
    edit->lineEdit()->setFocus();
    edit->lineEdit()->selectAll();
    if (text.isEmpty()) QTest::keyClick(edit->lineEdit(), Qt::Key_Delete);
    TypeText(edit->lineEdit(), text);
    next->setFocus();
}

}  // namespace

class BasicDownloadPageTest : public QObject {
    Q_OBJECT

private slots:
    void allocationFollowsTheCombosAndItsBox() {
        BasicPageUnderTest t;
        ui::BasicDownloadPage& p = *t.page;
        QCOMPARE(p.ttfCombo()->count(), 25);
        QCOMPARE(p.basicCombo()->count(), 26);
        QCOMPARE(p.bitmapCombo()->currentText(), QStringLiteral("1792 KB  (14 Block)"));
        QCOMPARE(p.basicCombo()->currentText(), QStringLiteral("512 KB  (4 Block)"));
        QCOMPARE(p.pcSaveEdit()->text(), QStringLiteral("768 KB"));
        QVERIFY(!p.ttfCombo()->isEnabled() && !p.pcSaveEdit()->isEnabled());
        QVERIFY(!p.startButton()->isEnabled());

        Click(p.allocateCheck());
        QVERIFY(p.ttfCombo()->isEnabled() && p.pcSaveEdit()->isEnabled());
        QVERIFY(p.startButton()->isEnabled());

        ChooseEntry(p.ttfCombo(), QStringLiteral("768 KB  (6 Block)"));
        QCOMPARE(p.pcSaveEdit()->text(), QStringLiteral("0 KB"));
        QVERIFY(p.startButton()->isEnabled());
        // One block more than the flash holds is not sent.
        ChooseEntry(p.ttfCombo(), QStringLiteral("896 KB  (7 Block)"));
        QCOMPARE(p.pcSaveEdit()->text(), QStringLiteral("-128 KB"));
        QVERIFY(!p.startButton()->isEnabled());

        ChooseEntry(p.ttfCombo(), QStringLiteral("0 KB  (0 Block)"));
        ChooseEntry(p.basicCombo(), QStringLiteral("No Change"));
        QCOMPARE(p.pcSaveEdit()->text(), QString());
        QVERIFY(!p.pcSaveEdit()->isEnabled());
        QVERIFY(p.startButton()->isEnabled());
    }

    void startingBlocksStayWithinTheFlash() {
        BasicPageUnderTest t;
        ui::BasicDownloadPage& p = *t.page;
        QCOMPARE(p.startEdit(kMain)->value(), 15);
        QVERIFY(!p.startEdit(kMain)->isEnabled());
        Click(p.fileCheck(kMain));
        QVERIFY(p.startEdit(kMain)->isEnabled() && p.fileField(kMain)->isEnabled());

        const struct {
            QString typed;
            QString shown;
        } cases[] = {{"99", "23"}, {"7", "7"}, {"", "15"}, {"4x2", "23"}};
        for (const auto& c : cases) {
            TypeAndLeave(p.startEdit(kMain), p.allocateCheck(), c.typed);
            QCOMPARE(p.startEdit(kMain)->lineEdit()->text(), c.shown);
        }
    }

    void filesAreEncodedWhenChosen() {
        BasicPageUnderTest t;
        ui::BasicDownloadPage& p = *t.page;
        Click(p.fileCheck(kMain));
        QVERIFY(!p.startButton()->isEnabled());  // ticked, nothing chosen
        t.Choose(kMain, kLoops);
        QCOMPARE(t.shownPath(kMain), QString::fromStdString(kLoops));
        QVERIFY(t.store.MainProgram().HasBuffer());
        QVERIFY(p.startButton()->isEnabled());

        t.f.folder.Write("BAD.BAS", "PRINT\nGOTO 9\n");
        std::string many;
        for (int i = 0; i < 257; ++i) many += "V" + std::to_string(i) + "=1\n";
        t.f.folder.Write("MANY.BAS", many);
        const struct {
            int row;
            std::string file;
            int message;
        } failures[] = {{kMain, t.f.folder.File("BAD.BAS"), 1409},
                        {kSystem, t.f.folder.File("MANY.BAS"), 1410},
                        {kSystem, t.f.folder.File("NONE.BAS"), 1006}};
        for (const auto& c : failures) {
            t.Choose(c.row, c.file);
            QCOMPARE(t.f.interaction.ids().back(), c.message);
            QCOMPARE(t.shownPath(c.row), QString());
        }
        QVERIFY(!t.store.MainProgram().HasBuffer());
        QVERIFY(!t.store.SystemProgram().HasBuffer());
        QVERIFY(!p.startButton()->isEnabled());

        // Unticking forgets the file; ticking again does not bring it back.
        t.Choose(kMain, kLoops);
        Click(p.fileCheck(kMain));
        QCOMPARE(t.shownPath(kMain), QString());
        QVERIFY(!t.store.MainProgram().HasBuffer());
        Click(p.fileCheck(kMain));
        QCOMPARE(t.shownPath(kMain), QString());
        QVERIFY(!p.startButton()->isEnabled());
    }

    void startAsksThenHandsOverTheChosenSteps() {
        BasicPageUnderTest t;
        ui::BasicDownloadPage& p = *t.page;
        Click(p.allocateCheck());
        ChooseEntry(p.basicCombo(), QStringLiteral("No Change"));
        t.Choose(kMain, kLoops);
        TypeAndLeave(p.startEdit(kMain), p.allocateCheck(), "5");

        QTest::mouseClick(p.startButton(), Qt::LeftButton);
        QCOMPARE(t.f.interaction.ids().back(), 1301);
        QVERIFY(t.f.launched.empty());

        t.f.interaction.Answer(true);
        QTest::mouseClick(p.startButton(), Qt::LeftButton);
        QCOMPARE(t.f.launched.size(), std::size_t{1});
        const JobInputs& job = *t.f.launched.back();
        QCOMPARE(job.kind, JobKind::BasicDownload);
        const BasicDownloadArgs& args = InputsOf<BasicDownloadArgs>(job);
        QCOMPARE(args.allocation, (MemoryAllocation{0, 14, 0, true}));
        QCOMPARE(args.mainProgram.length,
                 static_cast<std::uint32_t>(t.store.MainProgram().ProgramCommandLength()));
        QCOMPARE(args.systemProgram.length, 0u);
        const auto& buffer = *args.mainProgram.buffer;
        QCOMPARE(std::string(buffer.begin() + 1, buffer.begin() + 7), std::string("LDB;05"));
    }

    void resetStartsThePageAfresh() {
        BasicPageUnderTest t;
        ui::BasicDownloadPage& p = *t.page;
        Click(p.allocateCheck());
        ChooseEntry(p.ttfCombo(), QStringLiteral("128 KB  (1 Block)"));
        t.Choose(kMain, kLoops);
        TypeAndLeave(p.startEdit(kMain), p.allocateCheck(), "3");

        PageResets unrelated;
        unrelated.maintenance = true;
        p.ResetPage(unrelated);
        QVERIFY(p.allocateCheck()->isChecked());

        p.ResetPage(ResetsForModelChange());
        QVERIFY(!p.allocateCheck()->isChecked() && !p.fileCheck(kMain)->isChecked());
        QCOMPARE(p.ttfCombo()->currentIndex(), 0);
        QCOMPARE(p.pcSaveEdit()->text(), QStringLiteral("768 KB"));
        QCOMPARE(p.startEdit(kMain)->value(), 15);
        QCOMPARE(t.shownPath(kMain), QString());
        QVERIFY(!t.store.MainProgram().HasBuffer());
        QVERIFY(!p.startButton()->isEnabled());
    }

    // The main window shows both pages in their tabs and the store it
    // owns holds the page's files; Restore Display to Default starts afresh.
    void mainWindowHoldsThePages() {
        UiFixture f;
        ui::MainWindow window(f.services);
        auto* basic =
            qobject_cast<ui::BasicDownloadPage*>(window.categoryTabs(Category::Download)->page(1));
        QVERIFY(basic != nullptr);
        QVERIFY(qobject_cast<ui::ExternalCharacterPage*>(
                    window.categoryTabs(Category::Tool)->page(1)) != nullptr);
        QVERIFY(window.SwitchCategory(Category::Download));
        window.categoryTabs(Category::Download)->SetCurrentIndex(1);
        basic->fileCheck(kMain)->setChecked(true);
        f.files.next = kLoops;
        QTest::mouseClick(basic->fileField(kMain)->browseButton(), Qt::LeftButton);
        QVERIFY(window.downloadStore().MainProgram().HasBuffer());
        window.action(command::kRestoreDisplay)->trigger();
        QVERIFY(!window.downloadStore().MainProgram().HasBuffer());
        QVERIFY(!basic->fileCheck(kMain)->isChecked());
    }

    // The page's job, run behind the progress dialog against a simulated
    // printer on loopback: the printer must hold what the page chose.
    void downloadReachesTheSimulatedPrinter() {
        ::setenv("RVQ_TIME_SCALE", "0.01", 1);
        sim::SimServer server{Clock(0.01)};
        sim::PrinterSetup setup;
        setup.printer.restartMs = 1000;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        std::ignore = server.AddPrinter(setup);
        std::string error;
        QVERIFY2(server.Start(error), error.c_str());

        BasicPageUnderTest t;
        t.f.context.settings.lanPort = server.Port(0);
        bool succeeded = false;
        QString log;
        t.f.services.runJob = [&](QWidget* parent, std::shared_ptr<const JobInputs> inputs) {
            ui::ProgressDialog dialog(t.f.services, ui::MakeDesktopExecutor(t.f.services),
                                      std::move(inputs), parent);
            if (!dialog.Begin()) return 0;
            dialog.show();
            // The dialog offers its log once the run's last line has arrived.
            std::ignore = QTest::qWaitFor(
                [&] { return dialog.loggingButton()->isVisible() && !t.f.context.jobRunning; },
                30000);
            log = dialog.logText();
            succeeded = log.contains(QStringLiteral("BASIC Download , Succeed"));
            return 1;
        };
        ui::BasicDownloadPage& p = *t.page;
        Click(p.allocateCheck());
        t.Choose(kMain, kLoops);
        TypeAndLeave(p.startEdit(kMain), p.allocateCheck(), "6");
        t.f.interaction.Answer(true);
        QTest::mouseClick(p.startButton(), Qt::LeftButton);
        QVERIFY2(succeeded, qPrintable(log));

        std::vector<std::string> commands;
        for (const auto& e : server.log().Entries()) {
            if (e.command.kind == sim::ReceivedCommand::Kind::Command)
                commands.push_back(e.command.text);
        }
        QVERIFY(std::find(commands.begin(), commands.end(), "XF;00,14,04") != commands.end());
        QVERIFY(std::any_of(commands.begin(), commands.end(),
                            [](const std::string& c) { return c.rfind("LDB;06,", 0) == 0; }));
        server.Inspect(0, [](const sim::SimPrinter& printer) {
            QCOMPARE(printer.state().basic.count('M'), std::size_t{1});
            QVERIFY(printer.state().allocation.has_value());
            QCOMPARE(printer.state().allocation->externalBlocks, 14);
        });
        server.Stop();
        ::unsetenv("RVQ_TIME_SCALE");
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::BasicDownloadPageTest)
#include "basic_download_page_test.moc"
