#include "render/PictureBytes.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "core/persist/FileReplace.h"
#include "render/Bmp8Writer.h"
#include "render/EmfWriter.h"
#include "render/PlotExport.h"
#include "render/ScenePainter.h"

namespace tolvex::render {
namespace {

// Pixels of the picture are taken at the usual screen resolution when a page size is needed.
constexpr int kScreenDotsPerInch = 96;
constexpr double kPointsPerInch = 72.0;
constexpr std::size_t kEmfSignatureOffset = 40;      // dSignature of the EMR_HEADER record
constexpr std::size_t kEmfSizeOffset = 48;           // nBytes of the EMR_HEADER record
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kBmpSizeOffset = 2;

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return value;
}

std::string_view withoutTrailingSpace(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

// Paints the scene on a white page of `device` and ends the painter; false when either failed.
bool paintOnWhite(QPaintDevice& device, const plot::Scene& scene, int width, int height) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.fillRect(QRectF(0, 0, width, height), Qt::white);
    paintScene(painter, scene, QRectF(0, 0, width, height));
    return painter.end();
}

std::optional<std::string> svgBytes(const plot::Scene& scene, int width, int height) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(QStringLiteral("Tolvex"));
    if (!paintOnWhite(generator, scene, width, height)) return std::nullopt;
    return buffer.data().toStdString();
}

std::optional<std::string> pdfBytes(const plot::Scene& scene, int width, int height) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Tolvex"));
        writer.setResolution(kScreenDotsPerInch);
        const double toPoints = kPointsPerInch / kScreenDotsPerInch;
        writer.setPageSize(QPageSize(QSizeF(width * toPoints, height * toPoints), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!paintOnWhite(writer, scene, width, height)) return std::nullopt;
    }
    return buffer.data().toStdString();
}

std::optional<std::string> pngBytes(const plot::Scene& scene, int width, int height) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!renderSceneImage(scene, width, height).save(&buffer, "PNG")) return std::nullopt;
    return buffer.data().toStdString();
}

}  // namespace

std::optional<std::string> pictureBytes(const plot::Scene& scene, PictureFormat format, int width,
                                        int height) {
    switch (format) {
        case PictureFormat::Png:
            return pngBytes(scene, width, height);
        case PictureFormat::Svg:
            return svgBytes(scene, width, height);
        case PictureFormat::Pdf:
            return pdfBytes(scene, width, height);
        case PictureFormat::Bmp:
            return asBytes(encodeBmp8(renderSceneImage(scene, width, height)));
        case PictureFormat::Emf:
            if (auto bytes = emfBytes(scene, width, height, EmfUse::File)) return asBytes(*bytes);
            return std::nullopt;
    }
    return std::nullopt;
}

bool pictureComplete(PictureFormat format, std::string_view bytes) {
    static constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
    static constexpr std::string_view kPngEnd("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    switch (format) {
        case PictureFormat::Png:
            return bytes.starts_with(kPngSignature) && bytes.ends_with(kPngEnd);
        case PictureFormat::Svg:
            return bytes.starts_with("<?xml") && withoutTrailingSpace(bytes).ends_with("</svg>");
        case PictureFormat::Pdf:
            return bytes.starts_with("%PDF-") && withoutTrailingSpace(bytes).ends_with("%%EOF");
        case PictureFormat::Bmp:
            return bytes.size() >= kBmpPixelOffset && bytes.starts_with("BM") &&
                   littleEndian32(bytes, kBmpSizeOffset) == bytes.size();
        case PictureFormat::Emf:
            return bytes.size() > kEmfSizeOffset + 4 && littleEndian32(bytes, 0) == 1 &&
                   littleEndian32(bytes, kEmfSignatureOffset) == kEmfSignature &&
                   littleEndian32(bytes, kEmfSizeOffset) == bytes.size();
    }
    return false;
}

std::optional<std::string> writePicture(const std::string& path, PictureFormat format,
                                        const std::optional<std::string>& bytes) {
    if (!bytes || !pictureComplete(format, *bytes))
        return "Not able to create file.\n\"" + path + "\": the picture could not be made completely";
    return writeFileOrMessage(path, *bytes);
}

}  // namespace tolvex::render
