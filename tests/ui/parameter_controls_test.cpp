// The kinds of parameter controls and the dependencies between them, driven
// as a user does: typing, leaving fields, choosing list entries.
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>

#include "core/app/app_context.h"
#include "core/params/item_values.h"
#include "parameter_fixture.h"
#include "ui/pages/parameter_controls.h"

namespace rvq::test {

class ParameterControlsTest : public QObject {
    Q_OBJECT

private slots:
    void hexByteAndNumberFieldsSettleOnLeave() {
        Pages p([](PrinterModel& model) { FindItem(model, "EUROFontCode")->maxValue = 0x7F; });
        p.tick(0, 4000);
        QLineEdit* euro = EditOf(p.control(4800));
        QCOMPARE(euro->text(), QStringLiteral("HEX(B0)"));
        QCOMPARE(TypeAndLeave(euro, QStringLiteral("ff")), QStringLiteral("HEX(7F)"));
        QCOMPARE(TypeAndLeave(euro, QStringLiteral("3c")), QStringLiteral("HEX(3C)"));
        p.page(0).StoreValues();
        QCOMPARE(p.item("EUROFontCode").textValue, std::string("3C"));

        p.tick(1, 4006);
        QLineEdit* code1 = EditOf(p.control(4852));
        QCOMPARE(code1->text(), QStringLiteral("HEX(1B)"));

        p.tick(1, 4050);
        QLineEdit* feed = EditOf(p.control(4805));
        QCOMPARE(TypeAndLeave(feed, QStringLiteral("+1.25")), QStringLiteral("+1.2"));
        QCOMPARE(TypeAndLeave(feed, QStringLiteral("-99")), QStringLiteral("-50.0"));
        p.page(1).StoreValues();
        QCOMPARE(p.item("FeedAdjust").numValue, -500);
        // Parameter values are typed as plain characters, without an input method.
        for (int ctrlId : {4805, 4852, 4855})
            QVERIFY(!EditOf(p.control(ctrlId))->testAttribute(Qt::WA_InputMethodEnabled));
    }

    void passwordFieldsClearForTypingAndSettleOnLeave() {
        Pages p([](PrinterModel& model) {
            params::SetValueText(*FindItem(model, "SystemModePassword"), "Enable");
        });
        p.f.context.serviceMode = ServiceMode::Full;
        p.tick(1, 4053);
        p.tick(6, 4252);
        // A WEP key starts hidden; taking the focus clears it for typing,
        // leaving it untyped hides the item's key again.
        auto* key = qobject_cast<ui::PasswordEdit*>(EditOf(p.control(4960)));
        QVERIFY(key && key->masked());
        p.item("WEP_KeyData1").textValue = "SECRET";
        FocusIn(key);
        QVERIFY(!key->masked());
        QVERIFY(key->text().isEmpty());
        QCOMPARE(key->state(), ui::PasswordEdit::Cleared);
        FocusOut(key);
        QVERIFY(key->masked());
        QCOMPARE(key->text(), QStringLiteral("SECRET"));

        // The new system mode password starts in clear; too short a text
        // gives the default back.
        auto* fresh = qobject_cast<ui::PasswordEdit*>(EditOf(p.control(4855)));
        QVERIFY(!fresh->masked());
        const struct {
            QString typed;
            QString kept;
        } cases[] = {{"12", "5813"}, {"4321", "4321"}};
        for (const auto& c : cases) {
            FocusIn(fresh);
            fresh->clear();
            QTest::keyClicks(fresh, c.typed);
            QCOMPARE(fresh->state(), ui::PasswordEdit::Typed);
            FocusOut(fresh);
            QCOMPARE(fresh->text(), c.kept);
            QCOMPARE(p.item("NewPassword").textValue, c.kept.toStdString());
        }

        // The access password takes hex digits and only its full length.
        auto* access = qobject_cast<ui::PasswordEdit*>(EditOf(p.control(5057)));
        FocusIn(access);
        QTest::keyClicks(access, QStringLiteral("ABgCD1234"));
        FocusOut(access);
        QCOMPARE(p.item("RFID_AccessPassword").textValue, std::string("ABCD1234"));
        FocusIn(access);  // still in clear from the typing: nothing is cleared
        QCOMPARE(access->text(), QStringLiteral("ABCD1234"));
        access->clear();
        QTest::keyClicks(access, QStringLiteral("ABC"));
        FocusOut(access);
        QCOMPARE(p.item("RFID_AccessPassword").textValue, std::string("00000000"));

        // A successful get hides every password field again.
        p.page(0).getButton()->click();
        QVERIFY(fresh->masked() && access->masked());
        QCOMPARE(fresh->state(), ui::PasswordEdit::Untouched);
    }

