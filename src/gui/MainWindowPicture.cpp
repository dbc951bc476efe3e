// The view's commands: plot settings, printing, the clipboard and the picture files. Printouts and the
// picture files carry the title block when the user chose it (PictureExport.h); the clipboard copies
// never do.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "gui/MainWindow.h"
#include "gui/PictureExport.h"
#include "gui/PlotPicture.h"
#include "gui/PlotView.h"
#include "gui/PlottingOptionsDialog.h"
#include "render/PictureBytes.h"

namespace tolvex::gui {

void MainWindow::showPlottingOptions() {
    PlottingOptionsDialog dialog(state_, this);
    dialog.exec();
}

void MainWindow::chooseFont() {
    bool ok = false;
    // A face the system lacks ("Times New Roman" on most Linux desktops) opens on the face that stands in
    // for it, so that OK without a choice keeps what the plot shows.
    QFont initial(QString::fromStdString(state_.plotFontFace));
    if (!QFontDatabase::hasFamily(initial.family())) initial.setFamily(QFontInfo(initial).family());
    ViewSettings& view = state_.view;
    if (view.fontPoints > 0) initial.setPointSize(view.fontPoints);
    initial.setBold(view.fontBold);
    initial.setItalic(view.fontItalic);
    const QFont chosen = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Font"));
    if (!ok) return;
    state_.plotFontFace = chosen.family().toStdString();
    // The size and style are kept for the clear style; the classic plot keeps its own size and weight.
    view.fontPoints = chosen.pointSize() > 0 ? chosen.pointSize() : 0;
    view.fontBold = chosen.bold();
    view.fontItalic = chosen.italic();
}

void MainWindow::setViewToggle(int value) {
    state_.viewToggle = value;
}

void MainWindow::print() {
    // Without an installed printer the dialog offers a PDF file: propose one beside the document rather
    // than in whatever folder the program was started from.
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        const QString name = QFileInfo(document_.title()).completeBaseName() + QStringLiteral(".pdf");
        printer_->setOutputFileName(QDir(document_.folder()).filePath(name));
    }
    printer_->setDocName(document_.title());
    QPrintDialog dialog(printer_.get(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printPlot(*printer_, state_, pageOptions(settings_)))
        interaction_->message("Not able to print on the chosen printer.");
}

void MainWindow::printPreview() {
    QPrintPreviewDialog preview(printer_.get(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { printPlot(*printer, state_, pageOptions(settings_)); });
    preview.exec();
}

void MainWindow::printSetup() {
    if (printer_->outputFormat() != QPrinter::NativeFormat) {
        interaction_->message("No printer is installed. Print lets you write the plot into a PDF file.");
        return;
    }
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

bool MainWindow::printWithoutDialog() {
    return printPlot(*printer_, state_, pageOptions(settings_));
}

std::optional<QString> MainWindow::printDocument(const QString& path) {
    if (const auto failure = loadDocumentFile(path))
        return QString::fromStdString(*failure).replace(QLatin1Char('\n'), QLatin1Char(' '));
    refreshAfterCommand();
    // Without a printer Qt would quietly turn the job into a PDF file without a name, and fail.
    if (QPrinterInfo::availablePrinters().isEmpty() || printer_->outputFormat() != QPrinter::NativeFormat)
        return QStringLiteral("no printer is installed (File > Print in the window can write a PDF file)");
    if (printer_->printerName().isEmpty()) return QStringLiteral("no default printer is chosen");
    printer_->setDocName(document_.title());
    if (!printWithoutDialog())
        return QStringLiteral("the printer \"%1\" did not take the job").arg(printer_->printerName());
    return std::nullopt;
}

void MainWindow::copyAsBitmap() {
    QApplication::clipboard()->setMimeData(bitmapMimeData(state_, view_->size()));
}

void MainWindow::copyAsMetafile() {
    QApplication::clipboard()->setMimeData(metafileMimeData(state_, view_->size()));
}

void MainWindow::exportBitmap() {
    const auto path = interaction_->chooseFile(
        {true, "Save As", "BMP Files (*.bmp)|*.bmp|DIB Files (*.dib)|*.dib|All Files (*.*)|*.*||", "bmp",
         "test.bmp"});
    if (!path) return;
    const auto bytes = render::asBytes(plotBmp(state_, view_->size(), pageOptions(settings_)));
    if (const auto failure = render::writePicture(*path, render::PictureFormat::Bmp, bytes))
        interaction_->message(*failure);
}

void MainWindow::exportMetafile() {
    const auto path = interaction_->chooseFile(
        {true, "Save As", "emf Files (*.emf)|*.emf|All Files (*.*)|*.*||", "emf", "test.emf"});
    if (!path) return;
    const auto emf = plotEmf(state_, view_->size(), false, pageOptions(settings_));
    const auto bytes = emf ? std::optional<std::string>(render::asBytes(*emf)) : std::nullopt;
    if (const auto failure = render::writePicture(*path, render::PictureFormat::Emf, bytes))
        interaction_->message(*failure);
}

}  // namespace tolvex::gui
