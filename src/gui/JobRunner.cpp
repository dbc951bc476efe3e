#include "gui/JobRunner.h"

#include <QEventLoop>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

#include "gui/ProgressDialog.h"

namespace tolvex::gui {
namespace {

// Hands the counter and what it counts from the worker to the dialog. Steps that come faster than the UI
// thread shows them are merged: only the latest value is shown.
class QueuedProgress final : public ProgressSink {
public:
    void attach(ProgressDialog* dialog) { dialog_ = dialog; }

    // Queued like the steps, so that the dialog learns the unit before the first step it shows.
    void begin(const ProgressCount& count) override {
        if (dialog_ == nullptr) return;
        QMetaObject::invokeMethod(
            dialog_, [dialog = dialog_, count] { dialog->setCount(count); }, Qt::QueuedConnection);
    }

    void step(int k) override {
        latest_.store(k);
        if (dialog_ == nullptr || pending_.exchange(true)) return;
        QMetaObject::invokeMethod(
            dialog_,
            [this] {
                pending_.store(false);
                dialog_->step(latest_.load());
            },
            Qt::QueuedConnection);
    }

private:
    ProgressDialog* dialog_ = nullptr;
    std::atomic<int> latest_{0};
    std::atomic<bool> pending_{false};
};

}  // namespace

bool JobRunner::run(Job& job) {
    std::stop_source stop;
    QEventLoop loop;
    // The dialog is destroyed before the sink that feeds it, so that a step still queued for the dialog
    // is dropped with it and never reaches a sink that is gone.
    QueuedProgress progress;
    std::unique_ptr<ProgressDialog> dialog;
    if (job.showsProgress()) {
        dialog = std::make_unique<ProgressDialog>(parent_.data());
        QObject::connect(dialog.get(), &ProgressDialog::cancelClicked, [&stop] { stop.request_stop(); });
        dialog->show();
        progress.attach(dialog.get());
        if (onProgressDialog) onProgressDialog(*dialog);
    }

    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            job.run(progress, stop.get_token());
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (dialog) dialog->hide();
    if (failure) std::rethrow_exception(failure);

    const bool cancelled = stop.stop_requested();
    job.finish(cancelled);
    return !cancelled;
}

}  // namespace tolvex::gui
