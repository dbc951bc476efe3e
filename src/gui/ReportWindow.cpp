#include "gui/ReportWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringDecoder>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/persist/FileReplace.h"
#include "gui/GuiInteraction.h"

namespace tolvex::gui {
namespace {

constexpr char kReportFilter[] = "Report Files (*.out)|*.out|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr int kInitialWidth = 820;  // the report's 80 columns and a scroll bar
constexpr int kInitialHeight = 640;

QAction* addButton(QToolBar* bar, const QString& text, const QString& name, QKeySequence::StandardKey key) {
    QAction* action = bar->addAction(text);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return action;
}

}  // namespace

QString reportFileText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    // The reports end their lines with CR LF; the view shows lines.
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

ReportWindow::ReportWindow(GuiInteraction& ui, QWidget* parent) : QWidget(parent, Qt::Window), ui_(ui) {
    setObjectName(QStringLiteral("reportWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);  // kept for the next report; the main window owns it
    auto* bar = new QToolBar(this);
    saveAs_ =
        addButton(bar, QStringLiteral("Save As..."), QStringLiteral("reportSaveAs"), QKeySequence::SaveAs);
    print_ = addButton(bar, QStringLiteral("Print..."), QStringLiteral("reportPrint"), QKeySequence::Print);
    copy_ = addButton(bar, QStringLiteral("Copy"), QStringLiteral("reportCopy"), QKeySequence::Copy);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("reportText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);  // the report's columns stay columns
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(text_);
    connect(saveAs_, &QAction::triggered, this, &ReportWindow::saveAs);
    connect(print_, &QAction::triggered, this, &ReportWindow::print);
    connect(copy_, &QAction::triggered, this, &ReportWindow::copyToClipboard);
    resize(kInitialWidth, kInitialHeight);
}

std::optional<std::string> ReportWindow::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "Not able to read the report.\n\"" + path.toStdString() +
               "\": " + file.errorString().toStdString();
    bytes_ = file.readAll();
    path_ = path;
    text_->setPlainText(reportFileText(bytes_));
    setWindowTitle(QStringLiteral("Report - %1").arg(QFileInfo(path).fileName()));
    return std::nullopt;
}

std::optional<std::string> ReportWindow::saveTo(const QString& target) const {
    return writeFileOrMessage(target.toStdString(), bytes_.toStdString());
}

bool ReportWindow::printOn(QPrinter& printer) const {
    QTextDocument document;
    document.setDefaultFont(text_->font());
    document.setPlainText(text_->toPlainText());
    document.setDocumentMargin(0);
    printer.setDocName(QFileInfo(path_).fileName());
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}

void ReportWindow::copyToClipboard() const {
    const QString selected = text_->textCursor().selectedText();
    // A selection holds paragraph separators (U+2029) where the lines end.
    QString text = selected.isEmpty() ? text_->toPlainText() : selected;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QApplication::clipboard()->setText(text);
}

void ReportWindow::saveAs() {
    const QString proposed = QDir(QFileInfo(path_).absolutePath())
                                 .filePath(QFileInfo(path_).completeBaseName() + QStringLiteral(" copy.out"));
    const auto chosen =
        ui_.chooseFile({true, "Save Report As", kReportFilter, "out", proposed.toStdString()});
    if (!chosen) return;
    if (const auto failure = saveTo(QString::fromStdString(*chosen))) ui_.message(*failure);
}

void ReportWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printOn(printer)) ui_.message("Not able to print the report on the chosen printer.");
}

bool showReportWindow(GuiInteraction& ui, QWidget* owner, const QString& path) {
    auto* window =
        owner != nullptr ? owner->findChild<ReportWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    const bool made = window == nullptr;
    if (made) {
        window = new ReportWindow(ui, owner);
        // Without a main window to own it, the window goes when it is closed.
        if (owner == nullptr) window->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (window->load(path)) {
        if (made) window->deleteLater();
        return false;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

}  // namespace tolvex::gui
