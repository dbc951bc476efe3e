// Pictures of the plot as PNG, SVG and PDF files from the File menu, beside the BMP and metafile exports
// the menu has always had, and the "Title block" choice that printing and every export follow. The choice
// is the user's, not the document's: it is kept in the program's settings.
#pragma once

#include <QSettings>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

#include "core/state/AnalysisState.h"
#include "render/PictureBytes.h"
#include "render/PlotExport.h"

namespace tolvex::gui {

class Document;
class MainWindow;

inline constexpr char kTitleBlockSetting[] = "picture/titleBlock";

// The plot's size in PNG, SVG and PDF pictures from the window: one pixel per logical unit, whatever
// size the window has (a title block makes the page taller).
inline constexpr QSize kPictureSize{1200, 1000};

// Whether printouts and pictures carry the title block (off until the user asks for it).
[[nodiscard]] bool titleBlockChosen(const QSettings& settings);
// The page options of printouts and pictures made now: the title block as chosen, dated today.
[[nodiscard]] render::PageOptions pageOptions(const QSettings& settings);

// The file name a picture export proposes: beside the document, after its name ("site.tvx" gives
// "site.png"); "test.png" in the home folder for an untitled document.
[[nodiscard]] QString proposedPictureName(const Document& document, render::PictureFormat format);

// The format a chosen name is written in: the menu item's, unless the name ends in the extension of
// another picture format, which is then what the user asked for.
[[nodiscard]] render::PictureFormat formatForName(const std::string& path, render::PictureFormat chosen);

// The plot of `state` as a picture file of `format` (plot size `plotSize` in pixels). The picture is made
// in memory and checked complete before it replaces the file through a temporary file, so a failure
// leaves an existing file as it was. The message to show, or nothing.
[[nodiscard]] std::optional<std::string> writePlotPicture(AnalysisState& state, const std::string& path,
                                                          render::PictureFormat format, QSize plotSize,
                                                          const render::PageOptions& options);

// Asks for a file name and writes the plot of the window's document in `format`.
void exportPicture(MainWindow& window, render::PictureFormat format);

// Adds "PNG file", "SVG file" and "PDF file" to File > Export graphic as, and the checkable
// "Title block" after Print Setup.
void addPictureExportCommands(MainWindow& window);

}  // namespace tolvex::gui
