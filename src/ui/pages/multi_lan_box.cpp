#include "ui/pages/multi_lan_box.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "core/app/app_context.h"
#include "core/app/field_rules.h"
#include "core/app/multi_lan_edit.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/ops/status_check.h"
#include "core/comm/port/loopback_guard.h"
#include "ui/column_widths.h"
#include "ui/file_dialogs.h"
#include "ui/line_edit_rules.h"
#include "ui/number_edit.h"
#include "ui/pictures.h"
#include "ui/status_check.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kNumberColumnLabel = 60115;
constexpr int kListLabel = 60109;
constexpr int kHostLabel = 60108;
constexpr int kPortLabel = 60103;
constexpr int kAddLabel = 60110;
constexpr int kDeleteLabel = 60111;
constexpr int kImportLabel = 60112;
constexpr int kExportLabel = 60113;
constexpr int kCheckLabel = 60118;
constexpr int kStopLabel = 60119;
constexpr int kStatusColumnLabel = 60120;
constexpr int kReadyText = 60121;
constexpr int kErrorText = 60122;
constexpr int kNoAnswerText = 60123;
constexpr int kCheckingText = 60124;
constexpr int kStoppedText = 60125;
constexpr int kReadyDetail = 60126;
constexpr int kNoReplyDetail = 60127;
constexpr int kNoStatusDetail = 60128;
constexpr int kStoppedDetail = 60129;
constexpr int kStatusCodeDetail = 60130;
constexpr int kMsgPreviousJobRunning = 60203;
constexpr int kHostMaxLength = 32;
constexpr int kDefaultPort = 8000;

QTableWidgetItem* Cell(const QString& text, bool right) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

std::string Formatted(const Strings& strings, int id, int value) {
    return FormatRuntime(strings.Get(id), value);
}

// The status column's word for an answer.
QString StateText(const Strings& strings, const StatusVerdict& v) {
    switch (v.state) {
        case PrinterState::Ready:
            return Text(strings, kReadyText);
        case PrinterState::Error:
            return ToQt(Formatted(strings, kErrorText, v.code));
        case PrinterState::NoAnswer:
            return Text(strings, kNoAnswerText);
        case PrinterState::Stopped:
            break;
    }
    return Text(strings, kStoppedText);
}

// The detail behind the word: what the printer said, or why it said nothing.
QString StateDetail(const Strings& strings, const StatusAnswer& a, const StatusVerdict& v,
                    int timeoutMs) {
    switch (v.state) {
        case PrinterState::Ready:
            return ToQt(Formatted(strings, kReadyDetail, v.code));
        case PrinterState::Error:
            if (v.messageId == sid::kDetailPrinterError)
                return ToQt(Formatted(strings, v.messageId, v.code));
            return Text(strings, v.messageId) + QLatin1Char('\n') +
                   ToQt(Formatted(strings, kStatusCodeDetail, v.code));
        case PrinterState::NoAnswer: {
            std::string why;
            if (a.outcome == StatusOutcome::NoAnswer)
                why = Formatted(strings, kNoReplyDetail, (timeoutMs + 999) / 1000);
            else if (a.outcome == StatusOutcome::Answered)
                why = strings.Get(kNoStatusDetail);
            else if (a.outcome == StatusOutcome::Refused)
                why = LoopbackRefusal(a.settings.substr(0, a.settings.rfind(','))).value_or("");
            else if (a.systemError != 0)
                why = std::strerror(static_cast<int>(a.systemError));
            QString text = Text(strings, v.messageId);
            if (!why.empty()) text += QLatin1Char('\n') + ToQt(why);
            return text;
        }
        case PrinterState::Stopped:
            break;
    }
    return Text(strings, kStoppedDetail);
}

}  // namespace

