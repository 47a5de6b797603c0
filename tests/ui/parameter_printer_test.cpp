// The parameter pages against a simulated printer on loopback: a value
// changed on each page is written and verified by Set Parameter, and Get
// Parameter brings every one of them back into fresh pages.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <cstdlib>
#include <map>

#include "core/app/app_context.h"
#include "core/comm/job/job_kind.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/ops/operations.h"
#include "parameter_fixture.h"
#include "sim/sim_server.h"
#include "support/recording_job_events.h"

namespace rvq::test {

namespace {

constexpr double kScale = 0.01;
constexpr int kWaitMs = 600000;

// Runs the pages' jobs for real, to their end, without the dialog.
void RunJobsAgainst(UiFixture& f, RecordingJobEvents& events, int port) {
    f.context.settings.interfaceName = "LAN";
    f.context.settings.lanHost = "127.0.0.1";
    f.context.settings.lanPort = port;
    f.services.runJob = [&f, &events](QWidget*, const std::shared_ptr<const JobInputs>& inputs) {
        f.launched.push_back(inputs);
        JobRunner runner(f.context, f.document.sharedJobLog(),
                         MakeOperationExecutor(f.context, f.document), events);
        if (!runner.Start(inputs) || !runner.WaitForWorkers(kWaitMs)) return 0;
        return runner.overallResult() == sid::kStatusSucceed ? 1 : 0;
    };
}

void StepUp(QWidget* control) { control->findChild<QToolButton*>(QStringLiteral("up"))->click(); }

void ChooseNext(QComboBox* combo) {
    ChooseEntry(combo, combo->itemText((combo->currentIndex() + 1) % combo->count()));
}

// One control per page and the group that writes it.
struct Change {
    int page;
    int check;
    int ctrlId;
};
const Change kChanges[] = {{0, 4058, 4801}, {1, 4050, 4805}, {2, 4100, 4501}, {3, 4105, 4902},
                           {4, 4152, 4953}, {5, 4206, 5003}, {6, 4253, 5059}};

QString Shown(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
    return EditOf(control)->text();
}

}  // namespace

class ParameterPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void setVerifiesAChangeOnEveryPageAndGetBringsThemBack() {
        ::setenv("RVQ_TIME_SCALE", "0.01", 1);
        sim::SimServer server{Clock(kScale)};
        RecordingJobEvents events;
        Pages writer;
        sim::PrinterSetup setup;
        setup.printer.model = writer.f.context.settings.printerModel;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.printer.restartMs = 1000;
        server.AddPrinter(setup);
        std::string error;
        QVERIFY2(server.Start(error), error.c_str());
        RunJobsAgainst(writer.f, events, server.Port(0));

        std::map<int, QString> wanted;
        for (const Change& c : kChanges) {
            writer.page(c.page).show();
            writer.tick(c.page, c.check);
            QWidget* control = writer.control(c.ctrlId);
            QVERIFY2(control && control->isEnabled(), qPrintable(QString::number(c.ctrlId)));
            const QString before = Shown(control);
            if (auto* combo = qobject_cast<QComboBox*>(control))
                ChooseNext(combo);
            else if (c.ctrlId == 4902)
                TypeAndLeave(EditOf(control), QStringLiteral("RVQHOST7"));
            else
                StepUp(control);
            wanted[c.ctrlId] = Shown(control);
            QVERIFY2(wanted[c.ctrlId] != before, qPrintable(QString::number(c.ctrlId)));
        }
        writer.f.interaction.Answer(true);
        writer.page(6).setButton()->click();
        QCOMPARE(writer.f.interaction.ids(), std::vector<int>{1302});
        QCOMPARE(writer.f.launched.size(), std::size_t{1});
        const auto lines = events.Lines(0);
        QVERIFY(!lines.empty());
        QCOMPARE(QString::fromStdString(lines.back()), QStringLiteral("Set Parameter , Succeed"));
        QCOMPARE(writer.f.context.settingModeState, SettingModeState::AfterChange);

        // Fresh pages with the definition file's defaults read the printer.
        Pages reader;
        RunJobsAgainst(reader.f, events, server.Port(0));
        for (const Change& c : kChanges)
            QVERIFY(Shown(reader.control(c.ctrlId)) != wanted[c.ctrlId]);
        reader.page(2).getButton()->click();
        QCOMPARE(QString::fromStdString(events.Lines(0).back()),
                 QStringLiteral("Get Parameter , Succeed"));
        for (const Change& c : kChanges)
            QCOMPARE(Shown(reader.control(c.ctrlId)), wanted[c.ctrlId]);
        QVERIFY(!reader.page(0).restoreButton()->isHidden());
        server.Stop();
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::ParameterPrinterTest)
#include "core/app/string_ids.h"
#include "parameter_printer_test.moc"
