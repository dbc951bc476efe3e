// Export and print of a view's scene (the diagnostic plots, the type-curve match), as the main plot's
// pictures: PNG, SVG or PDF one pixel per logical unit, or one printed page.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "core/plot/Scene.h"

class QPrinter;
class QWidget;

namespace tolvex::gui {

class MainWindow;

inline constexpr int kViewExportWidth = 1200;  // one pixel per logical unit
inline constexpr int kViewExportHeight = 1000;

// Writes the scene as a PNG, SVG or PDF file (by the extension of `path`); the message to show when it
// cannot, the file as it was.
[[nodiscard]] std::optional<QString> exportSceneTo(const plot::Scene& scene, const QString& path, int width,
                                                   int height);
// One page with the scene fitted into the printable area; false when the printer cannot be started.
bool printSceneTo(QPrinter& printer, const plot::Scene& scene);

// Asks for a file (proposing `name`) and writes the scene there; a failure is told in a message.
void exportSceneWithDialog(MainWindow& window, const plot::Scene& scene, const std::string& name);
// The print dialog, then the page; a printer that cannot be started is told in a message.
void printSceneWithDialog(MainWindow& window, QWidget* parent, const plot::Scene& scene);

}  // namespace tolvex::gui
