// The fit controls of the window's simplex and least-squares runs, kept in the program's settings (not
// in the document): "Stop when converged" (on unless the user turned it off) for every model, and the
// fixed parameters and bounds per model, by the names of its fitted fields.
#pragma once

#include <QSettings>

#include "core/estimation/FitControls.h"

namespace tolvex::gui {

class FitSettings {
public:
    // The object reads from and writes into `settings` at every call.
    explicit FitSettings(QSettings& settings) : settings_(settings) {}

    [[nodiscard]] bool stopWhenConverged() const;
    void setStopWhenConverged(bool on);

    // The controls for model `modelKind`: the program-wide stop setting, and the fixed parameters and
    // bounds kept for that model's fitted fields.
    [[nodiscard]] FitControls controls(int modelKind) const;
    // Keeps `controls` for model `modelKind` (entries for fields the model does not fit are dropped).
    void store(int modelKind, const FitControls& controls);

private:
    QSettings& settings_;
};

}  // namespace tolvex::gui
