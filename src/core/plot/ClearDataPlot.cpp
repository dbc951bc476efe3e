#include "core/plot/ClearDataPlot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace tolvex::plot {
namespace {

constexpr int kMarkerDivisor = 90;  // radius W/90 of the plot rectangle
constexpr int kCircleSides = 16;
constexpr int kLegendGap = 16;     // from the frame to the legend's samples
constexpr int kSampleLength = 28;  // the stroke of a calculated line in the legend
constexpr int kRowGap = 8;

bool inside(const LogicalRect& r, Point p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.lower && p.y <= r.upper;
}

std::optional<Point> placed(const AxisMapping& m, const LogicalRect& r, double x, double y) {
    const auto px = mapX(m, r, static_cast<float>(x));
    const auto py = mapY(m, r, static_cast<float>(y));
    if (!px || !py || !inside(r, {*px, *py})) return std::nullopt;
    return Point{*px, *py};
}

// The calculated line as runs of points inside the axes: a point outside ends a run.
bool drawCalculated(PlotCanvas& c, const AxisMapping& m, const ClearSeries& s, Rgb colour) {
    bool drawn = false;
    Polyline run{{}, colour};
    auto flush = [&] {
        if (run.points.size() > 1) {
            drawn = true;
            c.scene.add(run);
        }
        run.points.clear();
    };
    for (std::size_t i = 0; i < std::min(s.calculated.size(), s.times.size()); ++i) {
        if (const auto p = placed(m, c.plotRect, s.times[i], s.calculated[i])) {
            run.points.push_back(*p);
        } else {
            flush();
        }
    }
    flush();
    return drawn;
}

std::vector<Point> regularPolygon(Point at, int radius, int sides, double startDegrees) {
    std::vector<Point> points;
    for (int i = 0; i <= sides; ++i) {
        const double angle = (startDegrees + 360.0 * i / sides) * std::numbers::pi / 180.0;
        points.push_back({at.x + static_cast<int>(std::lround(radius * std::cos(angle))),
                          at.y + static_cast<int>(std::lround(radius * std::sin(angle)))});
    }
    return points;
}

struct LegendRow {
    std::string text;
    Rgb colour;
    std::optional<MarkerShape> marker;  // nothing: a stroke of a calculated line
};

void drawLegendRows(PlotCanvas& c, const std::vector<LegendRow>& rows) {
    const LogicalRect r = c.plotRect;
    const int pitch = c.font.height + kRowGap;
    const int radius = r.width() / kMarkerDivisor;
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const int top = r.upper - pitch * static_cast<int>(j);
        const int middle = top - c.font.height / 2;
        const int sampleLeft = r.right + kLegendGap;
        if (rows[j].marker) {
            drawShapeMarker(c, {sampleLeft + kSampleLength / 2, middle}, *rows[j].marker, rows[j].colour,
                            radius);
        } else {
            c.line({sampleLeft, middle}, {sampleLeft + kSampleLength, middle}, rows[j].colour);
        }
        const int textLeft = sampleLeft + kSampleLength + kRowGap;
        c.text({textLeft, top}, rows[j].text);
        c.scene.width = std::max(c.scene.width, textLeft + c.textWidth(rows[j].text));
    }
}

std::vector<LegendRow> legendRows(const std::vector<ClearSeries>& series,
                                  const std::vector<bool>& calculated) {
    const std::vector<std::string> texts = clearLegendTexts(series);
    std::vector<LegendRow> rows;
    for (std::size_t j = 0; j < series.size(); ++j)
        rows.push_back({texts[j], clearColour(static_cast<int>(j)), markerShape(static_cast<int>(j))});
    std::size_t next = series.size();
    for (std::size_t j = 0; j < series.size(); ++j) {
        if (!series[j].calculated.empty()) {
            if (calculated[j]) rows.push_back({texts[next], clearColour(static_cast<int>(j)), std::nullopt});
            ++next;
        }
    }
    return rows;
}

}  // namespace

void drawShapeMarker(PlotCanvas& c, Point at, MarkerShape shape, Rgb colour, int radius) {
    const int d = std::max(radius, 2);
    switch (shape) {
        case MarkerShape::Circle:
            c.scene.add(Polyline{regularPolygon(at, d, kCircleSides, 0.0), colour});
            return;
        case MarkerShape::Square:
            c.scene.add(Polyline{regularPolygon(at, d, 4, 45.0), colour});
            return;
        case MarkerShape::TriangleUp:
            c.scene.add(Polyline{regularPolygon(at, d, 3, 90.0), colour});
            return;
        case MarkerShape::Diamond:
            c.scene.add(Polyline{regularPolygon(at, d, 4, 0.0), colour});
            return;
        case MarkerShape::TriangleDown:
            c.scene.add(Polyline{regularPolygon(at, d, 3, -90.0), colour});
            return;
        case MarkerShape::Cross:
            c.line({at.x - d, at.y - d}, {at.x + d, at.y + d}, colour);
            c.line({at.x - d, at.y + d}, {at.x + d, at.y - d}, colour);
            return;
        case MarkerShape::Plus:
            c.line({at.x - d, at.y}, {at.x + d, at.y}, colour);
            c.line({at.x, at.y - d}, {at.x, at.y + d}, colour);
            return;
    }
}

std::vector<std::string> clearLegendTexts(const std::vector<ClearSeries>& series) {
    std::vector<std::string> texts;
    for (const ClearSeries& s : series) texts.push_back(s.name);
    for (const ClearSeries& s : series) {
        if (s.calculated.empty()) continue;
        texts.push_back(series.size() == 1 ? std::string("calculated") : s.name + " calculated");
    }
    return texts;
}

void drawClearSeries(PlotCanvas& c, const AxisMapping& m, const std::vector<ClearSeries>& series) {
    const int radius = c.plotRect.width() / kMarkerDivisor;
    std::vector<bool> calculated(series.size(), false);
    for (std::size_t j = 0; j < series.size(); ++j) {
        const ClearSeries& s = series[j];
        const Rgb colour = clearColour(static_cast<int>(j));
        if (!s.calculated.empty()) calculated[j] = drawCalculated(c, m, s, colour);
        for (std::size_t i = 0; i < std::min(s.times.size(), s.values.size()); ++i) {
            if (const auto p = placed(m, c.plotRect, s.times[i], s.values[i]))
                drawShapeMarker(c, *p, markerShape(static_cast<int>(j)), colour, radius);
        }
    }
    drawLegendRows(c, legendRows(series, calculated));
}

}  // namespace tolvex::plot
