#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "core/app/text.h"
#include "core/pages/printer_page.h"
#include "ui/number_edit.h"
#include "ui/pages/multi_lan_box.h"
#include "ui/pages/printer_setting_page.h"
#include "ui_fixture.h"

namespace rvq::test {

// The page on its own, with what it tells the main window recorded.
struct PageUnderTest {
    UiFixture f;
    std::unique_ptr<ui::PrinterSettingPage> page;
    std::string header;
    std::vector<PageResets> resets;
    std::vector<bool> multiLanModes;

    void Open() {
        page = std::make_unique<ui::PrinterSettingPage>(f.services);
        page->onHeaderChanged = [this](const std::string& text) { header = text; };
        page->onResetPages = [this](const PageResets& r) { resets.push_back(r); };
        page->onMultiLanMode = [this](bool on) { multiLanModes.push_back(on); };
        page->LoadPrinterSettings();
        page->show();
    }
    std::string connectionLine() const { return SplitHeaderText(header).connection; }
};

class PrinterSettingPageTest : public QObject {
    Q_OBJECT

private slots:
    void headerAndFieldsFollowTheInterface() {
        PageUnderTest t;
        t.f.context.settings.comPort = 3;
        t.Open();
        QCOMPARE(SplitHeaderText(t.header).model, std::string("R-VQ4T1-T QM"));
        QCOMPARE(t.connectionLine(), std::string("LAN : 127.0.0.1, 8000"));
        QVERIFY(t.page->lanHostEdit()->isVisible());

        ChooseEntry(t.page->interfaceCombo(), QStringLiteral("COM"));
        QCOMPARE(t.connectionLine(), std::string("COM3 : 9600 bps,  8 bits,  None,  1 bit"));
        QVERIFY(t.page->comPortEdit()->isVisible());
        QVERIFY(!t.page->lanHostEdit()->isVisible());
        QCOMPARE(t.resets.size(), std::size_t{1});
        QVERIFY(t.resets.back().maintenance && t.resets.back().memory &&
                !t.resets.back().parameters);

        ChooseEntry(t.page->interfaceCombo(), QStringLiteral("Multi LAN"));
        QCOMPARE(t.connectionLine(), std::string("Multi LAN : 0"));
        QCOMPARE(t.multiLanModes.back(), true);

        t.f.usbPaths = {"\\\\?\\usb#vid_7a3c&pid_0053#AB12#lp0"};
        ChooseEntry(t.page->interfaceCombo(), QStringLiteral("USB"));
        QCOMPARE(t.connectionLine(), std::string("USB : "));
        QCOMPARE(t.multiLanModes.back(), false);
        QVERIFY(!t.page->serialEdit()->isEnabled());
        QTest::mouseClick(t.page->serialCheck(), Qt::LeftButton);
        QVERIFY(t.page->serialEdit()->isEnabled());
        QTest::keyClicks(t.page->serialEdit(), "AB-12");  // the dash is not allowed
        QCOMPARE(t.page->serialEdit()->text(), QStringLiteral("AB12"));
        QTest::keyClick(t.page->serialEdit(), Qt::Key_Return);
        QCOMPARE(t.connectionLine(), std::string("USB : AB12"));
        QCOMPARE(t.f.context.settings.usbDevicePath, t.f.usbPaths.front());

        ChooseEntry(t.page->interfaceCombo(), QStringLiteral("LPT1"));
        QCOMPARE(t.connectionLine(), std::string("LPT1 : "));

        // Nothing reaches the tool settings before the page stores its values.
        QCOMPARE(t.f.context.settings.interfaceName, std::string("LAN"));
        t.page->StoreValues();
        QCOMPARE(t.f.context.settings.interfaceName, std::string("LPT1"));
        QCOMPARE(t.f.context.settings.usbSerialNumber, std::string("AB12"));
    }

