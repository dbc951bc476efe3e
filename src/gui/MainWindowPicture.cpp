// The view's commands: plot settings, printing, the clipboard and the picture files.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
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
#include "gui/PlotPicture.h"
#include "gui/PlotView.h"
#include "gui/PlottingOptionsDialog.h"

namespace tolvex::gui {
namespace {

bool writeBytes(const std::string& path, const char* data, qsizetype size) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(data, size) == size && file.flush();
}

}  // namespace

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
    const QFont chosen = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Font"));
    // Only the typeface is taken: the plot keeps its own size and weight.
    if (ok) state_.plotFontFace = chosen.family().toStdString();
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
    if (!printPlot(*printer_, state_)) interaction_->message("Not able to print on the chosen printer.");
}

void MainWindow::printPreview() {
    QPrintPreviewDialog preview(printer_.get(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { printPlot(*printer, state_); });
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
    return printPlot(*printer_, state_);
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
    const std::vector<std::uint8_t> bytes = plotBmp(state_, view_->size());
    if (!writeBytes(*path, reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())))
        interaction_->message("Not able to create file.\n" + *path);
}

void MainWindow::exportMetafile() {
    const auto path = interaction_->chooseFile(
        {true, "Save As", "emf Files (*.emf)|*.emf|All Files (*.*)|*.*||", "emf", "test.emf"});
    if (!path) return;
    const auto bytes = plotEmf(state_, view_->size(), false);
    const bool written = bytes && writeBytes(*path, reinterpret_cast<const char*>(bytes->data()),
                                             static_cast<qsizetype>(bytes->size()));
    if (!written) interaction_->message("Not able to create file.\n" + *path);
}

}  // namespace tolvex::gui
