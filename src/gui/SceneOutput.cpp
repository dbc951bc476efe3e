#include "gui/SceneOutput.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "gui/MainWindow.h"
#include "render/PlotExport.h"
#include "render/ScenePainter.h"

namespace tolvex::gui {
namespace {

constexpr const char* kExportFilter =
    "PNG Files (*.png)|*.png|SVG Files (*.svg)|*.svg|PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||";

}  // namespace

std::optional<QString> exportSceneTo(const plot::Scene& scene, const QString& path, int width, int height) {
    if (const auto error = render::exportScene(scene, path.toStdString(), width, height))
        return QString::fromStdString(*error);
    return std::nullopt;
}

bool printSceneTo(QPrinter& printer, const plot::Scene& scene) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page(QPointF(0, 0), QSizeF(printer.width(), printer.height()));
    painter.fillRect(page, Qt::white);
    render::paintScene(painter, scene, page);
    return painter.end();
}

void exportSceneWithDialog(MainWindow& window, const plot::Scene& scene, const std::string& name) {
    const auto path = window.interaction().chooseFile({true, "Export view", kExportFilter, "png", name});
    if (!path) return;
    if (const auto failure =
            exportSceneTo(scene, QString::fromStdString(*path), kViewExportWidth, kViewExportHeight))
        window.interaction().message(failure->toStdString());
}

void printSceneWithDialog(MainWindow& window, QWidget* parent, const plot::Scene& scene) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printSceneTo(printer, scene)) window.interaction().message("The printer could not be started.");
}

}  // namespace tolvex::gui
