// Draws a plot scene with a QPainter: the window, printing and print preview, PNG, SVG, PDF and the
// clipboard image all go through here.
//
// The scene's logical space (y up) is fitted into `target` with one uniform scale for both directions,
// anchored at the lower-left corner of `target`; when the proportions differ, the remaining strip lies
// at the right or at the top. Nothing outside the scene is painted: fill the background first.
#pragma once

#include <QPointF>
#include <QRectF>

#include "core/plot/PlotCanvas.h"
#include "core/plot/Scene.h"

class QPainter;

namespace tolvex::render {

void paintScene(QPainter& painter, const plot::Scene& scene, const QRectF& target);

// The width of a text in logical units as paintScene draws it (the face's advance scaled to the plot
// font's average character width), for building a scene whose texts fit. Needs a GUI application (the
// font database): the desktop program's, or a GuiSession.
[[nodiscard]] plot::TextMeasure sceneTextMeasure();

// The uniform scale and anchor that paintScene uses, for callers that map points themselves (hit tests,
// tests).
struct SceneViewport {
    double scale = 1.0;
    QPointF lowerLeft;
    [[nodiscard]] QPointF map(plot::Point p) const {
        return {lowerLeft.x() + p.x * scale, lowerLeft.y() - p.y * scale};
    }
};
[[nodiscard]] SceneViewport sceneViewport(const plot::Scene& scene, const QRectF& target);

}  // namespace tolvex::render
