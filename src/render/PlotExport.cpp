#include "render/PlotExport.h"

#include <QPainter>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/plot/PlotScene.h"
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

std::optional<std::string> exportPlot(AnalysisState& state, const std::string& path, int width, int height) {
    const GuiSession session;  // the texts are measured with the font that draws them
    return exportScene(plot::buildPlotScene(state, sceneTextMeasure()), path, width, height);
}

}  // namespace tolvex::render
