// About box and the user guide.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/MainWindow.h"

namespace tolvex::gui {

void MainWindow::showAbout() {
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("About Tolvex"));
    box.setIconPixmap(windowIcon().pixmap(64, 64));
    box.setText(QStringLiteral("<b>Tolvex</b> Version %1").arg(QApplication::applicationVersion()));
    box.setInformativeText(
        QStringLiteral("Interpretation of pumping tests and slug tests: type curves, drawdowns and the "
                       "estimation of aquifer parameters."));
    box.exec();
}

void MainWindow::showHelp() {
    // One guide window at a time; it stays open beside the main window while the user works.
    if (auto* open = findChild<QDialog*>(QStringLiteral("userGuide"))) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* guide = new QDialog(this);
    guide->setObjectName(QStringLiteral("userGuide"));
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->setWindowTitle(QStringLiteral("Tolvex Help Topics"));
    auto* layout = new QVBoxLayout(guide);
    auto* browser = new QTextBrowser(guide);
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl(QStringLiteral("qrc:/tolvex/user-guide.md")), QTextDocument::MarkdownResource);
    layout->addWidget(browser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, guide);
    connect(buttons, &QDialogButtonBox::rejected, guide, &QDialog::close);
    layout->addWidget(buttons);
    guide->resize(640, 720);
    guide->show();
}

}  // namespace tolvex::gui
