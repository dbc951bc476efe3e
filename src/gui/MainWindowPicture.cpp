// The view's commands: plot settings, printing, the clipboard and the picture files.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

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
    const QFont chosen = QFontDialog::getFont(&ok, QFont(QString::fromStdString(state_.plotFontFace)), this,
                                              QStringLiteral("Font"));
    // Only the typeface is taken: the plot keeps its own size and weight.
    if (ok) state_.plotFontFace = chosen.family().toStdString();
}

void MainWindow::setViewToggle(int value) {
    state_.viewToggle = value;
}

void MainWindow::print() {
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
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

bool MainWindow::printWithoutDialog() {
    return printPlot(*printer_, state_);
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
