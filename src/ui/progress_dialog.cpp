#include "ui/progress_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_kind.h"
#include "core/comm/job/progress_view.h"
#include "ui/file_dialogs.h"
#include "ui/pictures.h"
#include "ui/queued_job_events.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kMsgPreviousJobRunning = 60203;
constexpr int kLoggingLabel = 60200;
constexpr int kRetryLabel = 60201;
constexpr int kErrorListLabel = 60202;
// A cancel waits for the workers in 100 ms steps, at most 30 seconds.
constexpr int kCancelTickMs = 100;
constexpr int kCancelTicks = 300;

}  // namespace

ProgressDialog::ProgressDialog(UiServices& services, std::shared_ptr<JobExecutor> executor,
                               std::shared_ptr<const JobInputs> inputs, QWidget* parent)
    : QDialog(parent), services_(services), inputs_(std::move(inputs)) {
    const Strings& strings = services.context.strings;
    events_ = std::make_unique<QueuedJobEvents>(this);
    runner_ = std::make_unique<JobRunner>(services.context, services.document.sharedJobLog(),
                                          std::move(executor), *events_);
    setWindowTitle(Text(strings, inputs_ ? JobTitleId(*inputs_) : JobTitleId(JobKind::None)));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    picture_ = new QLabel(this);
    picture_->setFixedSize(48, 48);
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    percent_ = new QLabel(this);
    percent_->setMinimumWidth(48);
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    close_ = new QPushButton(this);
    logging_ = new QPushButton(Text(strings, kLoggingLabel), this);
    retry_ = new QPushButton(Text(strings, kRetryLabel), this);
    errorList_ = new QPushButton(Text(strings, kErrorListLabel), this);
    for (QPushButton* b : {close_, logging_, retry_, errorList_}) b->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &ProgressDialog::OnCloseClicked);
    connect(retry_, &QPushButton::clicked, this, &ProgressDialog::OnRetry);
    connect(logging_, &QPushButton::clicked, this, &ProgressDialog::OnLogging);
    connect(errorList_, &QPushButton::clicked, this, &ProgressDialog::OnErrorList);

    cancelWait_ = new QTimer(this);
    cancelWait_->setInterval(kCancelTickMs);
    connect(cancelWait_, &QTimer::timeout, this, &ProgressDialog::OnCancelWaitTick);

    auto* top = new QHBoxLayout;
    top->addWidget(picture_, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addWidget(log_, 1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(bar_, 1);
    progress->addWidget(percent_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(logging_);
    buttons->addWidget(errorList_);
    buttons->addStretch(1);
    buttons->addWidget(retry_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(17, 17, 17, 12);
    layout->addLayout(top, 1);
    layout->addLayout(progress);
    layout->addLayout(buttons);
    resize(660, 340);
    ResetProgress();
    ShowState();
}

ProgressDialog::~ProgressDialog() {
    // Detach from the run first: a worker left running after a cancel
    // must not queue calls to a dialog that is going.
    runner_.reset();
}

bool ProgressDialog::Begin() {
    AppContext& context = services_.context;
    const Strings& strings = context.strings;
    if (context.jobRunning) {
        services_.interaction.Error(kMsgPreviousJobRunning, strings.Get(kMsgPreviousJobRunning));
        return false;
    }
    const JobKind kind = inputs_ ? inputs_->kind : JobKind::None;
    const UsbEnumerator enumerate = services_.enumerateUsb;
    const int message = runner_->PreCheck(kind, [enumerate](const std::string& filter) {
        std::vector<std::string> paths;
        if (!enumerate || !enumerate(filter, paths)) return -1;
        return static_cast<int>(paths.size());
    });
    if (message != 0) {
        services_.interaction.Error(message, strings.Get(message));
        return false;
    }
    std::vector<bool> selected;
    if (runner_->multiLan()) {
        const auto picked = services_.pickPrinters
                                ? services_.pickPrinters(this, runner_->Printers())
                                : std::optional<std::vector<bool>>(std::vector<bool>{});
        if (!picked) return false;
        selected = *picked;
    }
    if (!runner_->Start(inputs_, selected)) {
        services_.interaction.Error(kMsgPreviousJobRunning, strings.Get(kMsgPreviousJobRunning));
        return false;
    }
    ResetProgress();
    ShowState();
    return true;
}

int ProgressDialog::Run() {
    if (!Begin()) return QDialog::Rejected;
    return exec();
}

QString ProgressDialog::logText() const { return log_->toPlainText(); }

QString ProgressDialog::percentText() const { return percent_->text(); }

void ProgressDialog::OnLine(const QString& line) {
    log_->appendPlainText(line);
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void ProgressDialog::OnProgress(int total) {
    bar_->setValue(std::min(total, bar_->maximum()));
    percent_->setText(QStringLiteral("%1%").arg(OverallPercent(total, bar_->maximum())));
}

void ProgressDialog::OnRunComplete() {
    bar_->setValue(bar_->maximum());
    percent_->setText(QStringLiteral("100%"));
}

void ProgressDialog::OnRunFinished(bool failed) {
    finished_ = true;
    failed_ = failed;
    ShowState();
}

void ProgressDialog::OnCloseRequest() {
    if (!cancelRequested_ && finished_ && !failed_) done(QDialog::Accepted);
}

void ProgressDialog::reject() { OnCloseClicked(); }

void ProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCloseClicked();
}

void ProgressDialog::OnCloseClicked() {
    if (cancelWait_->isActive()) return;
    if (cancelRequested_) {
        // A second press after a confirmed cancel closes the dialog, even
        // when a worker did not stop in time; it ends on its own.
        done(QDialog::Rejected);
        return;
    }
    bool stayOpen = false;
    if (runner_->runningWorkers() > 0 && !finished_) {
        const Strings& strings = services_.context.strings;
        if (!services_.interaction.Confirm(sid::kConfirmCancel, strings.Get(sid::kConfirmCancel)))
            return;
        if (finished_) return;
        cancelRequested_ = true;
        stayOpen = true;
    }
    if (runner_->runningWorkers() == 0) {
        done(finished_ && !failed_ ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    runner_->RequestCancel();
    closeAfterWait_ = !stayOpen;
    cancelWaitTicks_ = 0;
    cancelWaitDone_ = false;
    cancelWait_->start();
    ShowState();
}

void ProgressDialog::OnCancelWaitTick() {
    if (runner_->runningWorkers() > 0 && ++cancelWaitTicks_ < kCancelTicks) return;
    EndCancelWait();
}

void ProgressDialog::EndCancelWait() {
    cancelWait_->stop();
    cancelWaitDone_ = true;
    ShowState();
    if (closeAfterWait_) done(finished_ && !failed_ ? QDialog::Accepted : QDialog::Rejected);
}

void ProgressDialog::OnRetry() {
    if (!runner_->Retry()) return;
    finished_ = false;
    failed_ = false;
    cancelRequested_ = false;
    cancelWaitDone_ = false;
    bar_->setRange(0, std::max(100, runner_->progressRange()));
    OnProgress(runner_->progressTotal());
    ShowState();
}

void ProgressDialog::OnLogging() {
    const AppContext& context = services_.context;
    const auto path = services_.files.SaveFile(this, 0, sid::kCsvFilter, sid::kCsvExtension);
    if (!path) return;
    if (const WriteResult written =
            services_.document.WriteJobLog(*path, context.strings, context.isJapanese);
        !written) {
        const SaveFailureMessage message =
            SaveFailureMessageFor(written, sid::kMsgSaveFailed, context.strings);
        services_.interaction.Error(message.id, message.text);
    }
}

void ProgressDialog::OnErrorList() {
    const Strings& strings = services_.context.strings;
    const auto path =
        services_.files.SaveFile(this, sid::kExportTitle, sid::kListFilter, sid::kListExtension);
    if (!path) return;
    if (const WriteResult written = ExportMultiLanList(*path, runner_->ErrorList(), strings);
        !written) {
        const SaveFailureMessage message =
            SaveFailureMessageFor(written, sid::kMsgSaveFailed, strings);
        services_.interaction.Error(message.id, message.text);
    }
}

void ProgressDialog::ResetProgress() {
    bar_->setRange(0, std::max(100, runner_->progressRange()));
    bar_->setValue(0);
    percent_->setText(QStringLiteral("0%"));
}

void ProgressDialog::ShowState() {
    const bool settled = finished_ || cancelWaitDone_;
    const bool failed = failed_ || (cancelRequested_ && settled);
    const ProgressButtons buttons =
        ButtonsFor(settled, failed, cancelRequested_, runner_->multiLan());
    close_->setText(Text(services_.context.strings, buttons.closeLabelId));
    close_->setEnabled(!cancelWait_->isActive());
    logging_->setVisible(buttons.logging);
    retry_->setVisible(buttons.retry);
    errorList_->setVisible(buttons.errorList);
    picture_->setPixmap(
        StatusPixmap(PictureFor(settled, runner_->state(), runner_->overallResult())));
}

}  // namespace rvq::ui
