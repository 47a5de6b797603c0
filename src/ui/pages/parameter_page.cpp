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
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_model.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/pages/page_rules.h"
#include "core/params/group_captions.h"
#include "core/params/input_rules.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "core/params/page_layout.h"
#include "ui/pages/parameter_controls.h"
#include "ui/scrolling_frame.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

// Close rows and frames, so that the busiest pages fit the default window.
constexpr int kRowSpacing = 2;
constexpr int kFrameMargin = 6;
constexpr int kFrameTopBottom = 4;
constexpr int kFrameSpacing = 5;
constexpr int kPageTopMargin = 2;
constexpr int kFirstCentury = 2000;

QLineEdit* EditOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit;
    if (auto* file = qobject_cast<FileEdit*>(widget)) return file->lineEdit();
    return widget->findChild<QLineEdit*>();
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
    outer->setContentsMargins(0, kPageTopMargin, 0, 0);
    outer->setSpacing(kFrameSpacing);
    scroll_ = ScrollingFrame(BuildBody(), this);
    outer->addWidget(scroll_, 1);

    const Strings& strings = services_.context.strings;
    auto* buttons = new QHBoxLayout;
    get_ = new QPushButton(Text(strings, sid::kGetParameter), this);
    setButton_ = new QPushButton(Text(strings, sid::kSetParameter) + QStringLiteral("..."), this);
    restore_ = new QPushButton(Text(strings, sid::kRestoreOnline), this);
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
    frames_.clear();
    frameSizes_.clear();
    columnCounts_.clear();
    auto* body = new QWidget;
    columns_ = new QHBoxLayout(body);
    columns_->setContentsMargins(0, 0, 0, 0);
    columns_->setSpacing(kFrameSpacing);
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
        for (const ParamGroup* group : groups) {
            int caption = 0;
            QGroupBox* frame = AddGroup(*group, body, caption);
            const QSize natural = frame->sizeHint();
            frames_.push_back(frame);
            frameSizes_.push_back({caption, natural.width() - caption, natural.height()});
        }
    }
    LayOutColumns();
    ConnectDependencies();
    return body;
}

QGroupBox* ParameterPage::AddGroup(const ParamGroup& group, QWidget* body, int& captionWidth) {
    const Strings& strings = services_.context.strings;
    auto* frame = new QGroupBox(body);
    auto* form = new QGridLayout(frame);
    form->setContentsMargins(kFrameMargin, kFrameTopBottom, kFrameMargin, kFrameTopBottom);
    form->setVerticalSpacing(kRowSpacing);
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
    form->addWidget(check, 0, 0, 1, 2);

    std::vector<params::LayoutRow> rows;
    std::set<int> placed;
    if (const params::LayoutGroup* layout = params::FindLayoutGroup(group.checkBoxId))
        rows = layout->rows;
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
        int firstCtrl = 0;
        bool grows = false;
        for (const params::LayoutControl& c : row.controls) {
            ParamItem* item = ItemOf(c.ctrlId);
            if (!item) continue;
            if (captionId == 0) captionId = item->messageId;
            if (firstCtrl == 0) firstCtrl = c.ctrlId;
            QWidget* widget = MakeControl(*item, c.shape == params::ControlShape::Password, cell);
            widget->setObjectName(QStringLiteral("ctrl%1").arg(c.ctrlId));
            // Lists and texts share the row's room; numbers keep their width.
            const bool fixed = widget->sizePolicy().horizontalPolicy() == QSizePolicy::Fixed;
            cellRow->addWidget(widget, fixed ? 0 : 1);
            grows = grows || !fixed;
            fields_.push_back({c.ctrlId, group.name, widget});
        }
        if (firstCtrl == 0) {
            delete cell;
            continue;
        }
        // The unit follows its field, however wide the page.
        if (row.unitId != 0) {
            auto* unit = new QLabel(Text(strings, row.unitId), cell);
            unit->setObjectName(QStringLiteral("unit%1").arg(firstCtrl));
            cellRow->addWidget(unit);
        }
        if (!grows) cellRow->addStretch(1);
        auto* caption = new QLabel(ToQt(strings.Get(captionId)), frame);
        captionWidth = std::max(captionWidth, caption->sizeHint().width());
        form->addWidget(caption, line, 0);
        form->addWidget(cell, line, 1);
        ++line;
    }
    return frame;
}

void ParameterPage::LayOutColumns() {
    // The vertical scroll bar may come and go with the columns; leaving its
    // room always keeps the count from flipping between two values.
    const int available =
        scroll_ == nullptr
            ? 0
            : scroll_->width() - scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const params::ColumnPlan plan = params::PlanColumns(frameSizes_, available, kFrameSpacing);
    if (plan.counts == columnCounts_) return;
    columnCounts_ = plan.counts;
    while (QLayoutItem* old = columns_->takeAt(0)) delete old;  // the frames stay
    std::size_t next = 0;
    for (std::size_t c = 0; c < plan.counts.size(); ++c) {
        auto* column = new QVBoxLayout;
        column->setSpacing(kFrameSpacing);
        for (std::size_t i = 0; i < plan.counts[c]; ++i, ++next) {
            QGroupBox* frame = frames_[next];
            // The fields of a column's frames start at the same place.
            static_cast<QGridLayout*>(frame->layout())
                ->setColumnMinimumWidth(0, plan.captionWidths[c]);
            column->addWidget(frame);
        }
        column->addStretch(1);
        columns_->addLayout(column, 1);
    }
}

void ParameterPage::resizeEvent(QResizeEvent* event) {
    PageView::resizeEvent(event);
    LayOutColumns();
}

void ParameterPage::ShowItem(ParamItem& item, QWidget* widget) const {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const auto language = params::ShownLanguageFor(services_.context.isJapanese);
        const auto entry = params::MatchingEntry(item);
        const auto& labels = language == params::ShownLanguage::Japanese && !item.labelsJpn.empty()
                                 ? item.labelsJpn
                                 : item.labels;
        const int shown =
            entry && *entry < labels.size() ? combo->findText(ToQt(labels[*entry])) : -1;
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
        edit->setText(
            ToQt(params::HoldsNumber(item.kind) ? params::CommandText(item) : item.textValue));
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
    params::SetValueText(
        item, item.kind == params::kind::kHexByte ? HexByteDigits(edit) : FromQt(edit->text()));
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
        if (auto* edit = qobject_cast<PasswordEdit*>(field.widget);
            edit && ctrlIds.count(field.ctrlId))
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
