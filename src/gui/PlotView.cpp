#include "gui/PlotView.h"

#include <QPainter>
#include <algorithm>

#include "core/plot/Scene.h"
#include "gui/PlotPicture.h"

namespace tolvex::gui {

PlotView::PlotView(AnalysisState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("plotView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 200);
}

QRectF PlotView::plotArea(const QRectF& area) {
    const double scale =
        std::max(std::min(area.width() / plot::kLogicalWidth, area.height() / plot::kLogicalHeight), 0.0);
    const QSizeF size(plot::kLogicalWidth * scale, plot::kLogicalHeight * scale);
    return {area.center() - QPointF(size.width() / 2.0, size.height() / 2.0), size};
}

void PlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The strips beside the plot are the page's white, not the window's background.
    painter.fillRect(rect(), Qt::white);
    paintPlot(painter, state_, plotArea(QRectF(rect())));
}

}  // namespace tolvex::gui
