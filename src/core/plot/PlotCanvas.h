// The drawing state shared by the axes, the curves and the legend while one scene is built: the scene
// being filled, the rectangle the axes chose, and the plot font.
#pragma once

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "core/plot/PlotGeometry.h"
#include "core/plot/Scene.h"

namespace tolvex::plot {

// The advance width, in logical units, of a text written in a plot font, as the backend that draws the
// scene measures it (the painter scales the face's glyphs to the font's cell and average width).
using TextMeasure = std::function<int(const std::string& text, const PlotFont& font)>;

// Without a backend at hand: the font's average character width, a quarter wider for capitals and symbols.
[[nodiscard]] inline int estimatedTextWidth(const std::string& text, const PlotFont& font) {
    return static_cast<int>(text.size()) * font.width * 5 / 4;
}

struct PlotCanvas {
    Scene& scene;
    LogicalRect plotRect = kPlotFrame;
    PlotFont font;
    TextMeasure measure{};  // empty: estimatedTextWidth
    bool clear = false;     // the clear plot style (PlotLook.h)

    [[nodiscard]] int textWidth(const std::string& text) const {
        return measure ? measure(text, font) : estimatedTextWidth(text, font);
    }

    void line(Point from, Point to, Rgb pen = kBlack) { scene.add(Line{from, to, pen}); }
    void text(Point anchor, std::string text, int escapement = 0) {
        scene.add(Text{anchor, std::move(text), escapement, font, kBlack, kWhite});
    }
};

// Truncation toward zero as the drawing rules use it, safe for values no int can hold (NaN gives 0).
[[nodiscard]] inline int truncToInt(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 1.0e7;
    return static_cast<int>(std::trunc(value < -kLimit ? -kLimit : (value > kLimit ? kLimit : value)));
}

}  // namespace tolvex::plot
