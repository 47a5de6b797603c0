#include "ui/pages/parameter_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/navigation.h"
#include "core/app/printer_model.h"
#include "core/app/text.h"
#include "core/comm/job_inputs.h"
#include "core/params/group_captions.h"
#include "core/params/group_checks.h"
#include "core/params/input_rules.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "core/params/model_values.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kGetParameter = 785;
constexpr int kSetParameter = 786;
constexpr int kRestoreOnline = 799;
constexpr int kMsgSetConfirm = 1302;
constexpr int kGroupColumns = 2;
constexpr int kContrastCtrl = 4801;

bool IsNumberEdit(int itemKind) { return params::HoldsNumber(itemKind); }

// Filters typing by the item's kind and, for numbers, settles the range
// when the field is left.
void AttachInputRules(QLineEdit* edit, const ParamItem& item) {
    const int itemKind = item.kind;
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, itemKind](const QString& text) {
        const QString filtered = ToQt(params::FilterInput(itemKind, FromQt(text)));
        if (filtered != text) edit->setText(filtered);
    });
    if (IsNumberEdit(itemKind)) {
        const ParamItem rules = item;
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, rules] {
            std::string text = FromQt(edit->text());
            // Contrast takes even values only: an odd one drops toward zero.
            if (rules.ctrlId == kContrastCtrl && !text.empty()) {
                const int value = ParseLeadingInt(text);
                text = std::to_string(value - value % 2);
            }
            const QString settled = ToQt(params::ClampOnLeave(rules, text));
            if (settled != edit->text()) edit->setText(settled);
        });
    }
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
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* body = new QWidget(scroll);
    auto* grid = new QGridLayout(body);
    PrinterModel* model = services_.document.model();
    int slot = 0;
    if (model) {
        for (const ParamGroup& group : model->groups) {
            if (group.pageIndex != pageIndex_) continue;
            auto* frame = new QGroupBox(body);
            auto* form = new QFormLayout(frame);
            auto* check = new QCheckBox(ToQt(params::GroupCaption(services_.context.strings, group.checkBoxId)), frame);
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
            form->addRow(check);
            for (int ctrlId : group.ctrlIds) {
                for (ParamItem& item : model->items) {
                    if (item.ctrlId != ctrlId || item.pageIndex != pageIndex_) continue;
                    QWidget* widget = MakeControl(item, frame);
                    widget->setObjectName(QStringLiteral("ctrl%1").arg(ctrlId));
                    form->addRow(ToQt(services_.context.strings.Get(item.messageId)), widget);
                    fields_.push_back({ctrlId, group.name, widget});
                    break;
                }
            }
            grid->addWidget(frame, slot / kGroupColumns, slot % kGroupColumns, Qt::AlignTop);
            ++slot;
        }
    }
    grid->setRowStretch(slot / kGroupColumns + 1, 1);
    scroll->setWidget(body);
    outer->addWidget(scroll, 1);

    const Strings& strings = services_.context.strings;
    auto* buttons = new QHBoxLayout;
    get_ = new QPushButton(Text(strings, kGetParameter), this);
    setButton_ = new QPushButton(Text(strings, kSetParameter) + QStringLiteral("..."), this);
    restore_ = new QPushButton(Text(strings, kRestoreOnline), this);
    buttons->addStretch(1);
    buttons->addWidget(get_);
    buttons->addWidget(setButton_);
    buttons->addWidget(restore_);
    outer->addLayout(buttons);
    connect(get_, &QPushButton::clicked, this, [this] { GetParameters(); });
    connect(setButton_, &QPushButton::clicked, this, [this] { SetParameters(); });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (set_.restoreOnline) set_.restoreOnline();
    });
}

QWidget* ParameterPage::MakeControl(ParamItem& item, QWidget* parent) {
    if (params::IsList(item.kind)) {
        auto* combo = new QComboBox(parent);
        const auto& labels = services_.context.isJapanese && !item.labelsJpn.empty()
                                 ? item.labelsJpn
                                 : item.labels;
        for (const std::string& label : labels) combo->addItem(ToQt(label));
        return combo;
    }
    auto* edit = new QLineEdit(parent);
    if (item.maxLength > 0) edit->setMaxLength(item.maxLength);
    if (item.kind == params::kind::kReadOnly) {
        edit->setReadOnly(true);
        return edit;
    }
    if (item.kind == params::kind::kHexPassword) edit->setEchoMode(QLineEdit::Password);
    AttachInputRules(edit, item);
    if (item.spinId < 0 || !IsNumberEdit(item.kind)) return edit;
    // A spin control beside the field steps the number within its range.
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* spin = new QSpinBox(box);
    spin->setObjectName(QStringLiteral("spin%1").arg(item.spinId));
    spin->setRange(-1, 1);
    spin->setFixedWidth(spin->sizeHint().height());
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    const ParamItem rules = item;
    connect(spin, &QSpinBox::valueChanged, edit, [edit, spin, rules](int step) {
        if (step == 0) return;
        const int stride = rules.ctrlId == kContrastCtrl ? 2 : 1;
        edit->setText(ToQt(params::SpinStep(rules, FromQt(edit->text()), step * stride).text));
        const QSignalBlocker block(spin);
        spin->setValue(0);
    });
    spin->setValue(0);
    row->addWidget(edit, 1);
    row->addWidget(spin);
    box->setFocusProxy(edit);
    return box;
}

namespace {
QLineEdit* EditOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit;
    return widget->findChild<QLineEdit*>();
}
}  // namespace

