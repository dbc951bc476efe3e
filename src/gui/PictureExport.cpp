#include "gui/PictureExport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <array>

#include "gui/Document.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {
namespace {

struct FormatItem {
    render::PictureFormat format;
    const char* caption;
    const char* objectName;
    const char* extension;
    const char* filter;
};

constexpr std::array<FormatItem, 3> kItems{{
    {render::PictureFormat::Png, "PNG file", "exportPngAction", "png",
     "PNG Files (*.png)|*.png|All Files (*.*)|*.*||"},
    {render::PictureFormat::Svg, "SVG file", "exportSvgAction", "svg",
     "SVG Files (*.svg)|*.svg|All Files (*.*)|*.*||"},
    {render::PictureFormat::Pdf, "PDF file", "exportPdfAction", "pdf",
     "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||"},
}};

const FormatItem& itemOf(render::PictureFormat format) {
    for (const FormatItem& item : kItems)
        if (item.format == format) return item;
    return kItems.front();
}

const char* extensionOf(render::PictureFormat format) {
    switch (format) {
        case render::PictureFormat::Bmp:
            return "bmp";
        case render::PictureFormat::Emf:
            return "emf";
        default:
            return itemOf(format).extension;
    }
}

QMenu* fileMenu(MainWindow& window) {
    const QList<QAction*> tops = window.menuBar()->actions();
    return tops.isEmpty() ? nullptr : tops.front()->menu();
}

QMenu* submenu(QMenu& menu, const QString& title) {
    for (QAction* action : menu.actions())
        if (action->menu() != nullptr && action->text() == title) return action->menu();
    return nullptr;
}

// The item after the one whose caption starts with `caption`, or nullptr (the end of the menu).
QAction* itemAfter(QMenu& menu, const QString& caption) {
    const QList<QAction*> items = menu.actions();
    for (int i = 0; i + 1 < items.size(); ++i)
        if (items[i]->text().startsWith(caption)) return items[i + 1];
    return nullptr;
}

void addTitleBlockChoice(MainWindow& window, QMenu& file) {
    auto* choice = new QAction(QStringLiteral("Title block"), &window);
    choice->setObjectName(QStringLiteral("titleBlockAction"));
    choice->setCheckable(true);
    choice->setChecked(titleBlockChosen(QSettings()));
    choice->setStatusTip(
        QStringLiteral("Print and export the plot with a title block: project, well, model, parameters, "
                       "RMS and date"));
    QObject::connect(choice, &QAction::toggled, &window,
                     [](bool on) { QSettings().setValue(QString::fromLatin1(kTitleBlockSetting), on); });
    file.insertAction(itemAfter(file, QStringLiteral("P&rint Setup")), choice);
}

}  // namespace

bool titleBlockChosen(const QSettings& settings) {
    return settings.value(QString::fromLatin1(kTitleBlockSetting), false).toBool();
}

render::PageOptions pageOptions(const QSettings& settings) {
    return {titleBlockChosen(settings), render::todayText()};
}

QString proposedPictureName(const Document& document, render::PictureFormat format) {
    const QString base =
        document.path().isEmpty() ? QStringLiteral("test") : QFileInfo(document.path()).completeBaseName();
    return QDir(document.folder())
        .filePath(base + QLatin1Char('.') + QString::fromLatin1(extensionOf(format)));
}

render::PictureFormat formatForName(const std::string& path, render::PictureFormat chosen) {
    return render::pictureFormatOf(path).value_or(chosen);
}

std::optional<std::string> writePlotPicture(AnalysisState& state, const std::string& path,
                                            render::PictureFormat format, QSize plotSize,
                                            const render::PageOptions& options) {
    const render::PlotPage page = render::plotPage(state, options);
    const QSize pixels = render::pagePixels(page, plotSize);
    return render::writePicture(path, format,
                                render::pictureBytes(page.scene, format, pixels.width(), pixels.height()));
}

void exportPicture(MainWindow& window, render::PictureFormat format) {
    const FormatItem& item = itemOf(format);
    const auto path =
        window.interaction().chooseFile({true, "Save As", item.filter, item.extension,
                                         proposedPictureName(window.document(), format).toStdString()});
    if (!path) return;
    const auto failure = writePlotPicture(window.state(), *path, formatForName(*path, format), kPictureSize,
                                          pageOptions(QSettings()));
    if (failure) window.interaction().message(*failure);
}

void addPictureExportCommands(MainWindow& window) {
    QMenu* file = fileMenu(window);
    if (file == nullptr) return;
    if (QMenu* exports = submenu(*file, QStringLiteral("Export graphic as"))) {
        for (const FormatItem& item : kItems) {
            auto* action = new QAction(QString::fromLatin1(item.caption), &window);
            action->setObjectName(QString::fromLatin1(item.objectName));
            action->setStatusTip(QStringLiteral("Save the plot as a %1 picture")
                                     .arg(QString::fromLatin1(item.extension).toUpper()));
            const render::PictureFormat format = item.format;
            QObject::connect(action, &QAction::triggered, &window,
                             [&window, format] { exportPicture(window, format); });
            exports->addAction(action);
        }
    }
    addTitleBlockChoice(window, *file);
}

}  // namespace tolvex::gui
