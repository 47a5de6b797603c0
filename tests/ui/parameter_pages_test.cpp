#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <set>

#include "core/app/navigation.h"
#include "core/app/printer_model.h"
#include "core/comm/job/job_kind.h"
#include "core/params/item_values.h"
#include "parameter_fixture.h"
#include "ui/pages/parameter_page.h"

namespace rvq::test {
namespace {

constexpr int kPageCount = kParameterPageCount;

}  // namespace

class ParameterPagesTest : public QObject {
    Q_OBJECT

private slots:
    void everyItemOfAPageHasItsControl() {
        Pages p;
        const PrinterModel& model = *p.f.document.model();
        for (int i = 0; i < kPageCount; ++i) {
            std::set<int> expected;
            for (const ParamItem& item : model.items)
                if (item.pageIndex == i && item.ctrlId >= 0) expected.insert(item.ctrlId);
            const std::vector<int> shown = p.page(i).controlIds();
            QCOMPARE(std::set<int>(shown.begin(), shown.end()), expected);
            QCOMPARE(shown.size(), expected.size());
            for (const ParamGroup& group : model.groups) {
                if (group.pageIndex != i) continue;
                QCheckBox* check = p.page(i).groupCheck(group.checkBoxId);
                QVERIFY(check != nullptr);
                QVERIFY(!check->text().isEmpty());
            }
        }
    }

    void tickingAGroupEnablesItsAvailableControls() {
        Pages p;
        ui::ParameterPage& general2 = p.page(1);
        QWidget* battery = general2.control(4464);
        QWidget* date = general2.control(5650);
        QVERIFY(!battery->isEnabled() && !date->isEnabled());
        QVERIFY(!p.page(3).setButton()->isEnabled());

        general2.groupCheck(4057)->click();
        QVERIFY(battery->isEnabled());
        QVERIFY(!date->isEnabled());  // a service item
        QVERIFY(p.page(3).setButton()->isEnabled());

        p.f.context.serviceMode = ServiceMode::Full;
        general2.ServiceModeChanged();
        QVERIFY(date->isEnabled());

        general2.groupCheck(4057)->click();
        QVERIFY(!battery->isEnabled() && !date->isEnabled());
        QVERIFY(!p.page(3).setButton()->isEnabled());
    }

    void multiLanKeepsPerPrinterControlsOffAndGetDisabled() {
        Pages p;
        ui::ParameterPage& lan = p.page(3);
        lan.groupCheck(4103)->click();
        QVERIFY(lan.control(5700)->isEnabled());
        lan.SetMultiLanMode(true);
        QVERIFY(!lan.control(5700)->isEnabled());
        QVERIFY(!lan.getButton()->isEnabled());
        lan.SetMultiLanMode(false);
        QVERIFY(lan.control(5700)->isEnabled());
        QVERIFY(lan.getButton()->isEnabled());
    }

    void numericFieldsFilterAndSettleOnLeave() {
        Pages p;
        ui::ParameterPage& general = p.page(0);
        general.groupCheck(4058)->click();
        QLineEdit* contrast = EditOf(general.control(4801));
        QVERIFY(contrast != nullptr);
        const ParamItem& item = p.item("Contrast");
        QCOMPARE(TypeAndLeave(contrast, QStringLiteral("7")), QStringLiteral("6"));
        QCOMPARE(TypeAndLeave(contrast, QStringLiteral("x5")), QStringLiteral("4"));
        QCOMPARE(TypeAndLeave(contrast, QStringLiteral("99")), QString::number(item.maxValue));
        QCOMPARE(TypeAndLeave(contrast, QString()), QString::number(item.numDefault));

        general.groupCheck(4004)->click();
        QLineEdit* powerSave = EditOf(general.control(4857));
        const ParamItem& saving = p.itemOf(4857);
        QCOMPARE(TypeAndLeave(powerSave, QStringLiteral("99999")),
                 QString::number(saving.maxValue));
    }

    void getParameterRunsTheGetJobAndShowsTheNewValues() {
        Pages p;
        p.f.services.runJob = [&p](QWidget*, const std::shared_ptr<const JobInputs>& inputs) {
            p.f.launched.push_back(inputs);
            // The printer reports a contrast of 2.
            params::SetValueText(p.item("Contrast"), "2");
            return 1;
        };
        p.page(5).getButton()->click();
        QCOMPARE(p.f.launched.size(), std::size_t{1});
        const JobInputs& job = *p.f.launched.front();
        QCOMPARE(job.kind, JobKind::GetParameter);
        const auto& ids = p.f.document.model()->getCommandIndexes;
        QCOMPARE(InputsOf<GetParameterArgs>(job).commandIds, ids);
        QCOMPARE(EditOf(p.page(0).control(4801))->text(), QStringLiteral("2"));
    }

