#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QToolButton>
#include <filesystem>

#include "core/app/help_files.h"
#include "core/app/help_topics.h"
#include "core/app/navigation.h"
#include "core/comm/job/job_runner.h"
#include "ui/category_tabs.h"
#include "ui/environment_dialog.h"
#include "ui/help_key.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/mlan_select_dialog.h"
#include "ui/page_view.h"
#include "ui/password_dialogs.h"
#include "ui/progress_dialog.h"
#include "ui_fixture.h"

namespace rvq::test {

namespace {

// The position of the text that carries `anchor`; -1 when the page has none.
int AnchorPosition(const QTextDocument* document, const QString& anchor) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return it.fragment().position();
    return -1;
}

// The pictures of the section that starts at `position`, up to the next anchor.
QStringList SectionPictures(const QTextDocument* document, int position) {
    QStringList pictures;
    for (QTextBlock block = document->findBlock(position); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() <= position) continue;
            if (!fragment.charFormat().anchorNames().isEmpty()) return pictures;
            if (fragment.charFormat().isImageFormat())
                pictures << fragment.charFormat().toImageFormat().name();
        }
    }
    return pictures;
}

ui::HelpWindow* HelpWindowOf(QWidget* owner) {
    return owner->findChild<ui::HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private:
    // F1 on `widget` opened the help of `owner` on `topic`, in the
    // language's folder, with the section's own picture loaded.
    static void CheckLandsOn(QWidget* widget, QWidget* owner, const help::Topic& topic,
                             const QString& language) {
        QTest::keyClick(widget, Qt::Key_F1);
        ui::HelpWindow* help = HelpWindowOf(owner);
        QVERIFY2(help != nullptr, qPrintable(QString::fromStdString(topic.file)));
        QVERIFY(help->isVisible());
        const QUrl source = help->browser()->source();
        QCOMPARE(source.fileName(), QString::fromStdString(topic.file));
        QVERIFY2(source.path().contains(QStringLiteral("/help/") + language + QLatin1Char('/')),
                 qPrintable(source.path()));
        const QString anchor = QString::fromStdString(topic.anchor);
        QCOMPARE(source.fragment(), anchor);
        const QTextDocument* document = help->browser()->document();
        const int position = AnchorPosition(document, anchor);
        QVERIFY2(position >= 0,
                 qPrintable(QStringLiteral("no section %1 in %2").arg(anchor, source.path())));
        const QStringList pictures = SectionPictures(document, position);
        QVERIFY2(!pictures.isEmpty(),
                 qPrintable(QStringLiteral("section %1 shows no picture").arg(anchor)));
        const QVariant picture = help->browser()->loadResource(
            QTextDocument::ImageResource, source.resolved(QUrl(pictures.first())));
        QVERIFY2(!picture.value<QImage>().isNull() || !picture.toByteArray().isEmpty(),
                 qPrintable(QStringLiteral("picture %1 does not load").arg(pictures.first())));
        help->close();
    }

    static void UseJapanese(UiFixture& f) {
        QVERIFY(f.context.strings.LoadOverlay(RVQ_SOURCE_DIR "/data/lang/VQTool_Jpn.strings"));
        f.context.isJapanese = true;
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
        QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool Help Test"));
    }

    void f1OnEveryPageOpensItsOwnSection_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("en");
        QTest::newRow("Japanese") << QStringLiteral("ja");
    }
    void f1OnEveryPageOpensItsOwnSection() {
        QFETCH(QString, language);
        UiFixture f;
        if (language == QStringLiteral("ja")) UseJapanese(f);
        ui::HelpKey key(f.context, f.interaction);
        qApp->installEventFilter(&key);
        ui::MainWindow window(f.services);
        window.show();
        for (int c = 0; c < kCategoryCount; ++c) {
            const auto category = static_cast<Category>(c);
            std::vector<int> labels = CategoryTabLabelIds(category);
            if (category == Category::PrinterSetting) labels = {sid::kPrinterSettingLabel};
            for (std::size_t tab = 0; tab < labels.size(); ++tab) {
                QVERIFY(window.SwitchCategory(category));
                if (ui::CategoryTabs* tabs = window.categoryTabs(category))
                    tabs->SetCurrentIndex(static_cast<int>(tab));
                const auto topic = help::PageTopic(labels[tab]);
                QVERIFY2(
                    topic.has_value(),
                    qPrintable(QStringLiteral("page %1 has no help section").arg(labels[tab])));
                CheckLandsOn(window.visiblePage(), &window, *topic, language);
                if (QTest::currentTestFailed()) return;
            }
        }
        QVERIFY(f.interaction.ids().empty());
        // Help > Contents: the start page.
        window.action(command::kHelpContents)->trigger();
        QCOMPARE(HelpWindowOf(&window)->browser()->source().fileName(),
                 QStringLiteral("index.html"));
        qApp->removeEventFilter(&key);
    }

    void f1InEveryDialogOpensItsOwnSection_data() { f1OnEveryPageOpensItsOwnSection_data(); }
    void f1InEveryDialogOpensItsOwnSection() {
        QFETCH(QString, language);
        UiFixture f;
        if (language == QStringLiteral("ja")) UseJapanese(f);
        ui::HelpKey key(f.context, f.interaction);
        qApp->installEventFilter(&key);
        auto inputs = std::make_shared<JobInputs>();
        inputs->kind = JobKind::GetParameter;
        ui::ProgressDialog progress(f.services, std::make_shared<ScriptedExecutor>(), inputs);
        ui::EnvironmentDialog environment(f.services, [] {});
        ui::PasswordChangeDialog password(f.context.strings, f.interaction, std::string());
        ui::LoginDialog login(f.context.strings, f.interaction, "secret");
        ui::MLanSelectDialog select(f.context.strings, {{"127.0.0.2", 8000}});
        const std::pair<QWidget*, help::Dialog> dialogs[] = {
            {&progress, help::Dialog::Progress},       {&environment, help::Dialog::Environment},
            {&password, help::Dialog::PasswordChange}, {&login, help::Dialog::Login},
            {&select, help::Dialog::PrinterList},
        };
        for (const auto& [dialog, which] : dialogs) {
            dialog->show();
            CheckLandsOn(dialog, dialog, help::DialogTopic(which), language);
            dialog->hide();
            if (QTest::currentTestFailed()) return;
        }
        qApp->removeEventFilter(&key);
    }

    void helpWindowGoesBackAndForwardAndSearchesTheManual() {
        UiFixture f;
        QWidget owner;
        ui::HelpWindow* help = ui::ShowHelp(f.context, f.interaction, &owner, help::Contents());
        QVERIFY(help != nullptr);
        help->Open(*help::PageTopic(700));
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("download.html"));
        QVERIFY(help->backButton()->isEnabled());
        QTest::mouseClick(help->backButton(), Qt::LeftButton);
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("index.html"));
        QTest::mouseClick(help->forwardButton(), Qt::LeftButton);
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("download.html"));

        // Every word must be in a section; the first hit is opened and marked.
        help->searchField()->setText(QStringLiteral("start DOWNLOAD"));
        QTest::keyClick(help->searchField(), Qt::Key_Return);
        QVERIFY(help->resultList()->isVisible());
        QVERIFY(help->resultList()->count() > 0);
        QVERIFY(help->browser()->textCursor().hasSelection());
        QCOMPARE(help->browser()->textCursor().selectedText().toLower(), QStringLiteral("start"));

        help->Search(QStringLiteral("zebra-crossing"));
        QCOMPARE(help->resultList()->count(), 1);
        QCOMPARE(help->resultList()->item(0)->flags(), Qt::NoItemFlags);

        // F1 in the help window explains the help window, in the same window.
        ui::HelpKey key(f.context, f.interaction);
        qApp->installEventFilter(&key);
        QTest::keyClick(help->browser(), Qt::Key_F1);
        qApp->removeEventFilter(&key);
        QVERIFY(help->findChild<ui::HelpWindow*>() == nullptr);
        QCOMPARE(help->browser()->source().fragment(), QStringLiteral("using-help"));
    }

    void japaneseSearchFindsJapaneseText() {
        UiFixture f;
        UseJapanese(f);
        QWidget owner;
        ui::HelpWindow* help = ui::ShowHelp(f.context, f.interaction, &owner, help::Contents());
        QVERIFY(help != nullptr);
        help->Search(QStringLiteral("ファームウェア"));
        QVERIFY(help->resultList()->count() > 0);
        QVERIFY(help->resultList()->item(0)->flags() != Qt::NoItemFlags);
        QVERIFY(help->browser()->source().path().contains(QStringLiteral("/help/ja/")));
    }

    void aPageMissingFromTheLanguageIsShownInEnglish() {
        UiFixture f;
        TempDir data;
        std::filesystem::create_directories(data.File("help/ja"));
        std::filesystem::create_directories(data.File("help/en"));
        data.Write("help/ja/index.html", "<html><body><p>目次</p></body></html>");
        data.Write("help/en/index.html", "<html><body><p>Contents</p></body></html>");
        data.Write("help/en/tool.html",
                   "<html><body><a id=\"tool\" name=\"tool\"></a><h2>Send File</h2></body></html>");
        const help::Location location =
            help::Locate({data.path()}, "help/ja/index.html", "help/en/index.html");
        QWidget owner;
        ui::HelpWindow* help =
            ui::ShowHelpAt(location, f.context, f.interaction, &owner, {"tool.html", "tool"});
        QVERIFY(help != nullptr);
        QVERIFY2(help->browser()->toPlainText().contains(QStringLiteral("Send File")),
                 qPrintable(help->browser()->toPlainText()));
        help->Open(help::Contents());
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("目次")));
    }

    void missingHelpSaysWhichFileAndWhereItWasLookedFor() {
        UiFixture f;
        QWidget owner;
        help::Location nowhere;
        nowhere.startFile = "index.html";
        nowhere.tried = {"/opt/a/help/en", "/opt/b/help/en"};
        QVERIFY(ui::ShowHelpAt(nowhere, f.context, f.interaction, &owner, help::Contents()) ==
                nullptr);
        QVERIFY(HelpWindowOf(&owner) == nullptr);
        const auto shown = f.interaction.shown();
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].kind, ScriptedInteraction::Kind::Error);
        QCOMPARE(shown[0].messageId, 60027);
        for (const char* part : {"index.html", "/opt/a/help/en", "/opt/b/help/en"})
            QVERIFY2(shown[0].text.find(part) != std::string::npos, shown[0].text.c_str());
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::HelpTest)
#include "core/app/string_ids.h"
#include "help_test.moc"
