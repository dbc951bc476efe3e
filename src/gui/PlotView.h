// The plot in the window: the scene of the current state, fitted to the widget and redrawn on every paint.
#pragma once

#include <QWidget>

#include "core/state/AnalysisState.h"

namespace tolvex::gui {

class PlotView : public QWidget {
    Q_OBJECT
public:
    explicit PlotView(AnalysisState& state, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AnalysisState& state_;
};

}  // namespace tolvex::gui
