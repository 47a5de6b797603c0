// The two ROM pages against a simulated printer on loopback: a ROM built
// on the HTML/XML page is downloaded from the firmware page through the
// progress dialog, and the simulator's log shows what arrived.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "core/comm/job/clock.h"
#include "sim/sim_server.h"
#include "ui/desktop_executor.h"
#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"
#include "ui/progress_dialog.h"
#include "ui_fixture.h"

namespace rvq::test {
namespace {

constexpr double kScale = 0.01;
constexpr int kJobDeadlineMs = 60000;

// The images the printer took a program command for, in order.
std::vector<std::string> ProgrammedData(sim::SimServer& server) {
    std::vector<std::string> images;
    for (const auto& e : server.log().Entries()) {
        if (e.command.text == "LP;" && e.command.data) images.push_back(*e.command.data);
    }
    return images;
}

}  // namespace

class RomPagesSimTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ::setenv("RVQ_TIME_SCALE", "0.01", 1); }

    void aRomBuiltOnTheHtmlPageIsDownloadedFromTheFirmwarePage() {
        sim::SimServer server{Clock(kScale)};
        sim::PrinterSetup setup;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.printer.restartMs = 1000;
        server.AddPrinter(setup);
        std::string error;
        QVERIFY2(server.Start(error), error.c_str());

        UiFixture f;
        f.context.settings.interfaceName = "LAN";
        f.context.settings.lanHost = "127.0.0.1";
        f.context.settings.lanPort = server.Port(0);
        QString jobLog;
        f.services.runJob = [&](QWidget* parent, const std::shared_ptr<const JobInputs>& inputs) {
            f.launched.push_back(inputs);
            ui::ProgressDialog dialog(f.services, ui::MakeDesktopExecutor(f.services), inputs,
                                      parent);
            if (!dialog.Begin()) return int(QDialog::Rejected);
            dialog.show();
            QElapsedTimer timer;
            timer.start();
            const auto over = [&] {
                return dialog.runner().state() != RunState::Running && !f.context.jobRunning;
            };
            while (!over() && timer.elapsed() < kJobDeadlineMs) QTest::qWait(20);
            QCoreApplication::processEvents();
            jobLog = dialog.logText();
            const bool succeeded = dialog.runner().state() == RunState::Succeeded;
            dialog.closeButton()->click();
            return int(succeeded ? QDialog::Accepted : QDialog::Rejected);
        };

        // Build: one XML page and an English/Japanese pair.
        TempDir source;
        for (const char* folder : {"XML", "ENG/HTML", "JPN/HTML"})
            std::filesystem::create_directories(source.File(folder));
        source.Write("XML/STATUS.XML", "<status>ready</status>");
        source.Write("ENG/HTML/index.htm", "<html>printer</html>");
        source.Write("JPN/HTML/index.htm", "<html>printer (ja)</html>");
        ui::HtmlRomPage html(f.services);
        f.files.next = source.path();
        html.sourceButton()->click();
        const std::string rom = f.folder.File("WEB.BIN");
        f.files.next = rom;
        html.outputButton()->click();
        html.headerBox()->click();
        html.createButton()->click();
        QVERIFY(f.interaction.ids().empty());
        QCOMPARE(html.romList()->topLevelItemCount(), 4);
        const std::string file = ReadAll(rom);
        QCOMPARE(file.size(), std::size_t{288 + 0x100000});

        // Download: the header is left out, the image goes as built.
        ui::FirmwarePage firmware(f.services);
        f.files.next = rom;
        firmware.addButton()->click();
        QCOMPARE(firmware.listView()->topLevelItemCount(), 1);
        QCOMPARE(firmware.listView()->topLevelItem(0)->text(1), QStringLiteral("XML"));
        f.interaction.Answer(true);
        firmware.startButton()->click();
        QCOMPARE(f.interaction.ids(), std::vector<int>{1300});
        QCOMPARE(f.launched.size(), std::size_t{1});
        QVERIFY2(jobLog.endsWith(QStringLiteral("Firmware Download , Succeed")),
                 qPrintable(jobLog));

        const std::vector<std::string> programmed = ProgrammedData(server);
        QCOMPARE(programmed.size(), std::size_t{1});
        QVERIFY2(programmed.front() == file.substr(288), "the image arrived changed");
        int programmedCount = 0;
        std::optional<sim::FirmwarePart> xml;
        server.Inspect(0, [&](const sim::SimPrinter& p) {
            programmedCount = p.state().programmed;
            for (const sim::FirmwarePart& part : p.state().firmware)
                if (part.section == "XML") xml = part;
        });
        QCOMPARE(programmedCount, 1);
        QVERIFY(xml.has_value());
        QCOMPARE(xml->version, std::string("V1.0"));
        server.Stop();
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::RomPagesSimTest)
#include "rom_pages_sim_test.moc"
