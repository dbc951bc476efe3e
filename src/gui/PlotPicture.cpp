#include "gui/PlotPicture.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>

#include "render/Bmp8Writer.h"
#include "render/EmfWriter.h"
#include "render/ScenePainter.h"

namespace tolvex::gui {

void paintPlot(QPainter& painter, AnalysisState& state, const QRectF& target,
               const render::PageOptions& options) {
    painter.fillRect(target, Qt::white);
    render::paintScene(painter, render::plotPage(state, options).scene, target);
}

QImage plotImage(AnalysisState& state, QSize size, const render::PageOptions& options) {
    const render::PlotPage page = render::plotPage(state, options);
    QImage image(render::pagePixels(page, size).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    const QRectF target(QPointF(0, 0), QSizeF(image.size()));
    painter.fillRect(target, Qt::white);
    render::paintScene(painter, page.scene, target);
    return image;
}

QByteArray plotSvg(AnalysisState& state, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Tolvex"));
    QPainter painter(&generator);
    paintPlot(painter, state, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return bytes;
}

std::optional<std::vector<std::uint8_t>> plotEmf(AnalysisState& state, QSize size, bool forClipboard,
                                                 const render::PageOptions& options) {
    const render::PlotPage page = render::plotPage(state, options);
    const QSize pixels = render::pagePixels(page, size);
    return render::emfBytes(page.scene, pixels.width(), pixels.height(),
                            forClipboard ? render::EmfUse::Clipboard : render::EmfUse::File);
}

std::vector<std::uint8_t> plotBmp(AnalysisState& state, QSize size, const render::PageOptions& options) {
    return render::encodeBmp8(plotImage(state, size, options));
}

QMimeData* bitmapMimeData(AnalysisState& state, QSize size) {
    auto* data = new QMimeData;
    data->setImageData(plotImage(state, size));
    return data;
}

QMimeData* metafileMimeData(AnalysisState& state, QSize size) {
    auto* data = new QMimeData;
    if (const auto emf = plotEmf(state, size, true)) {
        const QByteArray bytes(reinterpret_cast<const char*>(emf->data()),
                               static_cast<qsizetype>(emf->size()));
        // Office programs differ in the name they look for.
        data->setData(QStringLiteral("image/x-emf"), bytes);
        data->setData(QStringLiteral("image/emf"), bytes);
    }
    data->setData(QStringLiteral("image/svg+xml"), plotSvg(state, size));
    data->setImageData(plotImage(state, size));
    return data;
}

bool printPlot(QPrinter& printer, AnalysisState& state, const render::PageOptions& options) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The painter's origin is the corner of the printable area; the plot fills that area.
    const QRectF page(QPointF(0, 0), QSizeF(printer.width(), printer.height()));
    paintPlot(painter, state, page, options);
    return painter.end();
}

}  // namespace tolvex::gui
