// The "Diagnostic plots" window: the residuals of the last estimation and the straight-line plots of the
// measured data, one view at a time chosen from a list, drawn by the same scene painter as the main plot
// and exported or printed like it. The window follows the document: whenever the main plot is redrawn,
// so is the view.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "core/plot/DiagnosticViews.h"
#include "core/plot/Scene.h"

class QComboBox;
class QPrinter;

namespace tolvex::gui {

class MainWindow;

class DiagnosticsWindow : public QDialog {
    Q_OBJECT
public:
    explicit DiagnosticsWindow(MainWindow& window);

    void showView(plot::DiagnosticView view);
    [[nodiscard]] plot::DiagnosticView currentView() const;
    // The scene of the current view for the document as it is now.
    [[nodiscard]] plot::Scene scene() const;

    // Writes the view as a PNG, SVG or PDF file (by the extension of `path`); the message to show when
    // it cannot, the file as it was.
    [[nodiscard]] std::optional<QString> exportTo(const QString& path, int width, int height) const;
    // One page with the view fitted into the printable area; false when the printer cannot be started.
    bool printTo(QPrinter& printer) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void exportWithDialog();
    void printWithDialog();

    MainWindow& window_;
    QComboBox* views_ = nullptr;
    QWidget* canvas_ = nullptr;
};

// The View menu's "Diagnostic plots..." item, which opens (or raises) the window.
void addDiagnosticsCommand(MainWindow& window);

}  // namespace tolvex::gui
