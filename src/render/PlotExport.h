// Pictures of the plot as files. The format follows the extension of the path: .png, .svg, .pdf, .bmp
// (8 bits per pixel) or .emf (enhanced metafile). Works with or without a running QGuiApplication.
#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"
#include "render/PictureBytes.h"

namespace tolvex::render {

// What a page holds beside the plot: the title block (off by default, as the plot has always been drawn)
// with its date, written as given.
struct PageOptions {
    bool titleBlock = false;
    std::string date;
};

// The scene of a page and the height of its title block band in logical units (0 without one).
struct PlotPage {
    plot::Scene scene;
    int band = 0;
};

// The plot of `state` on a page, with the title block when asked; the texts are measured with the fonts
// that draw them (needs a QGuiApplication).
[[nodiscard]] PlotPage plotPage(AnalysisState& state, const PageOptions& options);

// The pixel size of a page whose plot alone would fill `plotSize`: a title block adds its band below at
// the plot's own scale, so the plot is drawn exactly as large as without it.
[[nodiscard]] QSize pagePixels(const PlotPage& page, QSize plotSize);

// Today's date as a title block writes it (ISO 8601, e.g. 2026-03-14).
[[nodiscard]] std::string todayText();

// The format for a path's extension (any letter case), or nothing for an unknown one.
[[nodiscard]] std::optional<PictureFormat> pictureFormatOf(const std::string& path);

// The plot of `state` (which records its plot extents, as every drawing does) as a picture of
// width x height pixels (taller by the title block's band when `options` ask for one; pagePixels).
// The picture is made in memory and checked complete before it replaces the file
// (through writeFileOrMessage), so a failure leaves an existing picture as it was. Returns the message
// to show ("Not able to create file." and the quoted path with the reason on a second line), or nothing.
[[nodiscard]] std::optional<std::string> exportPlot(AnalysisState& state, const std::string& path, int width,
                                                    int height, const PageOptions& options = {});

// A scene as a picture file; the same rules and messages as exportPlot.
[[nodiscard]] std::optional<std::string> exportScene(const plot::Scene& scene, const std::string& path,
                                                     int width, int height);

// The scene painted on a white image of width x height pixels (needs a QGuiApplication).
[[nodiscard]] QImage renderSceneImage(const plot::Scene& scene, int width, int height);

// Largest picture side accepted, in pixels.
inline constexpr int kMaxPictureSide = 20000;

}  // namespace tolvex::render
