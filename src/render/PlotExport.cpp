#include "render/PlotExport.h"

#include <QDate>
#include <QPainter>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "core/plot/PlotScene.h"
#include "core/plot/TitleBlock.h"
#include "render/HeadlessGui.h"
#include "render/ScenePainter.h"

namespace tolvex::render {

std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") return PictureFormat::Png;
    if (extension == ".svg") return PictureFormat::Svg;
    if (extension == ".pdf") return PictureFormat::Pdf;
    if (extension == ".bmp") return PictureFormat::Bmp;
    if (extension == ".emf") return PictureFormat::Emf;
    return std::nullopt;
}

PlotPage plotPage(AnalysisState& state, const PageOptions& options) {
    const plot::TextMeasure measure = sceneTextMeasure();
    PlotPage page{plot::buildPlotScene(state, measure), 0};
    if (!options.titleBlock) return page;
    const plot::TitleBlockTexts texts = plot::titleBlockTexts(state, options.date);
    page.band = plot::titleBlockHeight(texts);
    page.scene = plot::withTitleBlock(std::move(page.scene), texts, state.plotFontFace, measure);
    return page;
}

QSize pagePixels(const PlotPage& page, QSize plotSize) {
    if (page.band <= 0) return plotSize;
    const int plotHeight = std::max(page.scene.height - page.band, 1);
    const double scale = std::min(static_cast<double>(plotSize.width()) / std::max(page.scene.width, 1),
                                  static_cast<double>(plotSize.height()) / plotHeight);
    return {plotSize.width(), plotSize.height() + static_cast<int>(std::ceil(page.band * scale))};
}

std::string todayText() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

QImage renderSceneImage(const plot::Scene& scene, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintScene(painter, scene, QRectF(0, 0, width, height));
    painter.end();
    return image;
}

std::optional<std::string> exportScene(const plot::Scene& scene, const std::string& path, int width,
                                       int height) {
    const auto format = pictureFormatOf(path);
    if (!format) return "unknown picture format of '" + path + "' (use .png, .svg, .pdf, .bmp or .emf)";
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return "picture size " + std::to_string(width) + "x" + std::to_string(height) + " is outside 1.." +
               std::to_string(kMaxPictureSide);
    }
    const GuiSession session;
    return writePicture(path, *format, pictureBytes(scene, *format, width, height));
}

std::optional<std::string> exportPlot(AnalysisState& state, const std::string& path, int width, int height,
                                      const PageOptions& options) {
    const GuiSession session;  // the texts are measured with the font that draws them
    const PlotPage page = plotPage(state, options);
    const QSize pixels = pagePixels(page, QSize(width, height));
    return exportScene(page.scene, path, pixels.width(), pixels.height());
}

}  // namespace tolvex::render