void ParameterPage::ShowItem(const ParamItem& item, QWidget* widget) const {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const auto language = params::ShownLanguageFor(services_.context.isJapanese);
        combo->setCurrentIndex(params::SelectedIndex(item, language));
        return;
    }
    if (QLineEdit* edit = EditOf(widget)) {
        const std::string text = params::HoldsNumber(item.kind) ? params::CommandText(item)
                                                                : item.textValue;
        edit->setText(ToQt(text));
    }
}

void ParameterPage::ReadItem(ParamItem& item, QWidget* widget) const {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->currentIndex() >= 0) params::SetValueText(item, FromQt(combo->currentText()));
        return;
    }
    QLineEdit* edit = EditOf(widget);
    if (edit && !edit->isReadOnly()) params::SetValueText(item, FromQt(edit->text()));
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
    const PrinterModel* model = services_.document.model();
    if (!model) return;
    for (const Field& field : fields_) {
        bool available = true;
        for (const ParamItem& item : model->items) {
            if (item.ctrlId == field.ctrlId && item.pageIndex == pageIndex_) {
                available = IsAvailable(item);
                break;
            }
        }
        const bool ticked = params::IsGroupTicked(set_.ticks, field.group, service);
        field.widget->setEnabled(ticked && available);
    }
    UpdateButtons();
}

void ParameterPage::UpdateButtons() {
    get_->setEnabled(!multiLan_);
    setButton_->setEnabled(!set_.ticks.ticked.empty());
    restore_->setVisible(services_.context.settingModeState != SettingModeState::Online);
}

void ParameterPage::StoreValues() {
    PrinterModel* model = services_.document.model();
    if (!model) return;
    const std::lock_guard lock(services_.document.modelMutex());
    for (const Field& field : fields_) {
        for (ParamItem& item : model->items) {
            if (item.ctrlId == field.ctrlId && item.pageIndex == pageIndex_) {
                ReadItem(item, field.widget);
                break;
            }
        }
    }
}

void ParameterPage::RefreshFromModel() {
    PrinterModel* model = services_.document.model();
    if (model) {
        const std::lock_guard lock(services_.document.modelMutex());
        for (const Field& field : fields_) {
            for (const ParamItem& item : model->items) {
                if (item.ctrlId == field.ctrlId && item.pageIndex == pageIndex_) {
                    ShowItem(item, field.widget);
                    break;
                }
            }
        }
    }
    for (auto& [id, check] : checks_) {
        const QSignalBlocker block(check);
        const auto* group = [&]() -> const ParamGroup* {
            if (!model) return nullptr;
            for (const ParamGroup& g : model->groups)
                if (g.checkBoxId == id) return &g;
            return nullptr;
        }();
        if (group) check->setChecked(set_.ticks.Has(group->name));
    }
    UpdateEnabling();
}

void ParameterPage::ServiceModeChanged() { UpdateEnabling(); }

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

bool ParameterPage::HandleCommand(int command) {
    PrinterModel* model = services_.document.model();
    switch (command) {
        case command::kEnableAll:
        case command::kDisableAll:
            for (ParameterPage* page : set_.pages) page->TickAll(command == command::kEnableAll);
            RefreshAll();
            return true;
        case command::kEnableAllInTab:
        case command::kDisableAllInTab:
            TickAll(command == command::kEnableAllInTab);
            RefreshAll();
            return true;
        case command::kRestoreDefault:
        case command::kRestoreDisplay: {
            if (!model) return true;
            const bool everyPage = command == command::kRestoreDefault;
            {
                const std::lock_guard lock(services_.document.modelMutex());
                params::RestoreDefaults(*model,
                                        everyPage ? std::nullopt : std::optional<int>(pageIndex_));
            }
            if (everyPage) {
                for (ParameterPage* page : set_.pages) page->TickAll(false);
            } else {
                TickAll(false);
            }
            RefreshAll();
            return true;
        }
        default:
            return false;
    }
}

void ParameterPage::SetMultiLanMode(bool on) {
    multiLan_ = on;
    UpdateEnabling();
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

bool ParameterPage::RunJob(int kind, std::vector<std::uint32_t> numbers) {
    if (!services_.runJob) return false;
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = static_cast<JobKind>(kind);
    inputs->numbers = std::move(numbers);
    return services_.runJob(this, inputs) == QDialog::Accepted;
}

void ParameterPage::GetParameters() {
    const PrinterModel* model = services_.document.model();
    if (!model) return;
    for (ParameterPage* page : set_.pages) page->StoreValues();
    std::vector<std::uint32_t> ids(model->getCommandIndexes.begin(),
                                   model->getCommandIndexes.end());
    RunJob(static_cast<int>(JobKind::GetParameter), std::move(ids));
    for (ParameterPage* page : set_.pages) page->RefreshFromModel();
}

void ParameterPage::SetParameters() {
    PrinterModel* model = services_.document.model();
    if (!model) return;
    for (ParameterPage* page : set_.pages) page->StoreValues();
    AppContext& context = services_.context;
    const bool service = context.serviceMode != ServiceMode::Off;
    std::vector<int> groups;
    {
        const std::lock_guard lock(services_.document.modelMutex());
        groups = params::GatherGroups(*model, set_.ticks, service);
        const params::GroupCheckContext checkContext{service, multiLan_};
        if (groups.empty() || !params::ValidateGroups(*model, set_.ticks, checkContext,
                                                      context.strings, services_.interaction))
            return;
    }
    if (!services_.interaction.Confirm(kMsgSetConfirm, context.strings.Get(kMsgSetConfirm))) return;
    const bool done = RunJob(static_cast<int>(JobKind::SetParameter),
                             std::vector<std::uint32_t>(groups.begin(), groups.end()));
    if (done) {
        const std::lock_guard lock(services_.document.modelMutex());
        params::CommitReadValues(*model);
    }
    for (ParameterPage* page : set_.pages) page->RefreshFromModel();
}

}  // namespace rvq::ui
