// Import and export of setting information files from the parameter pages,
// and the restore to online with the changes a set left pending.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>

#include "core/app/app_context.h"
#include "core/app/navigation.h"
#include "core/comm/job/job_kind.h"
#include "core/params/item_values.h"
#include "parameter_fixture.h"
#include "ui/category_tabs.h"
#include "ui/main_window.h"
#include "ui/nav_bar.h"
#include "ui/pages/parameter_controls.h"
#include "ui/pages/printer_setting_page.h"

namespace rvq::test {

namespace {

std::string OtherModel(const Document& document, const std::string& current) {
    for (const std::string& name : document.modelNames())
        if (name != current) return name;
    qFatal("the definition file has one model only");
}

ui::ParameterPage* ParameterTab(ui::MainWindow& window, int index) {
    return static_cast<ui::ParameterPage*>(
        window.categoryTabs(Category::ParameterSetting)->page(index));
}

}  // namespace

class ParameterTransferTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
        QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    }

    void exportThenImportBringsValuesAndTicksBack() {
        Pages p;
        p.tick(0, 4058);
        p.tick(3, 4104);
        TypeAndLeave(EditOf(p.control(4801)), QStringLiteral("8"));
        const std::string path = p.f.folder.File("settings.TSI");
        p.f.files.next = path;
        QVERIFY(p.page(2).HandleCommand(command::kExport));  // No to 801: passwords left out
        QCOMPARE(p.f.interaction.ids(), std::vector<int>{801});
        QVERIFY(!ReadAll(path).empty());

        QVERIFY(p.page(0).HandleCommand(command::kRestoreDefault));
        QVERIFY(!p.page(0).groupCheck(4058)->isChecked());
        QCOMPARE(EditOf(p.control(4801))->text(), QString::number(p.item("Contrast").numDefault));

        QVERIFY(p.page(5).HandleCommand(command::kImport));
        QCOMPARE(p.f.interaction.ids(), (std::vector<int>{801, 800}));
        QCOMPARE(EditOf(p.control(4801))->text(), QStringLiteral("8"));
        QVERIFY(p.page(0).groupCheck(4058)->isChecked());
        QVERIFY(p.page(3).groupCheck(4104)->isChecked());
        QVERIFY(!p.page(3).groupCheck(4103)->isChecked());
        QVERIFY(p.control(4801)->isEnabled());
    }

    void importOfAnotherModelsFileAsksBeforeSwitching() {
        Pages writer;
        writer.tick(0, 4058);
        TypeAndLeave(EditOf(writer.control(4801)), QStringLiteral("2"));
        const std::string path = writer.f.folder.File("other.TSI");
        writer.f.files.next = path;
        QVERIFY(writer.page(0).HandleCommand(command::kExport));
        const std::string written = writer.f.context.settings.printerModel;

        Pages p;
        const std::string other = OtherModel(p.f.document, written);
        QVERIFY(p.f.document.SelectModel(other));
        p.f.context.settings.printerModel = other;
        for (auto& page : p.pages) page->Rebuild();
        int switches = 0;
        p.set.modelChanged = [&switches] { ++switches; };
        p.f.files.next = path;

        QVERIFY(p.page(0).HandleCommand(command::kImport));  // No to 897
        QCOMPARE(p.f.interaction.ids(), std::vector<int>{897});
        QCOMPARE(p.f.context.settings.printerModel, other);
        QCOMPARE(switches, 0);

        p.f.interaction.Answer(true);
        QVERIFY(p.page(0).HandleCommand(command::kImport));
        QCOMPARE(p.f.interaction.ids(), (std::vector<int>{897, 897, 800}));
        QCOMPARE(p.f.context.settings.printerModel, written);
        QCOMPARE(p.f.document.model()->name, written);
        QCOMPARE(switches, 1);
        // The pages are laid out over the new model and show the file's values.
        QCOMPARE(EditOf(p.control(4801))->text(), QStringLiteral("2"));
        QVERIFY(p.page(0).groupCheck(4058)->isChecked());
    }

    void restoreToOnlineAppliesTheChangesASetLeftPending() {
        UiFixture f;
        std::vector<JobKind> kinds;
        f.services.runJob = [&f, &kinds](QWidget*, const std::shared_ptr<const JobInputs>& inputs) {
            f.launched.push_back(inputs);
            kinds.push_back(inputs->kind);
            if (inputs->kind == JobKind::GetParameter)
                f.context.settingModeState = SettingModeState::AfterRead;
            if (inputs->kind == JobKind::SetParameter) {
                // The printer took every value: it acknowledged every
                // command and its read-back is the page's.
                f.document.ClearAcknowledgedItems();
                for (ParamItem& item : f.document.model()->items) {
                    item.textRead = item.textValue;
                    item.numRead = item.numValue;
                    f.document.AddAcknowledgedItems({item.name});
                }
                f.context.settingModeState = SettingModeState::AfterChange;
            }
            if (inputs->kind == JobKind::RestoreOnline)
                f.context.settingModeState = SettingModeState::Online;
            return 1;
        };
        ui::MainWindow window(f.services);
        window.show();
        QTest::mouseClick(window.navBar()->button(Category::ParameterSetting), Qt::LeftButton);
        ui::ParameterPage* lan = ParameterTab(window, 3);
        ui::ParameterPage* general2 = ParameterTab(window, 1);

        // Online: nothing to restore.
        lan->restoreButton()->click();
        QVERIFY(kinds.empty());

        // After a get the restore runs without a question.
        lan->getButton()->click();
        QVERIFY(!lan->restoreButton()->isHidden());
        lan->restoreButton()->click();
        QCOMPARE(kinds, (std::vector<JobKind>{JobKind::GetParameter, JobKind::RestoreOnline}));
        QVERIFY(f.interaction.ids().empty());

        // A set that moves the printer and changes its control codes.
        lan->groupCheck(4103)->click();
        qobject_cast<ui::AddressEdit*>(lan->control(5700))->setText("127.0.0.9");
        general2->groupCheck(4006)->click();
        general2->show();
        ChooseEntry(qobject_cast<QComboBox*>(general2->control(4461)),
                    QStringLiteral("Non-Standard"));
        f.interaction.Answer(true);
        lan->setButton()->click();
        QCOMPARE(kinds.back(), JobKind::SetParameter);
        // The screen says where the tool reaches the printer next.
        QCOMPARE(f.interaction.shown().back().messageId, 64820);
        QVERIFY(f.interaction.shown().back().text.find("LAN 127.0.0.9,8000") != std::string::npos);

        lan->restoreButton()->click();  // No to 428: the printer stays as it is
        QCOMPARE(kinds.back(), JobKind::SetParameter);
        QCOMPARE(f.context.settings.lanHost, std::string("127.0.0.1"));

        f.interaction.Answer(true);
        lan->restoreButton()->click();
        QCOMPARE(kinds.back(), JobKind::RestoreOnline);
        QCOMPARE(f.launched.back()->reconnectSettings, std::string("127.0.0.9,8000"));
        QCOMPARE(f.interaction.ids(), (std::vector<int>{1302, 64820, 428, 428}));
        QCOMPARE(f.context.settings.lanHost, std::string("127.0.0.9"));
        QCOMPARE(window.printerPage()->values().lanHost, std::string("127.0.0.9"));
        QCOMPARE(f.context.settings.controlCodes, (ControlCodes{0x7B, 0x7C, 0x7D}));
        QVERIFY(lan->restoreButton()->isHidden());
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::ParameterTransferTest)
#include "parameter_transfer_test.moc"
