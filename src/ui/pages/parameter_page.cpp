#include "ui/pages/parameter_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_model.h"
#include "core/app/text.h"
#include "core/params/group_captions.h"
#include "core/params/input_rules.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "core/params/page_layout.h"
#include "core/params/page_rules.h"
#include "ui/file_dialogs.h"
#include "ui/pages/parameter_controls.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kGetParameter = 785;
constexpr int kSetParameter = 786;
constexpr int kRestoreOnline = 799;
constexpr int kGroupColumns = 2;
constexpr int kContrastCtrl = 4801;
constexpr int kEuroFontCtrl = 4800;
constexpr int kAccessPasswordCtrl = 5057;
constexpr int kAllFilesFilter = 728;
constexpr int kFirstWepKey = 4960;
constexpr int kLastWepKey = 4963;
constexpr int kFirstCentury = 2000;
constexpr int kSpinButtonWidth = 18;
constexpr int kSpinButtonHeight = 12;

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

QLineEdit* EditOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit;
    if (auto* file = qobject_cast<FileEdit*>(widget)) return file->lineEdit();
    return widget->findChild<QLineEdit*>();
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

ParameterPage::ParameterPage(UiServices& services, ParameterPageSet& set, int pageIndex,
                             QWidget* parent)
    : PageView(parent), services_(services), set_(set), pageIndex_(pageIndex) {
    set_.pages.push_back(this);
    Build();
    RefreshFromModel();
}

void ParameterPage::Build() {
    auto* outer = new QVBoxLayout(this);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidget(BuildBody());
    outer->addWidget(scroll_, 1);

    const Strings& strings = services_.context.strings;
    auto* buttons = new QHBoxLayout;
    get_ = new QPushButton(Text(strings, kGetParameter), this);
    setButton_ = new QPushButton(Text(strings, kSetParameter) + QStringLiteral("..."), this);
    restore_ = new QPushButton(Text(strings, kRestoreOnline), this);
    buttons->addStretch(1);
    buttons->addWidget(setButton_);
    buttons->addWidget(get_);
    buttons->addWidget(restore_);
    outer->addLayout(buttons);
    connect(get_, &QPushButton::clicked, this, [this] { GetParameters(); });
    connect(setButton_, &QPushButton::clicked, this, [this] { SetParameters(); });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (set_.restoreOnline) set_.restoreOnline();
    });
}

QWidget* ParameterPage::BuildBody() {
    fields_.clear();
    checks_.clear();
    groupNames_.clear();
    wepSizes_.clear();
    auto* body = new QWidget;
    auto* columns = new QHBoxLayout(body);
    std::array<QVBoxLayout*, kGroupColumns> column{};
    std::array<int, kGroupColumns> filled{};  // rows laid into each column
    for (auto*& c : column) {
        c = new QVBoxLayout;
        columns->addLayout(c, 1);
    }
    if (const PrinterModel* model = services_.document.model()) {
        // The layout's order first, then any group it does not know.
        std::vector<const ParamGroup*> groups;
        for (const params::LayoutGroup& layout : params::ParameterLayout()) {
            if (layout.pageIndex != pageIndex_) continue;
            for (const ParamGroup& group : model->groups)
                if (group.checkBoxId == layout.checkBoxId && group.pageIndex == pageIndex_)
                    groups.push_back(&group);
        }
        for (const ParamGroup& group : model->groups)
            if (group.pageIndex == pageIndex_ && !params::FindLayoutGroup(group.checkBoxId))
                groups.push_back(&group);
        // Each group goes to the shorter column, so both end near each other.
        for (const ParamGroup* group : groups) {
            const std::size_t target = filled[0] <= filled[1] ? 0 : 1;
            filled[target] += AddGroup(*group, column[target], body);
        }
    }
    for (QVBoxLayout* c : column) c->addStretch(1);
    ConnectDependencies();
    return body;
}

