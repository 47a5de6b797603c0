#include <sys/stat.h>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <chrono>

#include "core/app/maintenance_lists.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/ops/operations.h"
#include "sim/sim_server.h"
#include "support/recording_job_events.h"
#include "ui/number_edit.h"
#include "ui/pages/info_list.h"
#include "ui/pages/memory_page.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/pages/test_print_page.h"
#include "ui/pages/tool_page.h"
#include "ui_fixture.h"

namespace rvq::test {
namespace {

constexpr double kScale = 0.01;

// The two maintenance pages under one window, as the main window holds them.
struct MaintenancePages {
    UiFixture f;
    QWidget window;
    ui::SelfDiagnosisPage* diagnosis = nullptr;
    ui::MemoryPage* memory = nullptr;

    MaintenancePages() {
        diagnosis = new ui::SelfDiagnosisPage(f.services, &window);
        memory = new ui::MemoryPage(f.services, &window);
    }
};

// One simulated printer of the fixture's model on loopback; the fixture's
// jobs run against it through the program's own operations.
struct SimulatedPrinter {
    sim::SimServer server{Clock(kScale)};
    RecordingJobEvents events;

    explicit SimulatedPrinter(UiFixture& f) {
        ::setenv("RVQ_TIME_SCALE", "0.01", 1);
        sim::PrinterSetup setup;
        setup.printer.model = f.context.settings.printerModel;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.printer.restartMs = 1000;
        server.AddPrinter(setup);
        std::string error;
        if (!server.Start(error)) qFatal("simulator: %s", error.c_str());
        f.context.settings.lanPort = server.Port(0);
        f.services.runJob = [this, &f](QWidget*, const std::shared_ptr<const JobInputs>& inputs) {
            f.launched.push_back(inputs);
            JobRunner runner(f.context, f.document.sharedJobLog(),
                             MakeOperationExecutor(f.context, f.document), events);
            if (!runner.Start(inputs) || !runner.WaitForWorkers(600000)) return 0;
            return runner.overallResult() == sid::kStatusSucceed ? int(QDialog::Accepted) : 0;
        };
    }
    ~SimulatedPrinter() { server.Stop(); }

    std::vector<std::string> Commands() {
        std::vector<std::string> texts;
        for (const auto& e : server.log().Entries()) texts.push_back(e.command.text);
        return texts;
    }
};

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::vector<std::string> Items(const std::vector<InfoRow>& rows) {
    std::vector<std::string> items;
    items.reserve(rows.size());
    for (const InfoRow& r : rows) items.push_back(r.item);
    return items;
}

}  // namespace

class MaintenancePagesTest : public QObject {
    Q_OBJECT

private slots:
    void multiLanOffersOnlyHeadCheckAndReset() {
        MaintenancePages p;
        p.f.context.serviceMode = ServiceMode::Full;
        ui::SelfDiagnosisPage& d = *p.diagnosis;
        d.ServiceModeChanged();
        ui::ShowRows(d.counterList(), {{"FEED", "12"}});
        d.SetMultiLanMode(true);
        for (QPushButton* b : {d.refreshButton(), d.saveInfoButton(), d.dataLogButton(),
                               d.clearButton(), d.initializeButton(), d.factoryButton()})
            QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
        QVERIFY(!d.counterCombo()->isEnabled() && !d.destinationCombo()->isEnabled());
        QVERIFY(!d.sectionCombo()->isEnabled());
        QVERIFY(d.headCheckButton()->isEnabled() && d.resetButton()->isEnabled());
        QCOMPARE(d.counterList()->topLevelItemCount(), 0);

        d.SetMultiLanMode(false);
        QVERIFY(d.refreshButton()->isEnabled() && d.clearButton()->isEnabled());
        QVERIFY(d.factoryButton()->isEnabled());
    }

