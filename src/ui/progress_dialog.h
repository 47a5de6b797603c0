#pragma once

#include <QDialog>
#include <memory>

#include "core/comm/job/job_inputs.h"
#include "core/comm/job/job_runner.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace rvq::ui {

struct UiServices;
class QueuedJobEvents;

// The modal dialog every printer job runs behind: it checks the
// connection, starts the run, shows the log lines, the progress over all
// printers and a status picture, and offers cancel, retry, the job log
// and the Multi-LAN error list.
class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    ProgressDialog(UiServices& services, std::shared_ptr<JobExecutor> executor,
                   std::shared_ptr<const JobInputs> inputs, QWidget* parent = nullptr);
    ~ProgressDialog() override;

    // Runs the pre-checks and starts the run. False when it did not start:
    // its message was shown and the dialog is not to be shown.
    bool Begin();
    // Begin, then the modal loop: Accepted only after a successful run.
    int Run();

    const JobRunner& runner() const { return *runner_; }
    QString logText() const;
    QString percentText() const;
    QPushButton* closeButton() const { return close_; }
    QPushButton* loggingButton() const { return logging_; }
    QPushButton* retryButton() const { return retry_; }
    QPushButton* errorListButton() const { return errorList_; }
    QProgressBar* progressBar() const { return bar_; }

    // Calls from the run, delivered on the dialog's thread.
    void OnLine(const QString& line);
    void OnProgress(int total);
    void OnRunComplete();
    void OnRunFinished(bool failed);
    void OnCloseRequest();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCloseClicked();
    void OnCancelWaitTick();
    void EndCancelWait();
    void OnRetry();
    void OnLogging();
    void OnErrorList();
    void ShowState();
    void ResetProgress();

    UiServices& services_;
    std::shared_ptr<const JobInputs> inputs_;
    std::unique_ptr<QueuedJobEvents> events_;
    std::unique_ptr<JobRunner> runner_;  // after events_: goes first

    bool finished_ = false;
    bool failed_ = false;
    bool cancelRequested_ = false;  // the operator confirmed a cancel of this run
    bool cancelWaitDone_ = false;
    bool closeAfterWait_ = false;
    int cancelWaitTicks_ = 0;

    QLabel* picture_;
    QPlainTextEdit* log_;
    QProgressBar* bar_;
    QLabel* percent_;
    QPushButton* close_;
    QPushButton* logging_;
    QPushButton* retry_;
    QPushButton* errorList_;
    QTimer* cancelWait_;
};

}  // namespace rvq::ui
