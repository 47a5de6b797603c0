#include "ui/queued_job_events.h"

#include <QMetaObject>

#include "ui/progress_dialog.h"
#include "ui/ui_text.h"

namespace rvq::ui {

void QueuedJobEvents::OnLine(int /*printerIndex*/, const std::string& displayLine) {
    ProgressDialog* d = dialog_;
    const QString line = ToQt(displayLine);
    QMetaObject::invokeMethod(
        d, [d, line] { d->OnLine(line); }, Qt::QueuedConnection);
}

void QueuedJobEvents::OnProgress(int /*printerIndex*/, int /*percent*/, int total) {
    ProgressDialog* d = dialog_;
    QMetaObject::invokeMethod(
        d, [d, total] { d->OnProgress(total); }, Qt::QueuedConnection);
}

void QueuedJobEvents::OnRunComplete() {
    ProgressDialog* d = dialog_;
    QMetaObject::invokeMethod(
        d, [d] { d->OnRunComplete(); }, Qt::QueuedConnection);
}

void QueuedJobEvents::OnRunFinished(bool failed) {
    ProgressDialog* d = dialog_;
    QMetaObject::invokeMethod(
        d, [d, failed] { d->OnRunFinished(failed); }, Qt::QueuedConnection);
}

void QueuedJobEvents::OnCloseRequest() {
    ProgressDialog* d = dialog_;
    QMetaObject::invokeMethod(
        d, [d] { d->OnCloseRequest(); }, Qt::QueuedConnection);
}

}  // namespace rvq::ui