    // After a fill every value shows whole; long names get what room is
    // left, short ones keep the column's own width.
    void informationListsKeepTheValuesInView() {
        UiFixture f;
        const struct {
            const char* name;
            const char* value;
            bool nameWhole;
        } cases[] = {
            {"DriveVoltage1(Take-up)-PC", "+0.0mm", true},
            {"DriveVoltage1(Take-up)-PC", "R-VQ4T1-T V1.00 :0000000000000000", false},
            {"CUT", "3422", true},
        };
        for (const auto& c : cases) {
            std::unique_ptr<QTreeWidget> list(ui::MakeInfoList(f.context.strings, false, nullptr));
            const int own = list->columnWidth(0);
            list->resize(280, 200);
            list->show();
            QVERIFY(QTest::qWaitForWindowExposed(list.get()));
            ui::ShowRows(list.get(), {{c.name, c.value}, {"DESTINATION", "[QM]"}});
            const QFontMetrics metrics = list->fontMetrics();
            const int value = metrics.horizontalAdvance(QString::fromLatin1(c.value));
            QVERIFY2(list->columnWidth(1) >= value, c.value);
            QVERIFY(list->columnWidth(0) >= own);
            if (value < list->viewport()->width() - own)
                QVERIFY2(list->columnWidth(0) + list->columnWidth(1) <= list->viewport()->width(),
                         c.name);
            QCOMPARE(list->columnWidth(0) >= metrics.horizontalAdvance(QString::fromLatin1(c.name)),
                     c.nameWhole);
        }
    }

    void factorySettingOnlyInTheFullServiceMode() {
        MaintenancePages p;
        p.window.show();
        ui::SelfDiagnosisPage& d = *p.diagnosis;
        QVERIFY(!d.factoryButton()->isVisible());
        p.f.context.serviceMode = ServiceMode::Restricted;
        d.ServiceModeChanged();
        QVERIFY(!d.factoryButton()->isVisible());
        p.f.context.serviceMode = ServiceMode::Full;
        d.ServiceModeChanged();
        QVERIFY(d.factoryButton()->isVisible());
        p.f.interaction.Answer(true);
        d.factoryButton()->click();
        QCOMPARE(p.f.launched.size(), std::size_t{1});
        QCOMPARE(p.f.launched[0]->kind, JobKind::FactoryDefault);
    }

    void everyQuestionAnsweredNoStartsNoJob() {
        MaintenancePages p;
        p.f.context.serviceMode = ServiceMode::Full;
        p.diagnosis->ServiceModeChanged();
        const std::vector<std::pair<QPushButton*, int>> asked{
            {p.diagnosis->headCheckButton(), 420}, {p.diagnosis->resetButton(), 423},
            {p.diagnosis->clearButton(), 421},     {p.diagnosis->initializeButton(), 422},
            {p.diagnosis->factoryButton(), 424},   {p.memory->allocateButton(), 425},
            {p.memory->formatButton(), 426}};
        for (const auto& [button, question] : asked) {
            button->click();
            QCOMPARE(p.f.interaction.ids().back(), question);
        }
        QVERIFY(p.f.launched.empty());
        // A cancelled file dialog starts nothing either.
        p.diagnosis->saveInfoButton()->click();
        p.diagnosis->dataLogButton()->click();
        QVERIFY(p.f.launched.empty());
    }

    void eachActionFillsItsJob() {
        MaintenancePages p;
        ui::SelfDiagnosisPage& d = *p.diagnosis;
        p.f.context.settingModeState = SettingModeState::AfterChange;
        p.f.interaction.Answer(true);
        d.headCheckButton()->click();
        QCOMPARE(p.f.context.settingModeState.load(), SettingModeState::Online);
        p.f.files.next = p.f.folder.File("info.TXT");
        d.saveInfoButton()->click();
        p.f.files.next = p.f.folder.File("printer.LOG");
        d.dataLogButton()->click();
        ChooseEntry(d.counterCombo(), QStringLiteral("Feed Distance (FEED)"));
        p.f.interaction.Answer(true);
        d.clearButton()->click();
        ChooseEntry(d.destinationCombo(), QStringLiteral("QM"));
        p.f.interaction.Answer(true);
        d.initializeButton()->click();

        const auto& jobs = p.f.launched;
        QCOMPARE(jobs.size(), std::size_t{5});
        QCOMPARE(jobs[0]->kind, JobKind::HeadCheck);
        QCOMPARE(jobs[1]->kind, JobKind::PrinterInfo);
        QCOMPARE(InputsOf<PrinterInfoArgs>(*jobs[1]).subKind, 2u);
        QCOMPARE(InputsOf<PrinterInfoArgs>(*jobs[1]).path, p.f.folder.File("info.TXT"));
        QCOMPARE(InputsOf<PrinterInfoArgs>(*jobs[2]).subKind, 1u);
        QCOMPARE(jobs[3]->kind, JobKind::CounterClear);
        QCOMPARE(InputsOf<CounterClearArgs>(*jobs[3]).selection, 1u);
        QCOMPARE(jobs[4]->kind, JobKind::ParameterClear);
        QCOMPARE(InputsOf<ParameterClearArgs>(*jobs[4]).destinationIndex, 1u);
        // The parameter list is shown again after the clears.
        QVERIFY(d.sectionCombo()->isEnabled());

        // "Others" names no counter the printers can clear.
        ChooseEntry(d.counterCombo(), QStringLiteral("Others (other than FEED, PRINT, CUT)"));
        QVERIFY(!d.clearButton()->isEnabled());
    }

