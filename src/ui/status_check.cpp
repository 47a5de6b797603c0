#include "ui/status_check.h"

#include <QMetaObject>
#include <tuple>

namespace rvq::ui {

StatusCheck::StatusCheck(QObject* parent) : QObject(parent) {}

StatusCheck::~StatusCheck() {
    // The worker posts to this object: it must end before the object does.
    if (cancel_) cancel_->store(true);
    if (worker_.joinable()) worker_.join();
}

bool StatusCheck::Start(std::vector<Connection> printers, StatusQuery query, Clock clock,
                        int concurrency) {
    if (running()) return false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = std::thread([this, cancel = cancel_, printers = std::move(printers),
                           query = std::move(query), clock, concurrency] {
        const StatusAnswerSink post = [this](std::size_t index, const StatusAnswer& answer) {
            QMetaObject::invokeMethod(
                this,
                [this, i = static_cast<int>(index), answer] {
                    if (onAnswer) onAnswer(i, answer);
                },
                Qt::QueuedConnection);
        };
        std::ignore = AskStatusAll(printers, query, clock, concurrency, cancel.get(), post);
        QMetaObject::invokeMethod(
            this, [this] { Finish(); }, Qt::QueuedConnection);
    });
    return true;
}

void StatusCheck::Stop() {
    if (cancel_) cancel_->store(true);
}

void StatusCheck::Finish() {
    // The worker has posted its last call; it is at its end.
    if (worker_.joinable()) worker_.join();
    if (onDone) onDone();
}

}  // namespace rvq::ui
