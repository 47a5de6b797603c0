// Check Status on the printer setting page against simulated printers on
// loopback: each printer of the Multi-LAN list gets the status request and
// nothing else, and its answer shows in the status column.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/comm/job/clock.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "sim/sim_server.h"
#include "ui/pages/multi_lan_box.h"
#include "ui/pages/printer_setting_page.h"
#include "ui/pictures.h"
#include "ui/progress_dialog.h"
#include "ui_fixture.h"

namespace rvq::test {
namespace {

constexpr double kSimScale = 0.01;
constexpr int kCheckDeadlineMs = 60000;

// A loopback port nobody listens on: bound once, then closed.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        qFatal("no loopback port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

sim::PrinterSetup Printer() {
    sim::PrinterSetup setup;
    setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
    return setup;
}

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

// The page with a Multi-LAN list of the given ports on 127.0.0.1.
struct CheckPage {
    UiFixture f;
    std::unique_ptr<ui::PrinterSettingPage> page;

    CheckPage(const std::vector<int>& ports, bool japanese) {
        if (japanese) f.UseJapanese();
        f.context.settings.interfaceName = "Multi LAN";
        for (int port : ports) {
            f.context.settings.multiLanHosts.emplace_back("127.0.0.1");
            f.context.settings.multiLanPorts.push_back(port);
        }
        page = std::make_unique<ui::PrinterSettingPage>(f.services);
        page->LoadPrinterSettings();
        page->show();
    }
    ui::MultiLanBox* box() const { return page->multiLanBox(); }
    QTableWidgetItem* cell(int row) const {
        return box()->table()->item(row, ui::MultiLanBox::kStatusColumn);
    }
    // The cell's icon and text fit the column, so no word is cut.
    bool Fits(int row) const {
        QTableWidget* table = box()->table();
        const int icon = table->style()->pixelMetric(QStyle::PM_SmallIconSize);
        constexpr int kMargins = 12;  // the cell's own padding and the gap to the icon
        return table->fontMetrics().horizontalAdvance(cell(row)->text()) + icon + kMargins <=
               table->columnWidth(ui::MultiLanBox::kStatusColumn);
    }
    bool WaitForEnd() const {
        QElapsedTimer timer;
        timer.start();
        while (box()->checking() && timer.elapsed() < kCheckDeadlineMs) QTest::qWait(10);
        return !box()->checking();
    }
};

}  // namespace

class StatusCheckTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ::setenv("RVQ_TIME_SCALE", "0.01", 1); }

    void eachPrinterShowsItsState_data() {
        QTest::addColumn<bool>("japanese");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("details");
        const QString refused = QString::fromUtf8(std::strerror(ECONNREFUSED));
        QTest::newRow("English") << false << QStringList{"Ready", "Error (06)", "No answer"}
                                 << QStringList{"The printer is ready (status 00).",
                                                "An error (06) occurred on the printer.",
                                                "No printer connection is detected.\n" + refused};
        QTest::newRow("Japanese") << true << QStringList{"正常", "エラー(06)", "応答なし"}
                                  << QStringList{"プリンタは正常です(ステータス 00)。",
                                                 "プリンタでエラー(06)が発生しました。",
                                                 "プリンタとの接続を検出できません。\n" + refused};
    }

    void eachPrinterShowsItsState() {
        QFETCH(bool, japanese);
        QFETCH(QStringList, words);
        QFETCH(QStringList, details);
        sim::SimServer server{Clock(kSimScale)};
        server.AddPrinter(Printer());
        sim::PrinterSetup failing = Printer();
        failing.printer.faults.errorStatus = 6;
        server.AddPrinter(failing);
        std::string error;
        QVERIFY2(server.Start(error), error.c_str());

        CheckPage t({server.Port(0), server.Port(1), ClosedPort()}, japanese);
        const QString checkText = t.box()->checkButton()->text();
        QVERIFY(t.cell(0)->text().isEmpty());
        t.box()->checkButton()->click();
        // While it runs: the button stops it, the list stays as it is, and
        // no job may start.
        QVERIFY(t.box()->checking());
        QVERIFY(t.box()->checkButton()->text() != checkText);
        QVERIFY(t.box()->checkButton()->isEnabled());
        QVERIFY(!t.box()->importButton()->isEnabled());
        {
            ui::ProgressDialog job(t.f.services, std::make_shared<ScriptedExecutor>(),
                                   PrinterInfoJobInputs(5));
            QVERIFY(!job.Begin());
            QCOMPARE(t.f.interaction.ids(), std::vector<int>{60203});
        }
        QVERIFY(!t.cell(0)->text().isEmpty());  // says it is being asked
        QVERIFY(t.Fits(0));
        QVERIFY(t.WaitForEnd());

        const PrinterState states[] = {PrinterState::Ready, PrinterState::Error,
                                       PrinterState::NoAnswer};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(t.cell(row)->text(), words[row]);
            QCOMPARE(t.cell(row)->toolTip(), details[row]);
            QCOMPARE(Picture(t.cell(row)->icon()), Picture(ui::PrinterStateIcon(states[row])));
            QVERIFY2(t.Fits(row), qPrintable(t.cell(row)->text()));
        }
        QCOMPARE(t.box()->checkButton()->text(), checkText);
        QVERIFY(t.box()->importButton()->isEnabled());
        QVERIFY(!t.f.context.jobRunning);

        // The status request only: no setting mode, nothing else.
        int asked[2] = {0, 0};
        for (const auto& entry : server.log().Entries()) {
            QCOMPARE(QString::fromStdString(entry.command.text), QStringLiteral("WS"));
            ++asked[entry.printer];
        }
        QCOMPARE(asked[0], 1);
        QCOMPARE(asked[1], 1);

        // A changed list drops answers that belong to the old one.
        t.box()->hostEdit()->setText(QStringLiteral("127.0.0.2"));
        t.box()->addButton()->click();
        for (int row = 0; row < t.box()->table()->rowCount(); ++row)
            QVERIFY(t.cell(row)->text().isEmpty());
        server.Stop();
    }

    void stopEndsTheCheckAndAsksNoFurtherPrinter() {
        // At the real time scale a silent printer holds its ask for the
        // whole time-out, so the stop comes while the asks are out.
        ::setenv("RVQ_TIME_SCALE", "1", 1);
        sim::SimServer server{Clock(kSimScale)};
        sim::PrinterSetup silent = Printer();
        silent.printer.faults.neverAnswer = {"WS"};
        constexpr int kPrinters = 7;  // more than are asked at once
        std::vector<int> ports;
        for (int i = 0; i < kPrinters; ++i) server.AddPrinter(silent);
        std::string error;
        QVERIFY2(server.Start(error), error.c_str());
        for (int i = 0; i < kPrinters; ++i) ports.push_back(server.Port(i));

        CheckPage t(ports, false);
        t.box()->checkButton()->click();
        QVERIFY(t.box()->checking());
        t.box()->checkButton()->click();
        QVERIFY(t.WaitForEnd());
        ::setenv("RVQ_TIME_SCALE", "0.01", 1);

        for (int row = 0; row < kPrinters; ++row) {
            QCOMPARE(t.cell(row)->text(), QStringLiteral("Stopped"));
            QCOMPARE(t.cell(row)->toolTip(),
                     QStringLiteral("The check was stopped before this printer answered."));
            QVERIFY(t.cell(row)->icon().isNull());
            QVERIFY(t.Fits(row));
        }
        // The two beyond the first five were never asked.
        for (const auto& entry : server.log().Entries()) QVERIFY(entry.printer < 5);
        QCOMPARE(t.box()->checkButton()->text(), QStringLiteral("Check Status"));
        QVERIFY(t.box()->checkButton()->isEnabled());
        QVERIFY(!t.f.context.jobRunning);
        server.Stop();
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::StatusCheckTest)
#include "status_check_test.moc"
