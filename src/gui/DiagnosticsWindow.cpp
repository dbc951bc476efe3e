#include "gui/DiagnosticsWindow.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/MainWindow.h"
#include "gui/PlotView.h"
#include "gui/SceneOutput.h"
#include "render/ScenePainter.h"

namespace tolvex::gui {
namespace {

// Paints a scene the owner hands it on every paint, on white, at the drawing space's proportions.
class SceneCanvas : public QWidget {
public:
    SceneCanvas(const DiagnosticsWindow& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
        setMinimumSize(360, 300);
        setObjectName(QStringLiteral("diagnosticsCanvas"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        render::paintScene(painter, owner_.scene(), PlotView::plotArea(QRectF(rect())));
    }

private:
    const DiagnosticsWindow& owner_;
};

QMenu* viewMenu(MainWindow& window) {
    for (QAction* top : window.menuBar()->actions())
        if (top->menu() != nullptr && top->text() == QStringLiteral("&View")) return top->menu();
    return nullptr;
}

}  // namespace

DiagnosticsWindow::DiagnosticsWindow(MainWindow& window) : QDialog(&window), window_(window) {
    setObjectName(QStringLiteral("diagnosticsWindow"));
    setWindowTitle(QStringLiteral("Diagnostic plots"));
    views_ = new QComboBox(this);
    views_->setObjectName(QStringLiteral("diagnosticViewChoice"));
    for (plot::DiagnosticView view : plot::kDiagnosticViews)
        views_->addItem(QString::fromUtf8(plot::diagnosticViewTitle(view)), static_cast<int>(view));
    canvas_ = new SceneCanvas(*this, this);
    auto* exportButton = new QPushButton(QStringLiteral("&Export..."), this);
    exportButton->setObjectName(QStringLiteral("diagnosticsExport"));
    auto* printButton = new QPushButton(QStringLiteral("&Print..."), this);
    printButton->setObjectName(QStringLiteral("diagnosticsPrint"));
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    auto* top = new QHBoxLayout;
    top->addWidget(views_, 1);
    top->addWidget(exportButton);
    top->addWidget(printButton);
    top->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(canvas_, 1);
    connect(views_, &QComboBox::currentIndexChanged, canvas_, [this] { canvas_->update(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { exportWithDialog(); });
    connect(printButton, &QPushButton::clicked, this, [this] { printWithDialog(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    // Redrawn with the main plot, which is redrawn after every change of the document.
    if (window.plotView() != nullptr) window.plotView()->installEventFilter(this);
    resize(760, 640);
}

void DiagnosticsWindow::showView(plot::DiagnosticView view) {
    views_->setCurrentIndex(views_->findData(static_cast<int>(view)));
}

plot::DiagnosticView DiagnosticsWindow::currentView() const {
    return static_cast<plot::DiagnosticView>(views_->currentData().toInt());
}

plot::Scene DiagnosticsWindow::scene() const {
    return plot::buildDiagnosticScene(window_.state(), currentView(), render::sceneTextMeasure());
}

std::optional<QString> DiagnosticsWindow::exportTo(const QString& path, int width, int height) const {
    return exportSceneTo(scene(), path, width, height);
}

bool DiagnosticsWindow::printTo(QPrinter& printer) const {
    return printSceneTo(printer, scene());
}

bool DiagnosticsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && isVisible()) canvas_->update();
    return QDialog::eventFilter(watched, event);
}

void DiagnosticsWindow::exportWithDialog() {
    exportSceneWithDialog(window_, scene(), std::string(plot::diagnosticViewName(currentView())) + ".png");
}

void DiagnosticsWindow::printWithDialog() {
    printSceneWithDialog(window_, this, scene());
}

void addDiagnosticsCommand(MainWindow& window) {
    QMenu* view = viewMenu(window);
    if (view == nullptr) return;
    auto* open = new QAction(QStringLiteral("Diagnostic plots..."), &window);
    open->setObjectName(QStringLiteral("diagnosticPlotsAction"));
    open->setStatusTip(
        QStringLiteral("Show the residuals of the fit and the straight-line plots of the data"));
    QObject::connect(open, &QAction::triggered, &window, [&window] {
        auto* diagnostics = window.findChild<DiagnosticsWindow*>(QStringLiteral("diagnosticsWindow"));
        if (diagnostics == nullptr) diagnostics = new DiagnosticsWindow(window);
        diagnostics->show();
        diagnostics->raise();
        diagnostics->activateWindow();
    });
    view->addAction(open);
}

}  // namespace tolvex::gui
