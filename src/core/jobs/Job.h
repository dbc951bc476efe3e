// A long computation (a type-curve family, an estimation) as a unit the front end can run on a worker
// thread behind a progress window, or inline. A job works on its own copy of the state; only finish(),
// called on the front end's thread, touches the real one.
#pragma once

#include <stop_token>

namespace tolvex {

// What a run's counter counts: the curves of a type-curve family, the abscissa points of a family
// computed point by point, or the iterations of a fit. Unknown when the computation does not say.
enum class ProgressUnit { Unknown, Curve, Point, Iteration };

// What the counter of a run stands for. The counter keeps the published numbering (which for some
// families starts at 0); `offset` added to it gives the 1-based number of the unit it reports.
struct ProgressCount {
    ProgressUnit unit = ProgressUnit::Unknown;
    int total = 0;  // the number of units of the whole run; 0 when not known
    int offset = 0;
};

// Receives the counter that the progress window shows ("Number of iterations"). A computation that
// knows what it counts and how far it goes says so with begin() before its first step; sinks that show
// only the counter ignore it.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void begin(const ProgressCount& /*count*/) {}
    virtual void step(int k) = 0;
};

class NullProgress final : public ProgressSink {
public:
    void step(int) override {}
};

class Job {
public:
    virtual ~Job() = default;
    // Whether the progress window is shown for this run (the confined family has none).
    [[nodiscard]] virtual bool showsProgress() const = 0;
    // The computation; may run on a worker thread and must only touch the job's own data.
    // It checks `stop` at its natural steps and returns early when a stop was requested.
    virtual void run(ProgressSink& progress, std::stop_token stop) = 0;
    // Commits the result into the real state, on the front end's thread, after run() returned.
    // `cancelled` tells that the run was stopped early; each job decides what it then keeps.
    virtual void finish(bool cancelled) = 0;
};

// Runs a job to completion on the calling thread (command line, tests).
inline void runJobInline(Job& job, ProgressSink& progress) {
    std::stop_source never;
    job.run(progress, never.get_token());
    job.finish(false);
}

}  // namespace tolvex