    void refreshFillsTheListsFromTheSimulatedPrinter() {
        MaintenancePages p;
        SimulatedPrinter printer(p.f);
        ui::SelfDiagnosisPage& d = *p.diagnosis;
        QVERIFY(!d.sectionCombo()->isEnabled());
        d.refreshButton()->click();
        QVERIFY(d.counterList()->topLevelItemCount() > 0);
        QVERIFY(d.firmwareList()->topLevelItemCount() > 0);
        QVERIFY(d.sectionCombo()->isEnabled());
        QCOMPARE(d.sectionCombo()->currentText(), QStringLiteral("ALL"));
        const std::vector<InfoRow> all = ui::ShownRows(d.parameterList());
        QCOMPARE(all.front().item, std::string("DESTINATION"));
        const std::vector<std::string> allItems = Items(all);
        QVERIFY(Contains(allItems, "<<ADJUST>>") && Contains(allItems, "<<RTC>>"));
        // The memory page shows the same read.
        QVERIFY(p.memory->memoryList()->topLevelItemCount() > 0);

        ChooseEntry(d.sectionCombo(), QStringLiteral("RTC"));
        const std::vector<InfoRow> rtc = ui::ShownRows(d.parameterList());
        QCOMPARE(rtc, (std::vector<InfoRow>{{"DESTINATION", p.f.document.infoDestination()},
                                            {"RTC", "[ON]"}}));

        // A model change starts the page afresh.
        PageResets resets;
        resets.maintenance = true;
        d.ResetPage(resets);
        QCOMPARE(d.counterList()->topLevelItemCount(), 0);
        QVERIFY(!d.sectionCombo()->isEnabled());
        QVERIFY(p.f.document.versionNames().empty());
    }

    void cutCountClearSendsSelectionThree() {
        MaintenancePages p;
        SimulatedPrinter printer(p.f);
        ChooseEntry(p.diagnosis->counterCombo(), QStringLiteral("Cut Count (CUT)"));
        p.f.interaction.Answer(true);
        p.diagnosis->clearButton()->click();
        QVERIFY(Contains(printer.Commands(), "ZS00;3"));
        QVERIFY(p.diagnosis->counterList()->topLevelItemCount() > 0);
    }

