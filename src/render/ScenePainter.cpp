#include "render/ScenePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <variant>

#include "render/SceneFont.h"

namespace tolvex::render {
namespace {

QColor colour(plot::Rgb c) {
    return {c.red, c.green, c.blue};
}

// The thinnest pen of the device: width 0 is one device pixel whatever the scale.
QPen thinPen(plot::Rgb c) {
    QPen pen(colour(c));
    pen.setWidth(0);
    pen.setCosmetic(true);
    return pen;
}

class SceneDrawer {
public:
    SceneDrawer(QPainter& painter, const SceneViewport& viewport) : painter_(painter), viewport_(viewport) {}

    void operator()(const plot::Line& line) {
        painter_.setPen(thinPen(line.pen));
        painter_.drawLine(viewport_.map(line.from), viewport_.map(line.to));
    }

    void operator()(const plot::Polyline& polyline) {
        QPolygonF points;
        points.reserve(static_cast<qsizetype>(polyline.points.size()));
        for (const plot::Point& p : polyline.points) points.append(viewport_.map(p));
        painter_.setPen(thinPen(polyline.pen));
        painter_.drawPolyline(points);
    }

    void operator()(const plot::Ellipse& ellipse) {
        painter_.setPen(thinPen(ellipse.pen));
        painter_.setBrush(colour(ellipse.brush));
        painter_.drawEllipse(QRectF(viewport_.map({ellipse.lowerLeft.x, ellipse.upperRight.y}),
                                    viewport_.map({ellipse.upperRight.x, ellipse.lowerLeft.y})));
        painter_.setBrush(Qt::NoBrush);
    }

    // The text cell is laid out in the text's own frame (x along the baseline, y down the cell), turned by
    // the escapement and scaled from the reference font to the logical cell and character width.
    void operator()(const plot::Text& text) {
        const ReferenceFont& reference = fontFor(text.font);
        const QString string = QString::fromStdString(text.text);
        const QFontMetricsF metrics(reference.font, painter_.device());
        const double advance = metrics.horizontalAdvance(string);
        painter_.save();
        painter_.translate(viewport_.map(text.anchor));
        painter_.rotate(text.escapement / 10.0);
        painter_.scale(text.font.width * viewport_.scale / reference.averageWidth,
                       text.font.height * viewport_.scale / reference.cellHeight);
        painter_.fillRect(QRectF(0.0, 0.0, advance, reference.cellHeight), colour(text.background));
        painter_.setFont(reference.font);
        painter_.setPen(colour(text.colour));
        painter_.drawText(QPointF(0.0, reference.ascent), string);
        painter_.restore();
    }

private:
    const ReferenceFont& fontFor(const plot::PlotFont& font) {
        if (!cachedFont_ || cachedFor_ != font) {
            cachedFont_ = referenceFont(font, painter_.device());
            cachedFor_ = font;
        }
        return *cachedFont_;
    }

    QPainter& painter_;
    SceneViewport viewport_;
    plot::PlotFont cachedFor_;
    std::optional<ReferenceFont> cachedFont_;
};

}  // namespace

plot::TextMeasure sceneTextMeasure() {
    // One reference font per call of the measure, kept while the face stays the same.
    auto cache = std::make_shared<std::optional<std::pair<plot::PlotFont, ReferenceFont>>>();
    return [cache](const std::string& text, const plot::PlotFont& font) {
        if (!*cache || (*cache)->first != font) *cache = std::make_pair(font, referenceFont(font, nullptr));
        const ReferenceFont& reference = (*cache)->second;
        const double advance = QFontMetricsF(reference.font).horizontalAdvance(QString::fromStdString(text));
        return static_cast<int>(std::ceil(advance * font.width / reference.averageWidth));
    };
}

SceneViewport sceneViewport(const plot::Scene& scene, const QRectF& target) {
    const double scale =
        std::min(target.width() / std::max(scene.width, 1), target.height() / std::max(scene.height, 1));
    return {std::max(scale, 0.0), target.bottomLeft()};
}

void paintScene(QPainter& painter, const plot::Scene& scene, const QRectF& target) {
    painter.save();
    // Lines and outlines as a graphics device draws them: one pixel wide, not smoothed.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    SceneDrawer drawer(painter, sceneViewport(scene, target));
    for (const plot::Primitive& primitive : scene.primitives) std::visit(drawer, primitive);
    painter.restore();
}

}  // namespace tolvex::render
