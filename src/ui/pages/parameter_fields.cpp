// The control a parameter page gives each item, by the item's kind: lists,
// byte and number fields with their buttons, addresses, dates, files and
// masked passwords, and how wide each is in its row.
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_model.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/pages/page_rules.h"
#include "core/params/input_rules.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "ui/file_dialogs.h"
#include "ui/focus_forwarding.h"
#include "ui/pages/parameter_controls.h"
#include "ui/pages/parameter_page.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kContrastCtrl = 4801;
constexpr int kEuroFontCtrl = 4800;
constexpr int kAccessPasswordCtrl = 5057;
constexpr int kFirstWepKey = 4960;
constexpr int kLastWepKey = 4963;
constexpr int kFirstCentury = 2000;
constexpr int kSpinButtonWidth = 18;
// What an edit needs beside its text: frame and margins.
constexpr int kEditPadding = 14;
// Number fields are at least this many digits wide, so most of a group's
// fields and units line up.
constexpr int kNumberDigits = 5;
// Texts up to this length get a field that shows them whole.
constexpr int kWholeTextLength = 16;
constexpr int kSpinButtonHeight = 11;

// Room for the digits of a number, its sign and the edit's frame.
int NumberWidth(const QLineEdit* edit, const ParamItem& item) {
    return edit->fontMetrics().horizontalAdvance(QLatin1Char('9')) *
               (std::max(item.maxLength, kNumberDigits) + 3) +
           kEditPadding;
}

// A control that keeps its own width in its row instead of sharing the
// row's room.
void KeepWidth(QWidget* widget) {
    widget->setSizePolicy(QSizePolicy::Fixed, widget->sizePolicy().verticalPolicy());
}

// Password fields shown in clear until a get or a restore hides them.
bool StartsUnmasked(int ctrlId) {
    return ctrlId == 4855 || ctrlId == 4856 || ctrlId == 5055 || ctrlId == 5056;
}
// Password fields hidden again when left without typing.
bool RemasksUntouched(int ctrlId) {
    return ctrlId == 5002 || ctrlId == 5007 || (ctrlId >= kFirstWepKey && ctrlId <= kLastWepKey);
}

params::PasswordRule PasswordRuleOf(int ctrlId) {
    if (ctrlId >= kFirstWepKey && ctrlId <= kLastWepKey) return params::PasswordRule::Free;
    if (ctrlId == kAccessPasswordCtrl) return params::PasswordRule::DefaultLength;
    return params::PasswordRule::MinLength;
}

// Numbers settle when the field is left: Contrast to an even value, every
// number into its range.
void SettleNumberOnLeave(QLineEdit* edit, const ParamItem& item) {
    const ParamItem rules = item;
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, rules] {
        std::string text = FromQt(edit->text());
        if (rules.ctrlId == kContrastCtrl && !text.empty()) {
            const int value = ParseLeadingInt(text);
            text = std::to_string(value - value % 2);
        }
        const QString settled = ToQt(params::ClampOnLeave(rules, text));
        if (settled != edit->text()) edit->setText(settled);
    });
}

}  // namespace

