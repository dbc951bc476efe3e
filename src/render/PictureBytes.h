// Pictures of a scene made in memory, and the check that a picture is complete before it replaces a file:
// a failed export must leave the old picture, never a truncated one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot/Scene.h"

namespace tolvex::render {

enum class PictureFormat { Png, Svg, Pdf, Bmp, Emf };

// The whole picture file of `scene` at width x height pixels, or nothing when the painter or the
// encoder failed. Needs a QGuiApplication for every format but EMF.
[[nodiscard]] std::optional<std::string> pictureBytes(const plot::Scene& scene, PictureFormat format,
                                                      int width, int height);

// Whether `bytes` hold a whole picture of the format, from its signature to its last structure (PNG:
// the IEND chunk; SVG: the closing tag; PDF: the end-of-file marker; BMP and EMF: the size their
// header records).
[[nodiscard]] bool pictureComplete(PictureFormat format, std::string_view bytes);

// Writes a picture made in memory through writeFileOrMessage, only when it is complete, so that a failed
// export leaves an existing picture as it was. Returns the message to show ("Not able to create file."
// and the quoted path with the reason on a second line), or nothing.
[[nodiscard]] std::optional<std::string> writePicture(const std::string& path, PictureFormat format,
                                                      const std::optional<std::string>& bytes);

// The bytes of an encoder that works on byte vectors, as the string the file writer takes.
[[nodiscard]] inline std::string asBytes(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace tolvex::render
