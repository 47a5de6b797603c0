#include <QAbstractButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <functional>

#include "core/app/app_context.h"
#include "support/temp_dir.h"
#include "ui/message_box_interaction.h"
#include "ui/qt_translations.h"
#include "ui_fixture.h"

namespace rvq::test {

namespace {

// The texts of the buttons of the message box `show` opens, without their
// access keys ("&Yes", "はい(&Y)"), sorted; the box is closed.
QStringList ButtonsOfTheBox(const std::function<void()>& show) {
    QStringList texts;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        poll.stop();
        for (QAbstractButton* button : box->buttons()) {
            QString text = button->text();
            text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
            texts.append(text);
        }
        box->done(QMessageBox::Cancel);
    });
    poll.start();
    show();
    texts.sort();
    return texts;
}

struct Boxes {
    QStringList question, okCancel, error;
};

Boxes ShowBoxes(ui::MessageBoxInteraction& boxes) {
    return {ButtonsOfTheBox([&] { std::ignore = boxes.Confirm(427, "change?"); }),
            ButtonsOfTheBox([&] { std::ignore = boxes.Confirm(1000, "restart?"); }),
            ButtonsOfTheBox([&] { boxes.Error(1011, "failed"); })};
}

}  // namespace

class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    // One process: once installed, a translator stays for the process.
    void japaneseMessageBoxesHaveJapaneseButtons() {
        AppContext context;
        ui::MessageBoxInteraction boxes(context.strings);
        QVERIFY(ui::InstallQtTranslations(*qApp, false, ui::QtTranslationsFolder()));
        const Boxes english = ShowBoxes(boxes);
        QCOMPARE(english.question, (QStringList{QStringLiteral("No"), QStringLiteral("Yes")}));
        QCOMPARE(english.okCancel, (QStringList{QStringLiteral("Cancel"), QStringLiteral("OK")}));
        QCOMPARE(english.error, QStringList{QStringLiteral("OK")});

        context.settings.programFolder = RVQ_SOURCE_DIR "/data";
        context.settings.language = "JPN";
        QVERIFY(SelectLanguage(context));
        QVERIFY2(ui::InstallQtTranslations(*qApp, true, ui::QtTranslationsFolder()),
                 "Qt's Japanese translations are not installed (qt6-translations-l10n)");
        const Boxes japanese = ShowBoxes(boxes);
        QCOMPARE(japanese.question,
                 (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
        QVERIFY(japanese.okCancel.contains(QStringLiteral("キャンセル")));
        QCOMPARE(japanese.okCancel.size(), 2);
        QCOMPARE(japanese.error.size(), 1);
    }

    void missingTranslationsAreToldNotHidden() {
        TempDir empty;
        QVERIFY(!ui::InstallQtTranslations(*qApp, true, empty.path()));
        QVERIFY(ui::InstallQtTranslations(*qApp, false, empty.path()));
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::QtTranslationsTest)
#include "qt_translations_test.moc"
