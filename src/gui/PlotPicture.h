// The plot as a picture for the window, paper, the clipboard and files: a white page with the scene of the
// current state fitted into it, anchored at the lower-left corner.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/state/AnalysisState.h"
#include "render/PlotExport.h"

class QMimeData;
class QPainter;
class QPrinter;

namespace tolvex::gui {

// Paints the white background and the plot (with the title block when `options` ask for one) into
// `target`.
void paintPlot(QPainter& painter, AnalysisState& state, const QRectF& target,
               const render::PageOptions& options = {});

// Pictures of `size` pixels, or of the taller page a title block needs (render::pagePixels).
[[nodiscard]] QImage plotImage(AnalysisState& state, QSize size, const render::PageOptions& options = {});
[[nodiscard]] QByteArray plotSvg(AnalysisState& state, QSize size);
// The enhanced metafile of the plot, for a file or for the clipboard; nothing when it cannot be made.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> plotEmf(AnalysisState& state, QSize size,
                                                               bool forClipboard,
                                                               const render::PageOptions& options = {});
// The 8-bit BMP file of the plot.
[[nodiscard]] std::vector<std::uint8_t> plotBmp(AnalysisState& state, QSize size,
                                                const render::PageOptions& options = {});

// Clipboard contents: the bitmap copy, and the metafile copy (EMF and SVG for office programs, and the
// image for programs that take neither).
[[nodiscard]] QMimeData* bitmapMimeData(AnalysisState& state, QSize size);
[[nodiscard]] QMimeData* metafileMimeData(AnalysisState& state, QSize size);

// One page with the plot fitted into the printable area; false when the printer cannot be started.
bool printPlot(QPrinter& printer, AnalysisState& state, const render::PageOptions& options = {});

}  // namespace tolvex::gui
