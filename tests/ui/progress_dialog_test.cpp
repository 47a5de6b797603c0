#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include "core/app/job_log.h"
#include "core/comm/port/multi_lan_list.h"
#include "ui/mlan_select_dialog.h"
#include "ui/progress_dialog.h"
#include "ui_fixture.h"

namespace rvq::test {

namespace {

using Outcome = ScriptedExecutor::Outcome;

std::shared_ptr<const JobInputs> Job(JobKind kind) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = kind;
    return inputs;
}

QStringList Lines(const ui::ProgressDialog& dialog) {
    return dialog.logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void UseMultiLan(UiFixture& f, int printers) {
    f.context.settings.interfaceName = "Multi LAN";
    for (int i = 0; i < printers; ++i) {
        f.context.settings.multiLanHosts.push_back("10.0.0." + std::to_string(i + 1));
        f.context.settings.multiLanPorts.push_back(8000);
    }
    f.picked = std::vector<bool>(static_cast<std::size_t>(printers), true);
}

// The run's last worker has ended, so nothing outlives the test's state.
void WaitForWorkers(UiFixture& f) { QTRY_VERIFY_WITH_TIMEOUT(!f.context.jobRunning, 10000); }

}  // namespace

class ProgressDialogTest : public QObject {
    Q_OBJECT

private slots:
    void successShowsTheLinesInOrderAndOffersClose() {
        UiFixture f;
        auto executor = std::make_shared<ScriptedExecutor>();
        ui::ProgressDialog dialog(f.services, executor, Job(JobKind::GetParameter));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Get Parameter"));
        QVERIFY(dialog.Begin());
        dialog.show();
        QCOMPARE(dialog.closeButton()->text(), QStringLiteral("&Cancel..."));
        QVERIFY(!dialog.loggingButton()->isVisible());

        QTRY_VERIFY(dialog.loggingButton()->isVisible());
        QCOMPARE(Lines(dialog), (QStringList{"Get Parameter , Start", "Get Parameter , Succeed"}));
        QCOMPARE(dialog.percentText(), QStringLiteral("100%"));
        QCOMPARE(dialog.progressBar()->value(), dialog.progressBar()->maximum());
        QCOMPARE(dialog.closeButton()->text(), QStringLiteral("&Close"));
        QVERIFY(!dialog.retryButton()->isVisible());
        QVERIFY(!dialog.errorListButton()->isVisible());

        // The job log goes to the chosen file with its header line.
        f.files.next = f.folder.File("run.CSV");
        QTest::mouseClick(dialog.loggingButton(), Qt::LeftButton);
        const std::string saved = ReadAll(*f.files.next);
        QVERIFY(saved.rfind("Date,Time,Interface,Processing,Process,Detailed status\r\n", 0) == 0);
        QVERIFY(saved.find("Get Parameter,Succeed") != std::string::npos);

        WaitForWorkers(f);
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(f.interaction.ids().empty());
    }

    void failureOffersRetry() {
        UiFixture f;
        auto executor = std::make_shared<ScriptedExecutor>();
        executor->SetOutcome(Outcome::Fail);
        ui::ProgressDialog dialog(f.services, executor, Job(JobKind::SetParameter));
        QVERIFY(dialog.Begin());
        dialog.show();
        QTRY_VERIFY(dialog.retryButton()->isVisible());
        QCOMPARE(dialog.closeButton()->text(), QStringLiteral("&Close"));
        QVERIFY(dialog.loggingButton()->isVisible());
        QVERIFY(!dialog.errorListButton()->isVisible());
        QCOMPARE(Lines(dialog).last(), QStringLiteral("Set Parameter , Fail , Timeout error"));

        WaitForWorkers(f);
        executor->SetOutcome(Outcome::Succeed);
        QTest::mouseClick(dialog.retryButton(), Qt::LeftButton);
        QTRY_VERIFY(!dialog.retryButton()->isVisible() && dialog.loggingButton()->isVisible());
        QCOMPARE(Lines(dialog),
                 (QStringList{"Set Parameter , Start", "Set Parameter , Fail , Timeout error",
                              "Set Parameter , Start", "Set Parameter , Succeed"}));
        WaitForWorkers(f);
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void multiLanFailureOffersTheErrorList() {
        UiFixture f;
        UseMultiLan(f, 3);
        auto executor = std::make_shared<ScriptedExecutor>();
        executor->SetOutcomeFor(1, Outcome::Fail);
        ui::ProgressDialog dialog(f.services, executor, Job(JobKind::GetParameter));
        QVERIFY(dialog.Begin());
        dialog.show();
        QCOMPARE(dialog.progressBar()->maximum(), 300);
        QTRY_VERIFY(dialog.errorListButton()->isVisible());
        QVERIFY(dialog.retryButton()->isVisible());
        QCOMPARE(dialog.percentText(), QStringLiteral("100%"));

        f.files.next = f.folder.File("errors.TXT");
        QTest::mouseClick(dialog.errorListButton(), Qt::LeftButton);
        const MultiLanImport errors = ImportMultiLanList(*f.files.next, f.context.strings);
        QVERIFY(errors.ok);
        QCOMPARE(errors.printers, (std::vector<LanPrinter>{{"10.0.0.2", 8000}}));
        WaitForWorkers(f);
    }

    void cancelWhileTwoJobsRun() {
        UiFixture f;
        UseMultiLan(f, 2);
        auto executor = std::make_shared<ScriptedExecutor>();
        executor->SetOutcome(Outcome::HoldUntilCancel);
        ui::ProgressDialog dialog(f.services, executor, Job(JobKind::GetParameter));
        QVERIFY(dialog.Begin());
        dialog.show();
        QTRY_COMPARE(executor->holding(), 2);

        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);  // answered No
        QCOMPARE(f.interaction.ids(), std::vector<int>{802});
        QCOMPARE(executor->holding(), 2);

        f.interaction.Answer(true);
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.retryButton()->isVisible(), 10000);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.errorListButton()->isVisible());
        QCOMPARE(dialog.closeButton()->text(), QStringLiteral("&Cancel..."));
        QCOMPARE(dialog.runner().printerStates(),
                 (std::vector<int>{kPrinterFailed, kPrinterFailed}));
        QTRY_COMPARE(Lines(dialog).filter(QStringLiteral("Get Parameter , Cancel")).size(), 2);