    void memoryPageShowsPcSaveAndSendsTheAllocation() {
        MaintenancePages p;
        ui::MemoryPage& m = *p.memory;
        QCOMPARE(p.f.document.model()->maxBlock, 24);
        QCOMPARE(p.f.document.model()->blockSize, 128);
        QCOMPARE(m.pcSaveField()->text(), QStringLiteral("1280 KB"));
        QCOMPARE(m.bitmapCombo()->currentText(), QStringLiteral("1792 KB  (14 Block)"));
        ChooseEntry(m.fontCombo(), QStringLiteral("256 KB  (2 Block)"));
        QCOMPARE(m.pcSaveField()->text(), QStringLiteral("1024 KB"));
        ChooseEntry(m.basicCombo(), QStringLiteral("No Change"));
        QCOMPARE(m.pcSaveField()->text(), QString());
        p.f.interaction.Answer(true);
        m.allocateButton()->click();
        QCOMPARE(p.f.launched.size(), std::size_t{1});
        QCOMPARE(InputsOf<MemoryAllocateArgs>(*p.f.launched[0]).allocation,
                 (MemoryAllocation{2, 14, 0, true}));

        // More blocks than the printer has cannot be allocated.
        ChooseEntry(m.basicCombo(), QStringLiteral("1280 KB  (10 Block)"));
        QVERIFY(m.pcSaveField()->text().startsWith(QLatin1Char('-')));
        QVERIFY(!m.allocateButton()->isEnabled());

        ChooseEntry(m.locationCombo(), QStringLiteral("USB Memory"));
        ChooseEntry(m.areaCombo(), QStringLiteral("Bitmap External Character"));
        p.f.interaction.Answer(true);
        m.formatButton()->click();
        QCOMPARE(p.f.launched.back()->kind, JobKind::MemoryFormat);
        const MemoryFormatArgs& format = InputsOf<MemoryFormatArgs>(*p.f.launched.back());
        QCOMPARE(format.location, 1u);
        QCOMPARE(format.area, 2u);

        QVERIFY(m.HandleCommand(32785));
        QCOMPARE(m.pcSaveField()->text(), QStringLiteral("1280 KB"));
        QCOMPARE(m.locationCombo()->currentIndex(), 0);
    }

    void memoryPageUnderMultiLanKeepsAllocateAndFormat() {
        MaintenancePages p;
        ui::MemoryPage& m = *p.memory;
        ui::ShowRows(m.memoryList(), {{"FONT AREA", "2"}});
        m.SetMultiLanMode(true);
        QVERIFY(!m.refreshButton()->isEnabled());
        QCOMPARE(m.memoryList()->topLevelItemCount(), 0);
        QVERIFY(m.allocateButton()->isEnabled() && m.formatButton()->isEnabled());
    }

    void testPrintListsFollowTheModel() {
        UiFixture f;
        QVERIFY(f.document.SelectModel("R-VQ4T2-H"));
        ui::TestPrintPage page(f.services);
        QCOMPARE(page.speedCombo()->count(), 5);
        QCOMPARE(page.speedCombo()->currentIndex(), 1);
        QCOMPARE(page.speedCombo()->currentText(), QStringLiteral("3 inch/sec"));
        QCOMPARE(page.methodCombo()->count(), 2);

        QVERIFY(f.document.SelectModel("R-VQ4D2-G"));
        PageResets resets;
        resets.testPrint = true;
        page.ResetPage(resets);
        QCOMPARE(page.speedCombo()->count(), 4);
        QCOMPARE(page.methodCombo()->count(), 1);
        QCOMPARE(page.methodCombo()->currentText(), QStringLiteral("Direct Thermal"));
        QCOMPARE(page.widthEdit()->value(), f.document.model()->maxWidth / 10);
    }

    void testPrintFieldsSettleWithinTheirLimits() {
        UiFixture f;
        ui::TestPrintPage page(f.services);
        const int longest = f.document.model()->maxLength / 10;
        const int widest = f.document.model()->maxWidth / 10;
        struct Case {
            ui::NumberEdit* edit;
            QString typed;
            int expected;
        };
        const Case cases[] = {
            {page.lengthEdit(), "99999", longest},
            {page.lengthEdit(), "", longest},
            {page.lengthEdit(), "3", 8},
            {page.widthEdit(), "", widest},
            {page.widthEdit(), "5", 10},
            {page.gapEdit(), "25", 20},
            {page.countEdit(), "0", 1},
            {page.countEdit(), "", 1},
        };
        for (const Case& c : cases) {
            QLineEdit* edit = c.edit->lineEdit();
            edit->clear();
            QTest::keyClicks(edit, c.typed);
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(c.edit->value(), c.expected);
        }
    }

