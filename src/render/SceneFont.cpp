#include "render/SceneFont.h"

#include <QFontMetricsF>

namespace tolvex::render {
namespace {

// Large enough that glyph metrics keep their precision after scaling down.
constexpr int kReferencePixelSize = 200;
constexpr int kBoldWeight = 700;

}  // namespace

ReferenceFont referenceFont(const plot::PlotFont& font, QPaintDevice* device) {
    QFont qfont(QString::fromStdString(font.face));
    qfont.setPixelSize(kReferencePixelSize);
    qfont.setWeight(font.weight >= kBoldWeight ? QFont::Bold : QFont::Normal);
    qfont.setHintingPreference(QFont::PreferNoHinting);
    qfont.setKerning(false);
    const QFontMetricsF metrics = device != nullptr ? QFontMetricsF(qfont, device) : QFontMetricsF(qfont);
    ReferenceFont reference{qfont, metrics.height(), metrics.ascent(), metrics.averageCharWidth()};
    if (reference.cellHeight <= 0.0) reference.cellHeight = kReferencePixelSize;
    if (reference.averageWidth <= 0.0) reference.averageWidth = kReferencePixelSize / 2.0;
    return reference;
}

}  // namespace tolvex::render
