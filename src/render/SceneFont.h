// The plot font on a Qt device. The plot font is a logical font in the metafile sense: a cell `height`
// units high whose average character is `width` units wide. Qt sizes fonts by the em instead, so the face
// is loaded once at a large reference size and every text is scaled to the cell in both directions.
#pragma once

#include <QFont>

#include "core/plot/Scene.h"

class QPaintDevice;

namespace tolvex::render {

struct ReferenceFont {
    QFont font;
    double cellHeight = 1.0;  // ascent + descent at the reference size
    double ascent = 1.0;
    double averageWidth = 1.0;  // the face's weighted average character width at the reference size
};

// The face of `font` (or the closest the font configuration offers: the metric-compatible Liberation
// faces stand in for the Windows ones), bold when the weight asks for it.
[[nodiscard]] ReferenceFont referenceFont(const plot::PlotFont& font, QPaintDevice* device);

}  // namespace tolvex::render