    void addressDateTimeAndFileControls() {
        Pages p;
        auto* address = qobject_cast<ui::AddressEdit*>(p.control(5700));
        QCOMPARE(QString::fromStdString(address->text()), QStringLiteral("192.168.10.20"));
        address->part(3)->clear();
        p.page(3).StoreValues();
        QCOMPARE(p.item("IPAddress").textValue, std::string("192.168.10."));

        // An empty date takes today; a stored one shows with its parts.
        auto* date = qobject_cast<QDateEdit*>(p.control(5650));
        QCOMPARE(date->date(), QDate::currentDate());
        p.item("DATE").textValue = "26,13,05";
        p.item("TIME").textValue = "07,08,61";
        p.page(1).RefreshFromModel();
        QCOMPARE(date->date(), QDate(2026, 1, 5));
        QCOMPARE(qobject_cast<QTimeEdit*>(p.control(5651))->time(), QTime(7, 8, 0));
        p.page(1).StoreValues();
        QCOMPARE(p.item("DATE").textValue, std::string("26,01,05"));
        QCOMPARE(p.item("TIME").textValue, std::string("07,08,00"));

        p.f.files.next = "/tmp/client.pem";
        auto* file = qobject_cast<ui::FileEdit*>(p.control(5005));
        p.tick(5, 4207);
        file->browseButton()->click();
        QCOMPARE(file->lineEdit()->text(), QStringLiteral("/tmp/client.pem"));
        p.page(5).StoreValues();
        QCOMPARE(p.item("ClientCertificate").textValue, std::string("/tmp/client.pem"));
    }

    void listsEnableTheFieldsTheyGovern() {
        Pages p;
        p.f.context.serviceMode = ServiceMode::Full;
        for (auto& page : p.pages) {
            page->show();
            page->ServiceModeChanged();
        }
        const struct {
            int page;
            int check;
            int list;
            const char* on;
            const char* off;
            std::vector<int> fields;
        } cases[] = {
            {1, 4053, 4462, "Enable", "Disable", {4855}},
            {1, 4006, 4461, "Manual", "Standard", {4852, 4853, 4854}},
            {5, 4208, 4602, "Download", "Keep", {5009}},
            {6, 4252, 4655, "Enable", "Disable", {5055}},
            {3, 4106, 4521, "Trap v1", "None", {5706}},
        };
        for (const auto& c : cases) {
            p.tick(c.page, c.check);
            for (int field : c.fields) QVERIFY2(!p.control(field)->isEnabled(), c.on);
            ChooseEntry(p.combo(c.list), QString::fromLatin1(c.on));
            for (int field : c.fields) QVERIFY2(p.control(field)->isEnabled(), c.on);
            ChooseEntry(p.combo(c.list), QString::fromLatin1(c.off));
            for (int field : c.fields) QVERIFY2(!p.control(field)->isEnabled(), c.off);
            p.page(c.page).groupCheck(c.check)->click();
            ChooseEntry(p.combo(c.list), QString::fromLatin1(c.on));
            for (int field : c.fields) QVERIFY2(!p.control(field)->isEnabled(), "unticked");
        }
        // A trap row set back to none loses its address.
        auto* trap = qobject_cast<ui::AddressEdit*>(p.control(5706));
        trap->setText("10.0.0.5");
        ChooseEntry(p.combo(4521), QStringLiteral("None"));
        QCOMPARE(QString::fromStdString(trap->text()), QStringLiteral("0.0.0.0"));
    }

    void clientIdFollowsItsInputType() {
        Pages p;
        p.page(3).show();
        p.tick(3, 4105);
        QLineEdit* id = EditOf(p.control(4903));
        QTest::keyClicks(id, QStringLiteral("ab-9z"));
        QCOMPARE(id->text(), QStringLiteral("AB9"));
        QCOMPARE(id->maxLength(), 128);
        ChooseEntry(p.combo(4518), QStringLiteral("ASCII"));
        QVERIFY(id->text().isEmpty());
        QCOMPARE(id->maxLength(), 64);
        QTest::keyClicks(id, QStringLiteral("ab-9z"));
        QCOMPARE(id->text(), QStringLiteral("ab-9z"));
    }

