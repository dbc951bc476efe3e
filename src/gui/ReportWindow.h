// The report inside the program: a window of its own with the report file's text, read-only in the
// system's fixed-width font (the report's columns line up only there), and Save As, Print and Copy.
// Save As writes the bytes that were read, not the text shown, so a copy is the report exactly.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>

class QAction;
class QPlainTextEdit;
class QPrinter;

namespace tolvex::gui {

class GuiInteraction;

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    // `ui` asks for the file name of Save As and shows failures; it outlives the window (both belong to
    // the main window).
    ReportWindow(GuiInteraction& ui, QWidget* parent);

    // Reads the report file and shows it; the message to show when it cannot be read (the window then
    // keeps what it showed before).
    [[nodiscard]] std::optional<std::string> load(const QString& path);

    [[nodiscard]] QString path() const { return path_; }
    [[nodiscard]] const QByteArray& bytes() const { return bytes_; }
    [[nodiscard]] QPlainTextEdit* textView() const { return text_; }
    [[nodiscard]] QAction* saveAsAction() const { return saveAs_; }
    [[nodiscard]] QAction* printAction() const { return print_; }
    [[nodiscard]] QAction* copyAction() const { return copy_; }

    // Writes the report's bytes to `target` through a temporary file; the message on failure.
    [[nodiscard]] std::optional<std::string> saveTo(const QString& target) const;
    // Prints the report's text in the fixed-width font; false when the printer cannot be started.
    bool printOn(QPrinter& printer) const;
    // The selection, or the whole report when nothing is selected, onto the clipboard.
    void copyToClipboard() const;

private:
    void saveAs();
    void print();

    GuiInteraction& ui_;
    QPlainTextEdit* text_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* print_ = nullptr;
    QAction* copy_ = nullptr;
    QString path_;
    QByteArray bytes_;
};

// The report text of file bytes: UTF-8 when the bytes are valid UTF-8, otherwise Latin-1 (the classic
// reports write the document's texts as Latin-1 bytes), with its CR LF line ends as plain line ends.
[[nodiscard]] QString reportFileText(const QByteArray& bytes);

// Shows the report file in the report window of `owner` (made on first use, raised after); false when
// the file cannot be read.
bool showReportWindow(GuiInteraction& ui, QWidget* owner, const QString& path);

}  // namespace tolvex::gui
