#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "ui/environment_dialog.h"
#include "ui/number_edit.h"
#include "ui/window_settings.h"
#include "ui_fixture.h"

namespace rvq::test {

namespace {

void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!text.isEmpty()) QTest::keyClicks(edit, text);
}

}  // namespace

class EnvironmentDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
        QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    }

    void timeoutIsClampedWhenTheFieldIsLeft() {
        UiFixture f;
        ui::EnvironmentDialog dialog(f.services, {});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* timeout = dialog.timeoutEdit()->lineEdit();
        const struct {
            const char* typed;
            const char* shown;
        } cases[] = {{"0", "1"}, {"999", "600"}, {"", "20"}, {"4a5", "45"}};
        for (const auto& c : cases) {
            Retype(timeout, QString::fromLatin1(c.typed));
            QTest::keyClick(timeout, Qt::Key_Tab);
            QVERIFY(!timeout->hasFocus());
            QCOMPARE(timeout->text(), QString::fromLatin1(c.shown));
        }
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.context.settings.timeoutSeconds, 45);
        QVERIFY(f.interaction.ids().empty());
        QVERIFY(!f.context.restartRequested);
    }

    void equalCodesKeepTheDialogOpen() {
        UiFixture f;
        // Codes from a hand-edited file are checked whatever the mode.
        f.context.settings.controlCodes = {0x1B, 0x0A, 0x1B};
        ui::EnvironmentDialog dialog(f.services, {});
        dialog.show();
        QVERIFY(!dialog.codeEdit(0)->isEnabled());
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(f.interaction.ids(), std::vector<int>{1017});
        QVERIFY(dialog.isVisible());

        ChooseEntry(dialog.codeTypeCombo(), QStringLiteral("Manual"));
        QVERIFY(dialog.codeEdit(2)->isEnabled());
        Retype(dialog.codeEdit(2), QStringLiteral("0a"));
        QCOMPARE(dialog.codeEdit(2)->text(), QStringLiteral("HEX(0A)"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(f.interaction.ids(), (std::vector<int>{1017, 1017}));
        QVERIFY(dialog.isVisible());

        Retype(dialog.codeEdit(2), QStringLiteral("7d"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.context.settings.controlCodeType, std::string("Manual"));
        QVERIFY(f.context.settings.controlCodes == (ControlCodes{0x1B, 0x0A, 0x7D}));
    }

    void languageChangeAsksForARestart() {
        UiFixture f;
        QSettings().setValue(ui::kPlacementKey, QStringLiteral("0,1,-1,-1,-1,-1,10,10,900,700"));
        bool pageStored = false;
        ui::EnvironmentDialog dialog(f.services, [&] { pageStored = true; });
        dialog.show();
        ChooseEntry(dialog.languageCombo(), QStringLiteral("Japanese"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);  // Cancel to 1000
        QCOMPARE(f.interaction.ids(), std::vector<int>{1000});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.languageCombo()->currentText(), QStringLiteral("Japanese"));
        QCOMPARE(f.context.settings.language, std::string("ENG"));

        f.interaction.Answer(true);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.context.settings.language, std::string("JPN"));
        QVERIFY(f.context.restartRequested);
        QVERIFY(pageStored);
        QVERIFY(QSettings().value(ui::kPlacementKey).toString().isEmpty());
    }

    // The settings are the user's, the login password the machine's: each
    // button follows its own right to write.
    void buttonsFollowWhatMayBeWritten() {
        const struct {
            bool settings, store;
        } cases[] = {{false, false}, {true, false}, {false, true}};
        for (const auto& c : cases) {
            UiFixture f;
            f.context.settings.settingsWritable = c.settings;
            f.context.settings.machineStoreWritable = c.store;
            ui::EnvironmentDialog dialog(f.services, {});
            QCOMPARE(dialog.okButton()->isEnabled(), c.settings);
            QCOMPARE(dialog.passwordButton()->isEnabled(), c.store);
        }
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::EnvironmentDialogTest)
#include "environment_dialog_test.moc"