    void testPrintSendsTheChosenConditions() {
        UiFixture f;
        ui::TestPrintPage page(f.services);
        page.countEdit()->setValue(3);
        ChooseEntry(page.issueModeCombo(), QStringLiteral("Cut After Every Page"));
        ChooseEntry(page.sensorCombo(), QStringLiteral("Transmissive"));
        ChooseEntry(page.speedCombo(), QStringLiteral("5 inch/sec"));
        ChooseEntry(page.methodCombo(), QStringLiteral("Thermal Transfer"));
        page.toneEdit()->setValue(-5);
        page.printButton()->click();
        QCOMPARE(f.launched.size(), std::size_t{1});
        const JobInputs& job = *f.launched[0];
        QCOMPARE(job.kind, JobKind::TestPrint);
        const auto& blocks = InputsOf<TestPrintArgs>(job).blocks;
        QCOMPARE(blocks.size(), std::size_t{3});
        const std::string issue(blocks[2]->begin(), blocks[2]->end());
        QCOMPARE(issue, std::string("\x1bXS;I,0003,0012C5200\n", 21) + '\0');
        const std::string setup(blocks[0]->begin(), blocks[0]->end());
        QVERIFY(setup.find("AY;-05,0") != std::string::npos);
    }

    void unreadablePatternFileStartsNoJob() {
        UiFixture f;
        f.context.settings.char200Path = f.folder.File("missing.DAT");
        f.context.settings.char300Path = f.context.settings.char200Path;
        f.context.settings.char600Path = f.context.settings.char200Path;
        ui::TestPrintPage page(f.services);
        page.patternGroup()->button(2)->click();
        page.printButton()->click();
        QVERIFY(f.launched.empty());
        QCOMPARE(f.interaction.ids(), std::vector<int>{1018});
    }

    void testPrintReachesTheSimulatedPrinter() {
        UiFixture f;
        SimulatedPrinter printer(f);
        ui::TestPrintPage page(f.services);
        page.countEdit()->setValue(2);
        page.printButton()->click();
        QCOMPARE(f.launched.size(), std::size_t{1});
        // The job ends once its bytes are out; the simulator logs the issue
        // command when it has read it.
        QVERIFY(printer.server.log().WaitFor(
            [](const auto& entries) {
                return !entries.empty() && entries.back().command.text.rfind("XS;I,", 0) == 0;
            },
            std::chrono::seconds(10)));
        const std::vector<std::string> commands = printer.Commands();
        QVERIFY(!commands.empty());
        QVERIFY(commands.back().rfind("XS;I,0002,", 0) == 0);
        const auto [received, sum] = printer.server.ReceivedStream(0);
        long long sent = 0;
        for (const auto& block : InputsOf<TestPrintArgs>(*f.launched[0]).blocks)
            sent += static_cast<long long>(block->size());
        QVERIFY(received >= sent);
    }

    void sendFileSendsTheBytesAsTheyAre() {
        UiFixture f;
        ui::ToolPage page(f.services);
        f.files.next = f.folder.Write("empty.bin", "");
        page.sendButton()->click();
        QCOMPARE(f.launched.size(), std::size_t{1});
        QCOMPARE(f.launched[0]->kind, JobKind::SendFile);
        // Named, not read: the job reads the file as it sends it.
        const SendFileArgs& sent = InputsOf<SendFileArgs>(*f.launched[0]);
        QVERIFY(sent.readWhileSending);
        QVERIFY(!sent.bytes);
        QCOMPARE(sent.path, f.folder.File("empty.bin"));

        f.files.next = f.folder.File("missing.bin");
        page.sendButton()->click();
        QCOMPARE(f.launched.size(), std::size_t{1});
        QCOMPARE(f.interaction.ids(), std::vector<int>{1014});
    }

    void fontToolButtonRules() {
        UiFixture f;
        f.context.settings.fontToolPath = f.folder.File("gone/fonttool");
        f.context.isJapanese = true;
        {
            ui::ToolPage japanese(f.services);
            japanese.show();
            QVERIFY(!japanese.fontToolButton()->isVisible());
        }
        f.context.isJapanese = false;
        ui::ToolPage page(f.services);
        page.show();
        QVERIFY(page.fontToolButton()->isVisible());
        // A program that is gone: nothing happens, and the button is gone
        // the next time the page is shown.
        page.fontToolButton()->click();
        QVERIFY(f.interaction.ids().empty());
        QCOMPARE(f.context.settings.fontToolPath, std::string());
        page.hide();
        page.show();
        QVERIFY(!page.fontToolButton()->isVisible());
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::MaintenancePagesTest)
#include "core/app/string_ids.h"
#include "maintenance_pages_test.moc"
