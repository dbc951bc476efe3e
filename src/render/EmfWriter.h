// Draws a plot scene into an enhanced metafile with the same graphics calls a Windows device context
// receives: isotropic mapping of the logical space onto the picture, solid thinnest pens, solid brushes,
// logical fonts whose escapement turns the text, opaque white text backgrounds. Built on libEMF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/plot/Scene.h"

namespace tolvex::render {

// What the metafile is for, which decides its description and whether it carries a frame rectangle.
enum class EmfUse {
    File,       // "Tolvex" / "save", framed by the picture size in hundredths of a millimetre
    Clipboard,  // "ImageName" / "Copy", frame left to the library
};

// The metafile of `scene` fitted into a picture of width x height device pixels, or nothing if the
// library or the temporary storage failed.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> emfBytes(const plot::Scene& scene, int width,
                                                                int height, EmfUse use);

// The device libEMF records as the reference: its size in pixels and in millimetres.
inline constexpr int kEmfDevicePixelsX = 1024;
inline constexpr int kEmfDevicePixelsY = 768;
inline constexpr int kEmfDeviceMillimetresX = 320;
inline constexpr int kEmfDeviceMillimetresY = 240;

}  // namespace tolvex::render