int ParameterPage::AddGroup(const ParamGroup& group, QVBoxLayout* column, QWidget* body) {
    const Strings& strings = services_.context.strings;
    auto* frame = new QGroupBox(body);
    auto* form = new QGridLayout(frame);
    form->setColumnStretch(1, 1);
    auto* check = new QCheckBox(ToQt(params::GroupCaption(strings, group.checkBoxId)), frame);
    check->setObjectName(QStringLiteral("group%1").arg(group.checkBoxId));
    check->setChecked(set_.ticks.Has(group.name));
    const std::string name = group.name;
    connect(check, &QCheckBox::toggled, this, [this, name](bool on) {
        set_.ticks.Set(name, on);
        UpdateEnabling();
        for (ParameterPage* page : set_.pages) page->UpdateButtons();
    });
    checks_[group.checkBoxId] = check;
    groupNames_[group.checkBoxId] = group.name;
    form->addWidget(check, 0, 0, 1, 3);

    std::vector<params::LayoutRow> rows;
    std::set<int> placed;
    if (const params::LayoutGroup* layout = params::FindLayoutGroup(group.checkBoxId)) rows = layout->rows;
    for (const params::LayoutRow& row : rows)
        for (const params::LayoutControl& c : row.controls) placed.insert(c.ctrlId);
    for (int ctrlId : group.ctrlIds)
        if (!placed.count(ctrlId)) rows.push_back({{{ctrlId}}});

    int line = 1;
    for (const params::LayoutRow& row : rows) {
        auto* cell = new QWidget(frame);
        auto* cellRow = new QHBoxLayout(cell);
        cellRow->setContentsMargins(0, 0, 0, 0);
        int captionId = row.captionId;
        bool any = false;
        for (const params::LayoutControl& c : row.controls) {
            ParamItem* item = ItemOf(c.ctrlId);
            if (!item) continue;
            if (captionId == 0) captionId = item->messageId;
            QWidget* widget =
                MakeControl(*item, c.shape == params::ControlShape::Password, cell);
            widget->setObjectName(QStringLiteral("ctrl%1").arg(c.ctrlId));
            // The printer's value beside the editable one takes less room.
            cellRow->addWidget(widget, c.shape == params::ControlShape::Shown ? 0 : 1);
            fields_.push_back({c.ctrlId, group.name, widget});
            any = true;
        }
        if (!any) {
            delete cell;
            continue;
        }
        form->addWidget(new QLabel(ToQt(strings.Get(captionId)), frame), line, 0);
        form->addWidget(cell, line, 1);
        if (row.unitId != 0) form->addWidget(new QLabel(Text(strings, row.unitId), frame), line, 2);
        ++line;
    }
    column->addWidget(frame);
    return line;
}

QWidget* ParameterPage::MakeControl(ParamItem& item, bool password, QWidget* parent) {
    using namespace params::kind;
    if (params::IsList(item.kind)) {
        auto* combo = new QComboBox(parent);
        const auto& labels = services_.context.isJapanese && !item.labelsJpn.empty()
                                 ? item.labelsJpn
                                 : item.labels;
        for (const std::string& label : labels) combo->addItem(ToQt(label));
        return combo;
    }
    switch (item.kind) {
        case kHexByte: {
            QLineEdit* edit = MakeHexByteEdit(parent);
            if (item.ctrlId == kEuroFontCtrl) {
                const ParamItem rules = item;
                connect(edit, &QLineEdit::editingFinished, edit, [edit, rules] {
                    if (const auto settled = params::SettleHexByte(rules, HexByteDigits(edit)))
                        ShowHexByte(edit, *settled);
                });
            }
            return edit;
        }
        case kIpAddress:
            return new AddressEdit(parent);
        case kDate: {
            auto* date = new QDateEdit(parent);
            date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
            date->setDateRange(QDate(kFirstCentury, 1, 1), QDate(kFirstCentury + 99, 12, 31));
            date->setCalendarPopup(true);
            return date;
        }
        case kTime: {
            auto* time = new QTimeEdit(parent);
            time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
            return time;
        }
        case kFile:
            return new FileEdit(
                [this] { return services_.files.OpenFile(this, 0, kAllFilesFilter); }, parent);
        default:
            break;
    }
    if (password) return MakePassword(item, parent);
    auto* edit = new QLineEdit(parent);
    if (item.maxLength > 0) edit->setMaxLength(item.maxLength);
    if (item.kind == kReadOnly) {
        edit->setReadOnly(true);
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-000.0")) + 16);
        return edit;
    }
    AttachEditFilter(edit, item.kind);
    if (!params::HoldsNumber(item.kind)) return edit;
    SettleNumberOnLeave(edit, item);
    return item.spinId < 0 ? edit : WithSpin(edit, item, parent);
}

