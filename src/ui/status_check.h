#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "core/comm/job/clock.h"
#include "core/comm/port/status_query.h"

namespace rvq::ui {

// Asks a list of printers for their status on a worker thread, so the
// window stays live. Each answer is handed over on the owner's thread as
// it comes in, then the end of the check. A check still running when the
// object goes is stopped and waited for.
class StatusCheck : public QObject {
    Q_OBJECT
public:
    explicit StatusCheck(QObject* parent = nullptr);
    ~StatusCheck() override;

    // On the owner's thread.
    std::function<void(int index, const StatusAnswer& answer)> onAnswer;
    std::function<void()> onDone;

    // False when a check is still running.
    bool Start(std::vector<Connection> printers, StatusQuery query, Clock clock, int concurrency);
    // Asks the worker to give up; the answers it still has come in, then the end.
    void Stop();
    bool running() const { return worker_.joinable(); }

private:
    void Finish();

    // Written by the owner's thread, polled by the asking threads.
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread worker_;
};

}  // namespace rvq::ui
