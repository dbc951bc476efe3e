// The plot as a list of drawing primitives in a logical space of 1200 x 1000 units with the origin at the
// lower-left corner and y growing upwards. Backends (screen, printer, image files, metafiles) draw a
// Scene with one uniform scale anchored at the lower-left corner of their device; the scene itself knows
// nothing about devices, so the same plot comes out identical everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tolvex::plot {

inline constexpr int kLogicalWidth = 1200;
inline constexpr int kLogicalHeight = 1000;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// Every pen of the plot is solid and of the thinnest width the device has (one device pixel).
struct Line {
    Point from;
    Point to;
    Rgb pen = kBlack;
};

struct Polyline {
    std::vector<Point> points;
    Rgb pen = kBlack;
};

// An ellipse inscribed in the box from lowerLeft to upperRight, outlined with the pen, filled with the brush.
struct Ellipse {
    Point lowerLeft;
    Point upperRight;
    Rgb pen = kBlack;
    Rgb brush = kWhite;
};

// The plot font: a typeface stretched or squeezed to a cell `height` units high whose average character
// is `width` units wide (the logical-font convention the metafiles keep).
struct PlotFont {
    std::string face = "Times New Roman";
    int height = 23;
    int width = 14;
    int weight = 700;  // bold
    bool italic = false;
    friend bool operator==(const PlotFont&, const PlotFont&) = default;
};

// A text written on an opaque box of its background colour the size of its text cell.
// `anchor` is the upper-left corner of the cell in the text's own frame. `escapement` is the angle of the
// baseline in tenths of a degree as the metafile records it; under the flipped y axis of this space a
// positive escapement turns the text clockwise as seen: 900 reads from top to bottom with the character
// bodies left of the anchor, -900 reads from bottom to top with the bodies right of it.
struct Text {
    Point anchor;
    std::string text;
    int escapement = 0;
    PlotFont font;
    Rgb colour = kBlack;
    Rgb background = kWhite;
};

using Primitive = std::variant<Line, Polyline, Ellipse, Text>;

struct Scene {
    // The logical extent a backend fits to its device. It is 1200 x 1000 except when a long legend needs
    // further columns to the right; then the width grows so that nothing leaves the picture.
    int width = kLogicalWidth;
    int height = kLogicalHeight;
    std::vector<Primitive> primitives;

    template <class Shape>
    void add(Shape&& shape) {
        primitives.emplace_back(std::in_place_type<std::decay_t<Shape>>, std::forward<Shape>(shape));
    }
};

}  // namespace tolvex::plot
