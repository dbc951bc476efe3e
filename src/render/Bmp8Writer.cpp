#include "render/Bmp8Writer.h"

#include <QImage>
#include <algorithm>

#include "render/Bmp8Palette.h"

namespace tolvex::render {
namespace {

constexpr std::uint16_t kBitmapSignature = 0x4D42;  // "BM"
constexpr std::uint16_t kBitsPerPixel = 8;

class LittleEndian {
public:
    explicit LittleEndian(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void u16(std::uint16_t v) {
        bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

void writeHeaders(std::vector<std::uint8_t>& bytes, std::uint32_t width, std::uint32_t height,
                  std::uint32_t imageSize) {
    LittleEndian out(bytes);
    out.u16(kBitmapSignature);
    out.u32(kBmpPixelOffset + imageSize);  // the packed bitmap that follows + 14
    out.u16(0);
    out.u16(0);
    out.u32(kBmpPixelOffset);
    out.u32(kBmpInfoHeaderSize);
    out.u32(width);
    out.u32(height);  // positive: rows stored bottom-up
    out.u16(1);       // planes
    out.u16(kBitsPerPixel);
    out.u32(0);  // uncompressed
    out.u32(imageSize);
    for (int i = 0; i < 4; ++i) out.u32(0);  // resolutions and colour counts: the defaults
}

}  // namespace

std::vector<std::uint8_t> encodeBmp8(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(std::max(image.width(), 0));
    const auto height = static_cast<std::uint32_t>(std::max(image.height(), 0));
    const std::uint32_t rowSize = bmp8RowSize(width);
    const std::uint32_t imageSize = rowSize * height;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(kBmpPixelOffset + imageSize);
    writeHeaders(bytes, width, height, imageSize);
    const Palette palette = bmpPalette();
    for (const plot::Rgb& c : palette) {
        bytes.insert(bytes.end(), {c.blue, c.green, c.red, 0});
    }
    PaletteMapper mapper(palette);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            bytes.push_back(
                mapper.index({static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                              static_cast<std::uint8_t>(qBlue(p))}));
        }
        bytes.resize(bytes.size() + (rowSize - width), 0);
    }
    return bytes;
}

}  // namespace tolvex::render
