#include "gui/PlotPicture.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>

#include "core/plot/PlotScene.h"
#include "render/Bmp8Writer.h"
#include "render/EmfWriter.h"
#include "render/ScenePainter.h"

namespace tolvex::gui {

void paintPlot(QPainter& painter, AnalysisState& state, const QRectF& target) {
    painter.fillRect(target, Qt::white);
    render::paintScene(painter, plot::buildPlotScene(state, render::sceneTextMeasure()), target);
}

QImage plotImage(AnalysisState& state, QSize size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    paintPlot(painter, state, QRectF(QPointF(0, 0), QSizeF(image.size())));
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

std::optional<std::vector<std::uint8_t>> plotEmf(AnalysisState& state, QSize size, bool forClipboard) {
    return render::emfBytes(plot::buildPlotScene(state, render::sceneTextMeasure()), size.width(),
                            size.height(), forClipboard ? render::EmfUse::Clipboard : render::EmfUse::File);
}

std::vector<std::uint8_t> plotBmp(AnalysisState& state, QSize size) {
    return render::encodeBmp8(plotImage(state, size));
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

bool printPlot(QPrinter& printer, AnalysisState& state) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The painter's origin is the corner of the printable area; the plot fills that area.
    const QRectF page(QPointF(0, 0), QSizeF(printer.width(), printer.height()));
    paintPlot(painter, state, page);
    return painter.end();
}

}  // namespace tolvex::gui