QWidget* ParameterPage::MakePassword(ParamItem& item, QWidget* parent) {
    const int ctrlId = item.ctrlId;
    auto* edit = new PasswordEdit(RemasksUntouched(ctrlId), parent);
    if (item.maxLength > 0) edit->setMaxLength(item.maxLength);
    AttachEditFilter(edit, item.kind == params::kind::kHexPassword ? params::kind::kHex : item.kind);
    if (!StartsUnmasked(ctrlId)) edit->Mask();
    edit->commit = [this, ctrlId](const std::string& typed) {
        ParamItem* target = ItemOf(ctrlId);
        if (!target) return typed;
        const std::lock_guard lock(services_.document.modelMutex());
        params::SetValueText(*target, params::SettlePassword(*target, typed, PasswordRuleOf(ctrlId)));
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
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('9')) *
                              (std::max(item.maxLength, 2) + 3) + 12);
    row->addWidget(edit);
    row->addWidget(spin);
    row->addStretch(1);
    box->setFocusProxy(edit);
    return box;
}

void ParameterPage::ShowItem(ParamItem& item, QWidget* widget) const {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const auto language = params::ShownLanguageFor(services_.context.isJapanese);
        const auto entry = params::MatchingEntry(item);
        const auto& labels = language == params::ShownLanguage::Japanese && !item.labelsJpn.empty()
                                 ? item.labelsJpn
                                 : item.labels;
        const int shown = entry && *entry < labels.size() ? combo->findText(ToQt(labels[*entry])) : -1;
        combo->setCurrentIndex(shown >= 0 ? shown : 0);
        return;
    }
    if (auto* address = qobject_cast<AddressEdit*>(widget)) {
        address->setText(item.textValue);
        return;
    }
    if (auto* date = qobject_cast<QDateEdit*>(widget)) {
        if (item.textValue.empty()) {
            const QDate today = QDate::currentDate();
            item.textValue = params::JoinParts({today.year() % 100, today.month(), today.day()});
        }
        const auto [y, m, d] = params::DateParts(item.textValue);
        const QDate first(kFirstCentury + y, m, 1);
        date->setDate(first.addDays(std::min(d, first.daysInMonth()) - 1));
        return;
    }
    if (auto* time = qobject_cast<QTimeEdit*>(widget)) {
        if (item.textValue.empty()) {
            const QTime now = QTime::currentTime();
            item.textValue = params::JoinParts({now.hour(), now.minute(), now.second()});
        }
        const auto [h, m, s] = params::TimeParts(item.textValue);
        time->setTime(QTime(h, m, s));
        return;
    }
    QLineEdit* edit = EditOf(widget);
    if (!edit) return;
    if (item.kind == params::kind::kHexByte) {
        ShowHexByte(edit, item.textValue);
    } else if (item.kind == params::kind::kReadOnly) {
        edit->setText(QString::number(item.numValue));
    } else {
        edit->setText(ToQt(params::HoldsNumber(item.kind) ? params::CommandText(item)
                                                          : item.textValue));
    }
}

void ParameterPage::ReadItem(ParamItem& item, QWidget* widget) const {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->currentIndex() >= 0) params::SetValueText(item, FromQt(combo->currentText()));
        return;
    }
    if (auto* address = qobject_cast<AddressEdit*>(widget)) {
        params::SetValueText(item, address->text());
        return;
    }
    if (auto* date = qobject_cast<QDateEdit*>(widget)) {
        const QDate d = date->date();
        params::SetValueText(item, params::JoinParts({d.year() % 100, d.month(), d.day()}));
        return;
    }
    if (auto* time = qobject_cast<QTimeEdit*>(widget)) {
        const QTime t = time->time();
        params::SetValueText(item, params::JoinParts({t.hour(), t.minute(), t.second()}));
        return;
    }
    QLineEdit* edit = EditOf(widget);
    if (!edit || edit->isReadOnly()) return;
    params::SetValueText(item, item.kind == params::kind::kHexByte ? HexByteDigits(edit)
                                                                  : FromQt(edit->text()));
}

