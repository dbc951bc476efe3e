// Pictures of the plot as files. The format follows the extension of the path: .png, .svg, .pdf, .bmp
// (8 bits per pixel) or .emf (enhanced metafile). Works with or without a running QGuiApplication.
#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"
#include "render/PictureBytes.h"

namespace tolvex::render {

// The format for a path's extension (any letter case), or nothing for an unknown one.
[[nodiscard]] std::optional<PictureFormat> pictureFormatOf(const std::string& path);

// The plot of `state` (which records its plot extents, as every drawing does) as a picture of
// width x height pixels. The picture is made in memory and checked complete before it replaces the file
// (through writeFileOrMessage), so a failure leaves an existing picture as it was. Returns the message
// to show ("Not able to create file." and the quoted path with the reason on a second line), or nothing.
[[nodiscard]] std::optional<std::string> exportPlot(AnalysisState& state, const std::string& path, int width,
                                                    int height);

// A scene as a picture file; the same rules and messages as exportPlot.
[[nodiscard]] std::optional<std::string> exportScene(const plot::Scene& scene, const std::string& path,
                                                     int width, int height);

// The scene painted on a white image of width x height pixels (needs a QGuiApplication).
[[nodiscard]] QImage renderSceneImage(const plot::Scene& scene, int width, int height);

// Largest picture side accepted, in pixels.
inline constexpr int kMaxPictureSide = 20000;

}  // namespace tolvex::render
