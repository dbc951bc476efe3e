#include "render/SceneFont.h"

#include <QFontMetricsF>
#include <array>
#include <utility>

namespace tolvex::render {
namespace {

// Large enough that glyph metrics keep their precision after scaling down.
constexpr int kReferencePixelSize = 200;
constexpr int kBoldWeight = 700;

// The average character width a logical font's width is measured against: the weighted mean of the
// lower-case letters and the space (the classic definition of a TrueType face's average width, which
// the Windows faces keep). Qt's own average takes every glyph of the face, and the stand-in faces count
// more wide glyphs, so the text would come out narrower than intended.
constexpr std::array<std::pair<char, int>, 27> kLetterWeights{{
    {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
    {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
    {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166},
}};
constexpr double kLetterWeightSum = 1000.0;

double weightedAverageWidth(const QFontMetricsF& metrics) {
    double sum = 0.0;
    for (const auto& [letter, weight] : kLetterWeights)
        sum += weight * metrics.horizontalAdvance(QChar(letter));
    return sum / kLetterWeightSum;
}

}  // namespace

ReferenceFont referenceFont(const plot::PlotFont& font, QPaintDevice* device) {
    QFont qfont(QString::fromStdString(font.face));
    qfont.setPixelSize(kReferencePixelSize);
    qfont.setWeight(font.weight >= kBoldWeight ? QFont::Bold : QFont::Normal);
    qfont.setItalic(font.italic);
    qfont.setHintingPreference(QFont::PreferNoHinting);
    qfont.setKerning(false);
    const QFontMetricsF metrics = device != nullptr ? QFontMetricsF(qfont, device) : QFontMetricsF(qfont);
    ReferenceFont reference{qfont, metrics.height(), metrics.ascent(), weightedAverageWidth(metrics)};
    if (reference.cellHeight <= 0.0) reference.cellHeight = kReferencePixelSize;
    if (reference.averageWidth <= 0.0) reference.averageWidth = kReferencePixelSize / 2.0;
    return reference;
}

}  // namespace tolvex::render
