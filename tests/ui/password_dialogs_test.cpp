#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/app/machine_store.h"
#include "ui/password_dialogs.h"
#include "ui/startup.h"
#include "ui_fixture.h"

namespace rvq::test {

namespace {

// Types into the login dialog once it is shown, then presses OK.
void AnswerLogin(const QString& password) {
    QTimer::singleShot(0, [password] {
        auto* dialog = qobject_cast<ui::LoginDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) qFatal("no login dialog");
        QTest::keyClicks(dialog->passwordEdit(), password);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
}

}  // namespace

class PasswordDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void aWrongLoginEndsTheStart() {
        TempDir folder;
        const std::string ini =
            folder.Write("VQTool.INI", "[HEADER]\r\nTITLE=R-VQ Setting Tool\r\n");
        QVERIFY(SavePassword(MachineStorePath(ini), "Secret"));
        const std::string programFolder = RVQ_SOURCE_DIR "/data";

        for (const auto& [typed, expected] :
             {std::pair{QStringLiteral("secret"), ui::StartOutcome::LoginRefused},
              std::pair{QStringLiteral("Secret"), ui::StartOutcome::Ready}}) {
            AppContext context;
            Document document;
            ScriptedInteraction interaction;
            AnswerLogin(typed);
            const ui::StartResult result = ui::PrepareStart(
                context, document, interaction, FileLocations::InFolder(ini, programFolder),
                [&](const std::string& stored) {
                    return ui::Login(context.strings, interaction, stored);
                });
            QCOMPARE(result.outcome, expected);
            QCOMPARE(interaction.ids(), expected == ui::StartOutcome::Ready
                                            ? std::vector<int>{}
                                            : std::vector<int>{1007});
            // Only a passed login goes on to the printer definition.
            QCOMPARE(document.model() != nullptr, expected == ui::StartOutcome::Ready);
        }
    }

    void aRejectedSettingsFileIsNamed() {
        TempDir folder;
        const std::string ini =
            folder.Write("VQTool.INI", "[HEADER]\r\nTITLE=r-vq setting tool\r\n");
        AppContext context;
        Document document;
        ScriptedInteraction interaction;
        bool asked = false;
        const ui::StartResult result = ui::PrepareStart(
            context, document, interaction, FileLocations::InFolder(ini, RVQ_SOURCE_DIR "/data"),
            [&](const std::string&) { return asked = true; });
        QCOMPARE(result.outcome, ui::StartOutcome::SettingsRejected);
        QCOMPARE(interaction.ids(), std::vector<int>{152});
        QCOMPARE(interaction.shown().front().text, std::string("VQTool.INI File Error"));
        QVERIFY(result.diagnostic.find(ini) != std::string::npos);
        QVERIFY(!asked);
    }

    void aMissingModelIsNamed() {
        TempDir folder;
        const std::string ini = folder.Write("VQTool.INI", "[PRINTER]\r\nPRINTER=R-VQ9Z9-Z\r\n");
        AppContext context;
        Document document;
        ScriptedInteraction interaction;
        const ui::StartResult result =
            ui::PrepareStart(context, document, interaction,
                             FileLocations::InFolder(ini, RVQ_SOURCE_DIR "/data"), {});
        QCOMPARE(result.outcome, ui::StartOutcome::DefinitionMissing);
        QVERIFY(result.diagnostic.find("VQTool_Printer.XML") != std::string::npos);
        QVERIFY(result.diagnostic.find("R-VQ9Z9-Z") != std::string::npos);
        QVERIFY(interaction.ids().empty());
    }

    void passwordChangeChecksTheOldPasswordAndTheConfirmation() {
        const Strings strings;
        ScriptedInteraction interaction;
        ui::PasswordChangeDialog dialog(strings, interaction, "Secret");
        dialog.show();
        QTest::keyClicks(dialog.oldEdit(), "SECRET");
        TypeText(dialog.newEdit(),
                 QString::fromUtf8("n\xC3\xA9w\xE2\x82\xAC"));  // the euro sign cannot be kept
        QCOMPARE(dialog.newEdit()->text(), QString::fromUtf8("n\xC3\xA9w"));
        TypeText(dialog.confirmEdit(), QString::fromUtf8("n\xC3\xA9w"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(interaction.ids(), std::vector<int>{1008});
        QVERIFY(dialog.isVisible());

        dialog.oldEdit()->clear();
        QTest::keyClicks(dialog.oldEdit(), "Secret");
        QTest::keyClicks(dialog.confirmEdit(), "x");
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(interaction.ids(), (std::vector<int>{1008, 1009}));
        QVERIFY(dialog.isVisible());

        QTest::keyClick(dialog.confirmEdit(), Qt::Key_Backspace);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.newPassword(), std::string("n\xC3\xA9w"));
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::PasswordDialogsTest)
#include "password_dialogs_test.moc"