    void wepKeysFollowSizeAndInputType() {
        Pages p;
        p.page(4).show();
        p.tick(4, 4156);
        auto* key1 = qobject_cast<ui::PasswordEdit*>(EditOf(p.control(4960)));
        auto* key2 = qobject_cast<ui::PasswordEdit*>(EditOf(p.control(4961)));
        QVERIFY(!key1->isEnabled());
        ChooseEntry(p.combo(4561), QStringLiteral("64 bit"));
        QVERIFY(key1->isEnabled());
        QCOMPARE(key1->maxLength(), 10);
        FocusIn(key1);
        QTest::keyClicks(key1, QStringLiteral("abcdef0123456"));
        QCOMPARE(key1->text(), QStringLiteral("ABCDEF0123"));
        ChooseEntry(p.combo(4561), QStringLiteral("128 bit"));
        QCOMPARE(key1->maxLength(), 26);
        QVERIFY(key1->text().isEmpty());  // a new size clears the key

        ChooseEntry(p.combo(4562), QStringLiteral("128 bit"));
        key1->setText(QStringLiteral("AAAA"));
        key2->setText(QStringLiteral("BBBB"));
        ChooseEntry(p.combo(4560), QStringLiteral("ASCII"));
        QVERIFY(key1->text().isEmpty() && key2->text().isEmpty());
        QCOMPARE(key1->maxLength(), 13);
        FocusIn(key2);
        QTest::keyClicks(key2, QStringLiteral("a-b"));
        QCOMPARE(key2->text(), QStringLiteral("a-b"));
    }

    void authenticationListsOfferOnlyExpressibleCombinations() {
        Pages p;
        p.page(4).show();
        p.tick(4, 4155);
        auto entries = [&p](int ctrlId) {
            QStringList texts;
            for (int i = 0; i < p.combo(ctrlId)->count(); ++i)
                texts << p.combo(ctrlId)->itemText(i);
            return texts;
        };
        // Infrastructure, no encryption: nothing further to choose.
        QCOMPARE(entries(4556).size(), 5);
        QCOMPARE(entries(4557), QStringList{"Open"});
        QCOMPARE(entries(4558), QStringList{"None"});

        ChooseEntry(p.combo(4556), QStringLiteral("TKIP"));
        QCOMPARE(entries(4557), (QStringList{"WPA", "WPA-PSK"}));
        QCOMPARE(p.combo(4557)->currentText(), QStringLiteral("WPA"));
        QCOMPARE(entries(4558).first(), QStringLiteral("EAP-TLS"));

        ChooseEntry(p.combo(4555), QStringLiteral("Ad hoc"));
        QCOMPARE(entries(4556), (QStringList{"None", "WEP", "WEP (Shared)"}));
        QCOMPARE(p.combo(4556)->currentText(), QStringLiteral("None"));
        QCOMPARE(entries(4557), QStringList{"Open"});

        // A stored combination shows as it is.
        params::SetValueText(p.item("Authentication-1"), "Infrastructure");
        params::SetValueText(p.item("Authentication-2"), "AES");
        params::SetValueText(p.item("Authentication-3"), "WPA2");
        params::SetValueText(p.item("Authentication-4"), "PEAP");
        p.page(4).RefreshFromModel();
        QCOMPARE(p.combo(4557)->currentText(), QStringLiteral("WPA2"));
        QCOMPARE(p.combo(4558)->currentText(), QStringLiteral("PEAP"));
        p.page(4).StoreValues();
        QCOMPARE(p.item("Authentication-4").textValue, std::string("PEAP"));
    }

    void countryListsShowOnlyInTheFullServiceMode() {
        Pages p;
        QComboBox* country = p.combo(4551);
        QCOMPARE(country->currentIndex(), -1);
        QVERIFY(country->currentText().isEmpty());
        p.item("CountryCode").textValue.clear();
        p.f.context.serviceMode = ServiceMode::Full;
        p.page(4).ServiceModeChanged();
        const std::string fallback = p.item("CountryCode").textDefault;
        QVERIFY(!fallback.empty());
        QCOMPARE(country->currentText().toStdString(), fallback);
        QCOMPARE(p.item("CountryCode").textValue, fallback);
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::ParameterControlsTest)
#include "parameter_controls_test.moc"
