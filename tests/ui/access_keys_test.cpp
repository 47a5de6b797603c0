#include <QAbstractButton>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <functional>
#include <map>
#include <memory>

#include "core/app/app_context.h"
#include "ui/environment_dialog.h"
#include "ui/main_window.h"
#include "ui/number_edit.h"
#include "ui/password_dialogs.h"
#include "ui/ui_text.h"
#include "ui_fixture.h"
#include "window_walk.h"

namespace rvq::test {

namespace {

// One window, the field each of its labels' access keys must reach (by
// the label's string id) and a way to build it over a fixture.
struct KeyTable {
    const char* window;
    std::function<std::unique_ptr<QWidget>(UiFixture&)> make;
    std::function<std::map<int, QWidget*>(QWidget&)> fields;
};

const KeyTable kTables[] = {
    {"Environment",
     [](UiFixture& f) {
         // The code fields take keys only while the codes are typed by hand.
         f.context.settings.controlCodeType = "Manual";
         return std::make_unique<ui::EnvironmentDialog>(f.services, std::function<void()>{});
     },
     [](QWidget& w) {
         auto& d = static_cast<ui::EnvironmentDialog&>(w);
         return std::map<int, QWidget*>{
             {60401, d.languageCombo()}, {60402, d.timeoutEdit()->lineEdit()},
             {60403, d.codeTypeCombo()}, {60404, d.codeEdit(0)},
             {60405, d.codeEdit(1)},     {60406, d.codeEdit(2)}};
     }},
    {"Password Change",
     [](UiFixture& f) {
         return std::make_unique<ui::PasswordChangeDialog>(f.context.strings, f.interaction, "");
     },
     [](QWidget& w) {
         auto& d = static_cast<ui::PasswordChangeDialog&>(w);
         return std::map<int, QWidget*>{
             {60411, d.oldEdit()}, {60412, d.newEdit()}, {60413, d.confirmEdit()}};
     }},
    {"Login",
     [](UiFixture& f) {
         return std::make_unique<ui::LoginDialog>(f.context.strings, f.interaction, "secret");
     },
     [](QWidget&) { return std::map<int, QWidget*>{}; }},
};

// Shortcuts work in the active window only; under an X server without a
// window manager nobody else makes it active.
void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
}

// The access key a text underlines ("&Timeout:", "タイムアウト(&T):").
QKeySequence AccessKey(const QString& text) { return QKeySequence::mnemonic(text); }

// The texts of `w` that may carry an access key: a label's (when it has a
// buddy to move to), a button's, the menu bar's titles.
QStringList KeyedTexts(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->buddy() ? QStringList{label->text()} : QStringList{};
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return {button->text()};
    QStringList titles;
    if (auto* bar = qobject_cast<QMenuBar*>(w))
        for (QAction* menu : bar->actions()) titles.append(menu->text());
    return titles;
}

// Fails for a visible label with an access key that the table does not
// name, and for two visible controls of one window with the same key
// (Qt then only moves the focus between them).
void CheckEveryKeyIsListed(QWidget& root, const Strings& strings,
                           const std::map<int, QWidget*>& fields, const char* window) {
    std::map<QKeySequence, QString> seen;
    for (QWidget* w : VisibleWidgets(root)) {
        for (const QString& text : KeyedTexts(w)) {
            const QKeySequence key = AccessKey(text);
            if (key.isEmpty()) continue;
            const auto [previous, added] = seen.emplace(key, text);
            QVERIFY2(added, qPrintable(QStringLiteral("%1: \"%2\" and \"%3\" share %4")
                                           .arg(QLatin1String(window), previous->second, text,
                                                key.toString())));
            if (!qobject_cast<QLabel*>(w)) continue;
            bool listed = false;
            for (const auto& [id, field] : fields) listed = listed || ui::Text(strings, id) == text;
            QVERIFY2(listed, qPrintable(QStringLiteral("%1: the access key of \"%2\" is not tested")
                                            .arg(QLatin1String(window), text)));
        }
    }
}

QLabel* LabelWithText(QWidget& root, const QString& text) {
    for (QLabel* label : root.findChildren<QLabel*>())
        if (label->text() == text) return label;
    return nullptr;
}

void CheckWindow(const KeyTable& table, bool japanese) {
    UiFixture f;
    if (japanese) f.UseJapanese();
    std::unique_ptr<QWidget> window = table.make(f);
    ShowActive(*window);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const std::map<int, QWidget*> fields = table.fields(*window);
    CheckEveryKeyIsListed(*window, f.context.strings, fields, table.window);

    // Each key is pressed with the focus in another field of the table.
    QWidget* from = fields.empty() ? nullptr : std::prev(fields.end())->second;
    for (const auto& [id, field] : fields) {
        const QString text = ui::Text(f.context.strings, id);
        QLabel* label = LabelWithText(*window, text);
        QVERIFY2(label != nullptr, qPrintable(text));
        const QKeySequence key = AccessKey(text);
        QVERIFY2(!key.isEmpty(), qPrintable(text));
        from->setFocus(Qt::OtherFocusReason);
        QVERIFY(from->hasFocus());
        QTest::keySequence(window.get(), key);
        QVERIFY2(field->hasFocus(),
                 qPrintable(QStringLiteral("%1: %2 (%3) left the focus in %4")
                                .arg(QLatin1String(table.window), text, key.toString(),
                                     QApplication::focusWidget()
                                         ? QApplication::focusWidget()->metaObject()->className()
                                         : "nothing")));
        from = field;
    }
}

}  // namespace

class AccessKeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
        QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    }

    void everyAccessKeyOfADialogReachesItsField_data() {
        QTest::addColumn<int>("table");
        QTest::addColumn<bool>("japanese");
        for (int i = 0; i < static_cast<int>(std::size(kTables)); ++i) {
            for (const bool japanese : {false, true}) {
                QTest::addRow("%s %s", kTables[i].window, japanese ? "Japanese" : "English")
                    << i << japanese;
            }
        }
    }
    void everyAccessKeyOfADialogReachesItsField() {
        QFETCH(int, table);
        QFETCH(bool, japanese);
        CheckWindow(kTables[table], japanese);
    }

    // The typed time-out lands in its own field, not in the field that had
    // the focus before.
    void digitsAfterTheTimeoutKeyGoIntoTheTimeout() {
        UiFixture f;
        f.context.settings.controlCodeType = "Manual";
        ui::EnvironmentDialog dialog(f.services, {});
        ShowActive(dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.codeEdit(1)->setFocus();
        QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("45"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(dialog.timeoutEdit()->value(), 45);
        QCOMPARE(dialog.codeEdit(1)->text(), QStringLiteral("HEX(0A)"));
    }

    // The pages have no access keys of their own; one added later must be
    // added to the table above, and must not take a key of the menus.
    void pagesAddNoUntestedAccessKeys() {
        for (const bool japanese : {false, true}) {
            UiFixture f;
            if (japanese) f.UseJapanese();
            ui::MainWindow window(f.services);
            window.show();
            ForEveryPage(window, [&](const QString& page) {
                CheckEveryKeyIsListed(window, f.context.strings, {}, qPrintable(page));
            });
        }
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::AccessKeysTest)
#include "access_keys_test.moc"
