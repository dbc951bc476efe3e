#include "render/PlotExport.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "core/plot/PlotScene.h"
#include "render/Bmp8Writer.h"
#include "render/EmfWriter.h"
#include "render/HeadlessGui.h"
#include "render/ScenePainter.h"

namespace tolvex::render {
namespace {

// Pixels of the picture are taken at the usual screen resolution when a page size is needed.
constexpr int kScreenDotsPerInch = 96;
constexpr double kPointsPerInch = 72.0;

using Result = std::optional<std::string>;

std::string cannotWrite(const std::string& path) {
    return "cannot write picture file '" + path + "'";
}

Result writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return cannotWrite(path);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return cannotWrite(path);
    return std::nullopt;
}

// Qt's vector writers report an unwritable file only as a warning; find out beforehand.
bool writable(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void paintOnWhite(QPainter& painter, const plot::Scene& scene, const QRectF& area) {
    painter.fillRect(area, Qt::white);
    paintScene(painter, scene, area);
}

Result writeSvg(const plot::Scene& scene, const std::string& path, int width, int height) {
    if (!writable(path)) return cannotWrite(path);
    QSvgGenerator generator;
    generator.setFileName(QString::fromStdString(path));
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(QStringLiteral("Tolvex"));
    QPainter painter;
    if (!painter.begin(&generator)) return cannotWrite(path);
    paintOnWhite(painter, scene, QRectF(0, 0, width, height));
    painter.end();
    return std::nullopt;
}

Result writePdf(const plot::Scene& scene, const std::string& path, int width, int height) {
    if (!writable(path)) return cannotWrite(path);
    QPdfWriter writer(QString::fromStdString(path));
    writer.setTitle(QStringLiteral("Tolvex"));
    writer.setResolution(kScreenDotsPerInch);
    const double toPoints = kPointsPerInch / kScreenDotsPerInch;
    writer.setPageSize(QPageSize(QSizeF(width * toPoints, height * toPoints), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) return cannotWrite(path);
    paintOnWhite(painter, scene, QRectF(0, 0, width, height));
    painter.end();
    return std::nullopt;
}

Result writeBitmap(const plot::Scene& scene, const std::string& path, int width, int height,
                   PictureFormat format) {
    const QImage image = renderSceneImage(scene, width, height);
    if (format == PictureFormat::Bmp) return writeBytes(path, encodeBmp8(image));
    if (!image.save(QString::fromStdString(path), "PNG")) return cannotWrite(path);
    return std::nullopt;
}

}  // namespace

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

Result exportScene(const plot::Scene& scene, const std::string& path, int width, int height) {
    const auto format = pictureFormatOf(path);
    if (!format) return "unknown picture format of '" + path + "' (use .png, .svg, .pdf, .bmp or .emf)";
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return "picture size " + std::to_string(width) + "x" + std::to_string(height) + " is outside 1.." +
               std::to_string(kMaxPictureSide);
    }
    if (*format == PictureFormat::Emf) {
        const auto bytes = emfBytes(scene, width, height, EmfUse::File);
        if (!bytes) return "cannot build the metafile for '" + path + "'";
        return writeBytes(path, *bytes);
    }
    const GuiSession session;
    if (*format == PictureFormat::Svg) return writeSvg(scene, path, width, height);
    if (*format == PictureFormat::Pdf) return writePdf(scene, path, width, height);
    return writeBitmap(scene, path, width, height, *format);
}

Result exportPlot(AnalysisState& state, const std::string& path, int width, int height) {
    const GuiSession session;  // the texts are measured with the font that draws them
    return exportScene(plot::buildPlotScene(state, sceneTextMeasure()), path, width, height);
}

}  // namespace tolvex::render