    void restoreToOnlineShowsOnlyInSettingMode() {
        Pages p;
        int restores = 0;
        p.set.restoreOnline = [&restores] { ++restores; };
        QVERIFY(p.page(2).restoreButton()->isHidden());
        p.f.services.runJob = [&p](QWidget*, const std::shared_ptr<const JobInputs>&) {
            p.f.context.settingModeState = SettingModeState::AfterRead;
            return 1;
        };
        p.page(0).getButton()->click();
        for (int i = 0; i < kPageCount; ++i) QVERIFY(!p.page(i).restoreButton()->isHidden());
        p.page(4).restoreButton()->click();
        QCOMPARE(restores, 1);
    }

    void editCommandsTickAndRestore() {
        Pages p;
        QVERIFY(p.page(6).HandleCommand(command::kEnableAll));
        QVERIFY(p.page(0).groupCheck(4000)->isChecked());
        QVERIFY(p.page(6).groupCheck(4250)->isChecked());
        QVERIFY(p.page(0).control(4401)->isEnabled());

        QVERIFY(p.page(2).HandleCommand(command::kDisableAllInTab));
        QVERIFY(!p.page(2).groupCheck(4100)->isChecked());
        QVERIFY(!p.page(2).control(4501)->isEnabled());
        QVERIFY(p.page(3).groupCheck(4103)->isChecked());

        QLineEdit* contrast = EditOf(p.page(0).control(4801));
        TypeAndLeave(contrast, QStringLiteral("2"));
        p.page(0).StoreValues();
        // Restoring another tab's display leaves this page's value and ticks.
        QVERIFY(p.page(1).HandleCommand(command::kRestoreDisplay));
        QCOMPARE(contrast->text(), QStringLiteral("2"));
        QVERIFY(p.page(0).groupCheck(4058)->isChecked());
        QVERIFY(!p.page(1).groupCheck(4057)->isChecked());

        QVERIFY(p.page(0).HandleCommand(command::kRestoreDisplay));
        QCOMPARE(contrast->text(), QString::number(p.item("Contrast").numDefault));
        QVERIFY(!p.page(0).groupCheck(4058)->isChecked());
        QVERIFY(p.page(3).groupCheck(4103)->isChecked());

        QVERIFY(p.page(0).HandleCommand(command::kDisableAll));
        QVERIFY(!p.page(3).groupCheck(4103)->isChecked());
        QVERIFY(!p.page(5).setButton()->isEnabled());
    }

    void setParameterChecksAsksAndSendsTheTickedGroups() {
        Pages p;
        p.page(0).groupCheck(4058)->click();
        p.page(2).groupCheck(4100)->click();
        TypeAndLeave(EditOf(p.page(0).control(4801)), QStringLiteral("8"));

        int contrastSent = -1;
        p.f.services.runJob = [&p, &contrastSent](QWidget*,
                                                  const std::shared_ptr<const JobInputs>& in) {
            p.f.launched.push_back(in);
            contrastSent = p.item("Contrast").numValue;
            return 1;
        };
        p.page(0).setButton()->click();  // answered No
        QVERIFY(p.f.launched.empty());
        QCOMPARE(p.f.interaction.ids(), std::vector<int>{1302});

        p.f.interaction.Answer(true);
        p.page(0).setButton()->click();
        QCOMPARE(p.f.launched.size(), std::size_t{1});
        const JobInputs& job = *p.f.launched.front();
        QCOMPARE(job.kind, JobKind::SetParameter);
        std::vector<int> expected;
        for (const ParamGroup& group : p.f.document.model()->groups)
            if (group.checkBoxId == 4058 || group.checkBoxId == 4100)
                expected.push_back(group.checkBoxId);
        QCOMPARE(InputsOf<SetParameterArgs>(job).groupIds, expected);
        QCOMPARE(contrastSent, 8);  // the page's value reached the model before the job
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::ParameterPagesTest)
#include "parameter_pages_test.moc"
