#include "gui/PlotView.h"

#include <QPainter>

#include "gui/PlotPicture.h"

namespace tolvex::gui {

PlotView::PlotView(AnalysisState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("plotView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 200);
}

void PlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPlot(painter, state_, QRectF(rect()));
}

}  // namespace tolvex::gui
