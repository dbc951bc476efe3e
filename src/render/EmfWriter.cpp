#include "render/EmfWriter.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <variant>

#include "core/persist/Archive.h"

// libEMF brings Windows-style headers with macros of their own; they are included last and used only here.
#include <libEMF/emf.h>

namespace tolvex::render {
namespace {

constexpr int kDefaultCharset = 1;
constexpr int kFixedPitchModern = 0x31;
constexpr int kHundredthsPerMillimetre = 100;

// Application name and picture title, each ended by a zero, the whole ended by a second zero.
constexpr char kFileDescription[] = "Tolvex\0save\0";
constexpr char kClipboardDescription[] = "ImageName\0Copy\0";

COLORREF colourRef(plot::Rgb c) {
    return RGB(c.red, c.green, c.blue);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TemporaryFile = std::unique_ptr<std::FILE, FileCloser>;

// A pen, brush or font selected into the device context for one primitive, deselected and deleted after.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        SelectObject(dc_, previous_);
        DeleteObject(object_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

class EmfDrawer {
public:
    explicit EmfDrawer(HDC dc) : dc_(dc) {}

    void operator()(const plot::Line& line) const {
        const SelectedObject pen(dc_, CreatePen(PS_SOLID, 0, colourRef(line.pen)));
        MoveToEx(dc_, line.from.x, line.from.y, nullptr);
        LineTo(dc_, line.to.x, line.to.y);
    }

    void operator()(const plot::Polyline& polyline) const {
        std::vector<POINT> points;
        points.reserve(polyline.points.size());
        for (const plot::Point& p : polyline.points) points.push_back(POINT{p.x, p.y});
        const SelectedObject pen(dc_, CreatePen(PS_SOLID, 0, colourRef(polyline.pen)));
        Polyline(dc_, points.data(), static_cast<INT>(points.size()));
    }

    void operator()(const plot::Ellipse& ellipse) const {
        const SelectedObject pen(dc_, CreatePen(PS_SOLID, 0, colourRef(ellipse.pen)));
        const SelectedObject brush(dc_, CreateSolidBrush(colourRef(ellipse.brush)));
        Ellipse(dc_, ellipse.lowerLeft.x, ellipse.upperRight.y, ellipse.upperRight.x, ellipse.lowerLeft.y);
    }

    void operator()(const plot::Text& text) const {
        const plot::PlotFont& f = text.font;
        const SelectedObject font(
            dc_, CreateFontA(f.height, f.width, text.escapement, text.escapement, f.weight, 0, 0, 0,
                             kDefaultCharset, 0, 0, 0, kFixedPitchModern, f.face.c_str()));
        SetTextColor(dc_, colourRef(text.colour));
        SetBkColor(dc_, colourRef(text.background));
        // The scene holds UTF-8; the metafile's ANSI text is Latin-1 ("m²" from the unit labels). A text
        // Latin-1 cannot hold goes as it is.
        const std::string bytes = utf8ToLatin1(text.text).value_or(text.text);
        TextOutA(dc_, text.anchor.x, text.anchor.y, bytes.c_str(), static_cast<INT>(bytes.size()));
    }

private:
    HDC dc_;
};

// The isotropic mapping: the scene's extent onto the picture, logical (0, 0) at its lower-left corner
// and y growing upwards.
void prepare(HDC dc, const plot::Scene& scene, int width, int height) {
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, scene.width, scene.height, nullptr);
    SetViewportExtEx(dc, width, -height, nullptr);
    SetViewportOrgEx(dc, 0, height, nullptr);
    SetBkMode(dc, OPAQUE);
}

std::optional<std::vector<std::uint8_t>> readAll(std::FILE* file) {
    if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_END) != 0) return std::nullopt;
    const long size = std::ftell(file);
    if (size <= 0) return std::nullopt;
    std::rewind(file);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> emfBytes(const plot::Scene& scene, int width, int height,
                                                  EmfUse use) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const TemporaryFile file(std::tmpfile());
    if (!file) return std::nullopt;
    // The picture frame in hundredths of a millimetre, converted with the reference device's resolution.
    const RECT frame{0, 0, width * kEmfDeviceMillimetresX * kHundredthsPerMillimetre / kEmfDevicePixelsX,
                     height * kEmfDeviceMillimetresY * kHundredthsPerMillimetre / kEmfDevicePixelsY};
    const bool forFile = use == EmfUse::File;
    const HDC dc = CreateEnhMetaFileWithFILEA(0, file.get(), forFile ? &frame : nullptr,
                                              forFile ? kFileDescription : kClipboardDescription);
    if (dc == 0) return std::nullopt;
    HENHMETAFILE metafile = 0;
    try {
        prepare(dc, scene, width, height);
        const EmfDrawer drawer(dc);
        for (const plot::Primitive& primitive : scene.primitives) std::visit(drawer, primitive);
        metafile = CloseEnhMetaFileWithFILE(dc);
    } catch (const std::exception&) {
        return std::nullopt;  // libEMF throws when its storage cannot be written (a full disk, a size limit)
    }
    if (metafile == 0) return std::nullopt;
    DeleteEnhMetaFile(metafile);
    return readAll(file.get());
}

}  // namespace tolvex::render