MultiLanBox::MultiLanBox(UiServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    const Strings& strings = services.context.strings;
    table_ = new QTableWidget(0, 4, this);
    table_->setHorizontalHeaderLabels(
        {Text(strings, kNumberColumnLabel), Text(strings, sid::kHostColumn),
         Text(strings, sid::kPortColumn), Text(strings, kStatusColumnLabel)});
    table_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->horizontalHeaderItem(2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->horizontalHeaderItem(kStatusColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetColumnWidths(table_->horizontalHeader(),
                    {35, services.context.isJapanese ? 215 : 175, 80, 120});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // As wide as its columns, so the buttons stay beside them.
    int columns = 0;
    for (int c = 0; c < table_->columnCount(); ++c) columns += table_->columnWidth(c);
    table_->setFixedWidth(columns + 2 * table_->frameWidth() +
                          table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    connect(table_, &QTableWidget::itemSelectionChanged, this, &MultiLanBox::OnSelectionChanged);

    host_ = new QLineEdit(this);
    host_->setMaxLength(kHostMaxLength);
    host_->setMinimumWidth(240);
    host_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    FilterWhileTyping(host_, KeepAscii);
    TrimOnLeave(host_);
    connect(host_, &QLineEdit::textChanged, this, &MultiLanBox::UpdateButtons);
    port_ = new NumberEdit(0, 65535, kDefaultPort, 5, this);

    add_ = new QPushButton(Text(strings, kAddLabel), this);
    delete_ = new QPushButton(Text(strings, kDeleteLabel), this);
    import_ = new QPushButton(Text(strings, kImportLabel), this);
    export_ = new QPushButton(Text(strings, kExportLabel), this);
    check_ = new QPushButton(Text(strings, kCheckLabel), this);
    // Wide enough for either of its two texts, so it does not jump.
    check_->setMinimumWidth(std::max(check_->sizeHint().width(),
                                     QPushButton(Text(strings, kStopLabel)).sizeHint().width()));
    statusCheck_ = new StatusCheck(this);
    statusCheck_->onAnswer = [this](int index, const StatusAnswer& answer) {
        OnAnswer(index, answer);
    };
    statusCheck_->onDone = [this] { OnCheckDone(); };
    connect(add_, &QPushButton::clicked, this, &MultiLanBox::OnAdd);
    connect(delete_, &QPushButton::clicked, this, &MultiLanBox::OnDelete);
    connect(import_, &QPushButton::clicked, this, &MultiLanBox::OnImport);
    connect(export_, &QPushButton::clicked, this, &MultiLanBox::OnExport);
    connect(check_, &QPushButton::clicked, this, &MultiLanBox::OnCheck);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add_, delete_, import_, export_}) buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(check_);
    buttons->addStretch(1);
    auto* list = new QHBoxLayout;
    list->addWidget(table_);
    list->addLayout(buttons);
    list->addStretch(1);
    auto* entry = new QFormLayout;
    entry->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    entry->addRow(Text(strings, kHostLabel), host_);
    entry->addRow(Text(strings, kPortLabel), port_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Text(strings, kListLabel), this));
    layout->addLayout(list, 1);
    layout->addLayout(entry);
    UpdateButtons();
}

MultiLanBox::~MultiLanBox() {
    if (!checking()) return;
    // Stops the check and waits for its worker before the state it holds goes.
    delete statusCheck_;
    services_.context.jobRunning = false;
}

void MultiLanBox::SetPrinters(const std::vector<LanPrinter>& printers) {
    if (checking()) statusCheck_->Stop();
    printers_ = printers;
    ForgetStatuses();
    Refill(-1);
}

bool MultiLanBox::checking() const { return statusCheck_->running(); }

void MultiLanBox::Refill(int selected) {
    {
        const QSignalBlocker blocker(table_);
        table_->clearContents();
        table_->setRowCount(static_cast<int>(printers_.size()));
        for (std::size_t i = 0; i < printers_.size(); ++i) {
            const int row = static_cast<int>(i);
            table_->setItem(row, 0, Cell(QString::number(row + 1), true));
            table_->setItem(row, 1, Cell(ToQt(printers_[i].host), false));
            table_->setItem(row, 2, Cell(QString::number(printers_[i].port), true));
            table_->setItem(row, kStatusColumn, Cell(QString(), false));
            ShowStatus(row);
        }
        table_->clearSelection();
        if (selected >= 0 && selected < table_->rowCount()) table_->selectRow(selected);
    }
    OnSelectionChanged();
}

int MultiLanBox::Selected() const {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    return items.isEmpty() ? -1 : items.front()->row();
}

void MultiLanBox::OnSelectionChanged() {
    const int row = Selected();
    if (row >= 0 && static_cast<std::size_t>(row) < printers_.size()) {
        host_->setText(ToQt(printers_[static_cast<std::size_t>(row)].host));
        port_->setValue(printers_[static_cast<std::size_t>(row)].port);
    } else {
        host_->clear();
        port_->setValue(kDefaultPort);
    }
    UpdateButtons();
}

void MultiLanBox::OnAdd() {
    const std::string host = Trim(FromQt(host_->text()));
    const AddOutcome outcome = AddPrinter(printers_, Selected(), host, port_->value());
    if (outcome.messageId != 0) {
        services_.interaction.Error(outcome.messageId,
                                    services_.context.strings.Get(outcome.messageId));
    }
    if (!outcome.added) return;
    ForgetStatuses();
    Refill(outcome.selected);
    emit listChanged();
}

