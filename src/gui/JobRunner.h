// Runs a core Job on a worker thread while the window keeps repainting: with the progress dialog when the
// job shows progress (its Cancel requests the stop; the job tells it what its counter counts), otherwise
// behind an event loop that ignores input.
// finish() runs on the UI thread once the worker has returned.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "core/jobs/Job.h"

namespace tolvex::gui {

class ProgressDialog;

class JobRunner {
public:
    explicit JobRunner(QWidget* parent) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    // Runs the job to its end or to a requested stop and commits it; false when the user cancelled.
    // An exception thrown by the computation is passed on after the worker has ended; the job is then
    // not finished.
    bool run(Job& job);

    // Called with the progress dialog right after it is shown (the GUI tests use it to press Cancel).
    std::function<void(ProgressDialog&)> onProgressDialog;

private:
    QPointer<QWidget> parent_;
};

}  // namespace tolvex::gui
