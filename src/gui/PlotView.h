// The plot in the window: the scene of the current state, redrawn on every paint, filling the whole
// widget at the proportions of the 1200 x 1000 drawing space, scaled (never cropped) and centred.
#pragma once

#include <QRectF>
#include <QWidget>

#include "core/state/AnalysisState.h"

namespace tolvex::gui {

class PlotView : public QWidget {
    Q_OBJECT
public:
    explicit PlotView(AnalysisState& state, QWidget* parent = nullptr);

    // The largest rectangle of the drawing space's proportions that fits into `area`, centred in it.
    [[nodiscard]] static QRectF plotArea(const QRectF& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AnalysisState& state_;
};

}  // namespace tolvex::gui