ParamItem* ParameterPage::ItemOf(int ctrlId) const {
    PrinterModel* model = services_.document.model();
    if (!model) return nullptr;
    for (ParamItem& item : model->items)
        if (item.ctrlId == ctrlId && item.pageIndex == pageIndex_) return &item;
    return nullptr;
}

bool ParameterPage::IsAvailable(const ParamItem& item) const {
    const ServiceMode mode = services_.context.serviceMode;
    if (item.flag & item_flag::kNotOnPrinter) return false;
    if ((item.flag & (item_flag::kService | item_flag::kServiceToo)) && mode == ServiceMode::Off)
        return false;
    if ((item.flag & item_flag::kNotRestrictedService) && mode == ServiceMode::Restricted)
        return false;
    if ((item.flag & item_flag::kNotMultiLan) && multiLan_) return false;
    return true;
}

void ParameterPage::UpdateEnabling() {
    const bool service = services_.context.serviceMode != ServiceMode::Off;
    for (const Field& field : fields_) {
        const ParamItem* item = ItemOf(field.ctrlId);
        const bool ticked = params::IsGroupTicked(set_.ticks, field.group, service);
        field.widget->setEnabled(ticked && (!item || IsAvailable(*item)) &&
                                 DependencyAllows(field.ctrlId));
    }
    UpdateButtons();
}

void ParameterPage::UpdateButtons() {
    get_->setEnabled(!multiLan_);
    setButton_->setEnabled(!set_.ticks.ticked.empty());
    restore_->setVisible(services_.context.settingModeState != SettingModeState::Online);
}

void ParameterPage::StoreValues() {
    if (!services_.document.model()) return;
    const std::lock_guard lock(services_.document.modelMutex());
    for (const Field& field : fields_)
        if (ParamItem* item = ItemOf(field.ctrlId)) ReadItem(*item, field.widget);
}

void ParameterPage::RefreshFromModel() {
    filling_ = true;
    if (services_.document.model()) {
        const std::lock_guard lock(services_.document.modelMutex());
        for (const Field& field : fields_)
            if (ParamItem* item = ItemOf(field.ctrlId)) ShowItem(*item, field.widget);
    }
    for (auto& [id, check] : checks_) {
        const QSignalBlocker block(check);
        check->setChecked(set_.ticks.Has(groupNames_[id]));
    }
    ApplyDependencies();
    filling_ = false;
    UpdateEnabling();
}

void ParameterPage::Rebuild() {
    QWidget* old = scroll_->takeWidget();
    scroll_->setWidget(BuildBody());
    delete old;
    RefreshFromModel();
}

// A new model or destination: the page starts afresh with nothing ticked.
void ParameterPage::ResetPage(const PageResets& resets) {
    if (!resets.parameters && !resets.destinationItems) return;
    set_.ticks.ticked.clear();
    Rebuild();
}

void ParameterPage::ServiceModeChanged() {
    ShowCountryLists();
    UpdateEnabling();
}

void ParameterPage::SetMultiLanMode(bool on) {
    multiLan_ = on;
    UpdateEnabling();
}

void ParameterPage::TickAll(bool on) {
    for (auto& [id, check] : checks_) {
        const QSignalBlocker block(check);
        check->setChecked(on);
        set_.ticks.Set(groupNames_[id], on);
    }
}

void ParameterPage::RefreshAll() {
    for (ParameterPage* page : set_.pages) page->RefreshFromModel();
}

void ParameterPage::MaskPasswords(const std::set<int>& ctrlIds) {
    for (const Field& field : fields_)
        if (auto* edit = qobject_cast<PasswordEdit*>(field.widget); edit && ctrlIds.count(field.ctrlId))
            edit->Mask();
}

QWidget* ParameterPage::control(int ctrlId) const {
    for (const Field& field : fields_)
        if (field.ctrlId == ctrlId) return field.widget;
    return nullptr;
}

QCheckBox* ParameterPage::groupCheck(int checkBoxId) const {
    const auto it = checks_.find(checkBoxId);
    return it == checks_.end() ? nullptr : it->second;
}

std::vector<int> ParameterPage::controlIds() const {
    std::vector<int> ids;
    for (const Field& field : fields_) ids.push_back(field.ctrlId);
    return ids;
}

}  // namespace rvq::ui