    void storedTextsNoListOffersSurviveTheRoundTrip() {
        PageUnderTest t;
        t.f.context.settings.interfaceName = "COM1";
        t.f.context.settings.baudRate = "57600 bps";
        t.f.context.settings.dataLength = "8";
        t.Open();
        QCOMPARE(t.page->baudCombo()->currentText(), QStringLiteral("57600 bps"));
        t.page->StoreValues();
        QCOMPARE(t.f.context.settings.baudRate, std::string("57600 bps"));
        QCOMPARE(t.f.context.settings.dataLength, std::string("8 bits"));
        QCOMPARE(t.f.context.settings.flowControl, std::string("XON/XOF + READY/BUSY AUTO"));
    }

    void addRefusesADuplicateHostAndAFullList() {
        PageUnderTest t;
        t.f.context.settings.interfaceName = "Multi LAN";
        t.Open();
        ui::MultiLanBox* box = t.page->multiLanBox();
        QTest::keyClicks(box->hostEdit(), "10.0.0.1");
        QTest::mouseClick(box->addButton(), Qt::LeftButton);
        QCOMPARE(box->table()->rowCount(), 1);
        QCOMPARE(t.connectionLine(), std::string("Multi LAN : 1"));

        // The new row is selected, so its host is in the field again.
        QCOMPARE(box->hostEdit()->text(), QStringLiteral("10.0.0.1"));
        QTest::mouseClick(box->addButton(), Qt::LeftButton);
        QCOMPARE(t.f.interaction.ids(), std::vector<int>{1002});
        QCOMPARE(box->table()->rowCount(), 1);

        std::string list = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n";
        for (int i = 0; i < 50; ++i) list += Format("10.0.1.%d,8000\r\n", i);
        t.f.files.next = t.f.folder.Write("fifty.TXT", list);
        QTest::mouseClick(box->importButton(), Qt::LeftButton);
        QCOMPARE(box->table()->rowCount(), 50);
        QCOMPARE(t.connectionLine(), std::string("Multi LAN : 50"));

        box->hostEdit()->clear();
        QTest::keyClicks(box->hostEdit(), "10.0.2.1");
        QVERIFY(!box->addButton()->isEnabled());
        QTest::mouseClick(box->addButton(), Qt::LeftButton);
        QCOMPARE(box->table()->rowCount(), 50);
    }

    void modelChangeAsksFirst() {
        PageUnderTest t;
        t.f.context.settings.destination = "JA";
        t.Open();
        ChooseEntry(t.page->modelCombo(), QStringLiteral("R-VQ4T2-H"));  // answered No
        QCOMPARE(t.f.interaction.ids(), std::vector<int>{427});
        QCOMPARE(t.page->modelCombo()->currentText(), QStringLiteral("R-VQ4T1-T"));
        QCOMPARE(t.f.document.model()->name, std::string("R-VQ4T1-T"));
        QVERIFY(t.resets.empty());

        t.f.interaction.Answer(true);
        ChooseEntry(t.page->modelCombo(), QStringLiteral("R-VQ4T2-H"));
        QCOMPARE(t.f.document.model()->name, std::string("R-VQ4T2-H"));
        QCOMPARE(t.f.context.settings.printerModel, std::string("R-VQ4T2-H"));
        QCOMPARE(t.f.context.settings.destination, std::string("JA"));
        QCOMPARE(SplitHeaderText(t.header).model, std::string("R-VQ4T2-H JA"));
        QCOMPARE(t.resets.size(), std::size_t{1});
        QVERIFY(t.resets.front() == ResetsForModelChange());
    }

    void aRunningJobFreezesTheConnection() {
        PageUnderTest t;
        t.Open();
        t.f.context.jobRunning = true;
        t.page->SetJobRunning(true);
        QVERIFY(!t.page->modelCombo()->isEnabled());
        QVERIFY(!t.page->destinationCombo()->isEnabled());
        QVERIFY(!t.page->interfaceCombo()->isEnabled());
        t.f.context.jobRunning = false;
        t.page->SetJobRunning(false);
        QVERIFY(t.page->interfaceCombo()->isEnabled());
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::PrinterSettingPageTest)
#include "printer_setting_page_test.moc"