void MultiLanBox::OnDelete() {
    const int selected = DeletePrinter(printers_, Selected());
    ForgetStatuses();
    Refill(selected);
    emit listChanged();
}

void MultiLanBox::OnImport() {
    const Strings& strings = services_.context.strings;
    const auto path = services_.files.OpenFile(this, sid::kImportTitle, sid::kListFilter);
    if (!path) return;
    const MultiLanImport imported = ImportMultiLanList(*path, strings);
    if (!imported.ok) {
        services_.interaction.Error(imported.messageId, strings.Get(imported.messageId));
        return;
    }
    SetPrinters(imported.printers);
    emit listChanged();
}

void MultiLanBox::OnExport() {
    const Strings& strings = services_.context.strings;
    const auto path =
        services_.files.SaveFile(this, sid::kExportTitle, sid::kListFilter, sid::kListExtension);
    if (!path) return;
    if (const WriteResult written = ExportMultiLanList(*path, printers_, strings); !written) {
        const SaveFailureMessage message =
            SaveFailureMessageFor(written, sid::kMsgSaveFailed, strings);
        services_.interaction.Error(message.id, message.text);
    }
}

void MultiLanBox::OnCheck() {
    AppContext& context = services_.context;
    const Strings& strings = context.strings;
    if (checking()) {
        statusCheck_->Stop();
        check_->setEnabled(false);  // until the worker has given up
        return;
    }
    if (printers_.empty()) return;
    // The same guard as a job's: one exchange with the printers at a time,
    // and the connection stays as it is meanwhile.
    bool idle = false;
    if (!context.jobRunning.compare_exchange_strong(idle, true)) {
        services_.interaction.Error(kMsgPreviousJobRunning, strings.Get(kMsgPreviousJobRunning));
        return;
    }
    const StatusQuery query = StatusQueryFor(context.settings);
    queryTimeoutMs_ = query.timeoutMs;
    ForgetStatuses();
    checkedGeneration_ = listGeneration_;
    if (!statusCheck_->Start(MultiLanConnections(context.settings, strings, printers_), query,
                             Clock::FromEnvironment(), JobRunner::kMaxWorkers)) {
        context.jobRunning = false;
        return;
    }
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->item(row, kStatusColumn)->setText(Text(strings, kCheckingText));
        table_->item(row, kStatusColumn)->setIcon({});
        table_->item(row, kStatusColumn)->setToolTip({});
    }
    check_->setText(Text(strings, kStopLabel));
    UpdateButtons();
}

void MultiLanBox::OnAnswer(int index, const StatusAnswer& answer) {
    if (checkedGeneration_ != listGeneration_) return;
    if (index < 0 || static_cast<std::size_t>(index) >= statuses_.size()) return;
    statuses_[static_cast<std::size_t>(index)] = answer;
    ShowStatus(index);
}

void MultiLanBox::OnCheckDone() {
    services_.context.jobRunning = false;
    check_->setText(Text(services_.context.strings, kCheckLabel));
    UpdateButtons();
    emit statusCheckFinished();
}

void MultiLanBox::ShowStatus(int row) {
    QTableWidgetItem* cell = table_->item(row, kStatusColumn);
    if (cell == nullptr || static_cast<std::size_t>(row) >= statuses_.size()) return;
    const auto& answer = statuses_[static_cast<std::size_t>(row)];
    if (!answer) {
        cell->setText({});
        cell->setIcon({});
        cell->setToolTip({});
        return;
    }
    const Strings& strings = services_.context.strings;
    const StatusVerdict verdict = JudgeStatus(*answer);
    cell->setText(StateText(strings, verdict));
    cell->setIcon(PrinterStateIcon(verdict.state));
    cell->setToolTip(StateDetail(strings, *answer, verdict, queryTimeoutMs_));
}

void MultiLanBox::ForgetStatuses() {
    statuses_.assign(printers_.size(), std::nullopt);
    ++listGeneration_;
}

void MultiLanBox::UpdateButtons() {
    // The rows stand for the printers being asked until the check ends.
    const bool busy = checking();
    add_->setEnabled(!busy && CanAddPrinter(printers_, Trim(FromQt(host_->text()))));
    delete_->setEnabled(!busy && Selected() >= 0);
    import_->setEnabled(!busy);
    export_->setEnabled(!printers_.empty());
    if (!busy) check_->setEnabled(!printers_.empty());
}

}  // namespace rvq::ui