        // Pressed again once the workers have ended, the dialog closes
        // without asking once more.
        QTRY_VERIFY(dialog.closeButton()->isEnabled());
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.interaction.ids(), (std::vector<int>{802, 802}));
        WaitForWorkers(f);
    }

    void successfulRestoreToOnlineClosesItself() {
        UiFixture f;
        ui::ProgressDialog dialog(f.services, std::make_shared<ScriptedExecutor>(),
                                  Job(JobKind::RestoreOnline));
        QSignalSpy finished(&dialog, &QDialog::finished);
        QVERIFY(dialog.Begin());
        dialog.show();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        WaitForWorkers(f);
    }

    void preChecksStopTheRunBeforeItStarts() {
        const struct {
            const char* interfaceName;
            const char* host;
            int usbPrinters;
            int message;
        } cases[] = {{"LAN", "", 0, 1003},
                     {"Multi LAN", "", 0, 1004},
                     {"USB", "", 0, 1012},
                     {"USB", "", 2, 1013}};
        for (const auto& c : cases) {
            UiFixture f;
            f.context.settings.interfaceName = c.interfaceName;
            f.context.settings.lanHost = c.host;
            for (int i = 0; i < c.usbPrinters; ++i)
                f.usbPaths.push_back("\\\\?\\usb#vid_1&pid_0053#S#lp" + std::to_string(i));
            auto executor = std::make_shared<ScriptedExecutor>();
            ui::ProgressDialog dialog(f.services, executor, Job(JobKind::GetParameter));
            QVERIFY(!dialog.Begin());
            QCOMPARE(f.interaction.ids(), std::vector<int>{c.message});
            QVERIFY(!f.context.jobRunning);
        }

        // Cancel in the printer selection abandons the run.
        UiFixture f;
        UseMultiLan(f, 2);
        f.picked.reset();
        ui::ProgressDialog dialog(f.services, std::make_shared<ScriptedExecutor>(),
                                  Job(JobKind::GetParameter));
        QVERIFY(!dialog.Begin());
        QVERIFY(!f.context.jobRunning);
        QVERIFY(f.interaction.ids().empty());
    }

    void selectionNeedsOneTickedPrinter() {
        const Strings strings;
        ui::MLanSelectDialog dialog(strings, {{"10.0.0.1", 8000}, {"10.0.0.2", 9100}});
        dialog.show();
        QTableWidget* table = dialog.table();
        QVERIFY(dialog.okButton()->isEnabled());
        for (int row = 0; row < 2; ++row) {
            table->setCurrentCell(row, 0);
            QTest::keyClick(table, Qt::Key_Space);
        }
        QCOMPARE(dialog.selection(), (std::vector<bool>{false, false}));
        QVERIFY(!dialog.okButton()->isEnabled());
        table->setCurrentCell(1, 0);
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(dialog.okButton()->isEnabled());
        QCOMPARE(dialog.selection(), (std::vector<bool>{false, true}));
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::ProgressDialogTest)
#include "progress_dialog_test.moc"