QWidget* ParameterPage::MakeControl(ParamItem& item, bool password, QWidget* parent) {
    using namespace params::kind;
    if (params::IsList(item.kind)) {
        auto* combo = new QComboBox(parent);
        const auto& labels =
            services_.context.isJapanese && !item.labelsJpn.empty() ? item.labelsJpn : item.labels;
        for (const std::string& label : labels) combo->addItem(ToQt(label));
        return combo;
    }
    switch (item.kind) {
        case kHexByte: {
            QLineEdit* edit = MakeHexByteEdit(parent);
            KeepWidth(edit);
            if (item.ctrlId == kEuroFontCtrl) {
                connect(edit, &QLineEdit::editingFinished, edit, [edit, rules = item] {
                    if (const auto settled = params::SettleHexByte(rules, HexByteDigits(edit)))
                        ShowHexByte(edit, *settled);
                });
            }
            return edit;
        }
        case kIpAddress: {
            auto* address = new AddressEdit(parent);
            KeepWidth(address);
            return address;
        }
        case kDate: {
            auto* date = new QDateEdit(parent);
            date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
            date->setDateRange(QDate(kFirstCentury, 1, 1), QDate(kFirstCentury + 99, 12, 31));
            date->setCalendarPopup(true);
            KeepWidth(date);
            return date;
        }
        case kTime: {
            auto* time = new QTimeEdit(parent);
            time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            KeepWidth(time);
            return time;
        }
        case kFile:
            return new FileEdit(
                [this] { return services_.files.OpenFile(this, 0, sid::kAllFilesFilter); }, parent);
        default:
            break;
    }
    if (password) return MakePassword(item, parent);
    auto* edit = new QLineEdit(parent);
    if (item.maxLength > 0) edit->setMaxLength(item.maxLength);
    if (item.kind == kReadOnly) {
        edit->setReadOnly(true);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-000.0")) +
                            kEditPadding);
        KeepWidth(edit);
        return edit;
    }
    AttachEditFilter(edit, item.kind);
    if (!params::HoldsNumber(item.kind)) {
        // A short text shows whole; a long one takes the row's room.
        if (item.maxLength > 0 && item.maxLength <= kWholeTextLength)
            edit->setMinimumWidth(
                edit->fontMetrics().horizontalAdvance(QString(item.maxLength, QLatin1Char('0'))) +
                kEditPadding);
        return edit;
    }
    SettleNumberOnLeave(edit, item);
    edit->setFixedWidth(NumberWidth(edit, item));
    KeepWidth(edit);
    return item.spinId < 0 ? edit : WithSpin(edit, item, parent);
}

QWidget* ParameterPage::MakePassword(ParamItem& item, QWidget* parent) {
    const int ctrlId = item.ctrlId;
    auto* edit = new PasswordEdit(RemasksUntouched(ctrlId), parent);
    if (item.maxLength > 0) edit->setMaxLength(item.maxLength);
    AttachEditFilter(edit,
                     item.kind == params::kind::kHexPassword ? params::kind::kHex : item.kind);
    if (!StartsUnmasked(ctrlId)) edit->Mask();
    edit->commit = [this, ctrlId](const std::string& typed) {
        ParamItem* target = ItemOf(ctrlId);
        if (!target) return typed;
        const std::lock_guard lock(services_.document.modelMutex());
        params::SetValueText(*target,
                             params::SettlePassword(*target, typed, PasswordRuleOf(ctrlId)));
        return target->textValue;
    };
    edit->itemText = [this, ctrlId] {
        const ParamItem* target = ItemOf(ctrlId);
        return target ? target->textValue : std::string();
    };
    return edit;
}

// Up and down buttons beside the field step the number within its range.
QWidget* ParameterPage::WithSpin(QLineEdit* edit, const ParamItem& item, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    edit->setParent(box);
    auto* spin = new QWidget(box);
    spin->setObjectName(QStringLiteral("spin%1").arg(item.spinId));
    auto* buttons = new QVBoxLayout(spin);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    const ParamItem rules = item;
    const int stride = rules.ctrlId == kContrastCtrl ? 2 : 1;
    for (const int step : {1, -1}) {
        auto* button = new QToolButton(spin);
        button->setObjectName(step > 0 ? QStringLiteral("up") : QStringLiteral("down"));
        button->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
        button->setFixedSize(kSpinButtonWidth, kSpinButtonHeight);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, edit, [edit, rules, step, stride] {
            edit->setText(ToQt(params::SpinStep(rules, FromQt(edit->text()), step * stride).text));
        });
        buttons->addWidget(button);
    }
    row->addWidget(edit);
    row->addWidget(spin);
    KeepWidth(box);
    ForwardFocus(box, edit);
    return box;
}

}  // namespace rvq::ui
