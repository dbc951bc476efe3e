#include "gui/MatchingWindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <span>

#include "core/commands/CommandIds.h"
#include "core/estimation/ResultSummaryText.h"
#include "core/plot/TypeCurvePlot.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"
#include "gui/Document.h"
#include "gui/MainWindow.h"
#include "gui/PlotView.h"
#include "gui/ResultsPanel.h"
#include "gui/SceneOutput.h"
#include "render/ScenePainter.h"

namespace tolvex::gui {
namespace {

constexpr double kStep = 0.05;      // decades an arrow key moves the data
constexpr double kFineStep = 0.01;  // with Shift

// Paints the owner's view and turns drags and arrow keys into moves of the data.
class MatchCanvas : public QWidget {
public:
    MatchCanvas(MatchingWindow& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
        setObjectName(QStringLiteral("matchingCanvas"));
        setMinimumSize(420, 350);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::OpenHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        render::paintScene(painter, owner_.view().scene, PlotView::plotArea(QRectF(rect())));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !owner_.view().mapping) return;
        dragging_ = true;
        last_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (dragging_) dragTo(event->position());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!dragging_ || event->button() != Qt::LeftButton) return;
        dragTo(event->position());
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
    }
    void keyPressEvent(QKeyEvent* event) override {
        const double step = event->modifiers().testFlag(Qt::ShiftModifier) ? kFineStep : kStep;
        switch (event->key()) {
            case Qt::Key_Left:
                owner_.moveBy(-step, 0.0);
                return;
            case Qt::Key_Right:
                owner_.moveBy(step, 0.0);
                return;
            case Qt::Key_Up:
                owner_.moveBy(0.0, step);
                return;
            case Qt::Key_Down:
                owner_.moveBy(0.0, -step);
                return;
            default:
                QWidget::keyPressEvent(event);
        }
    }

private:
    void dragTo(QPointF position) {
        const QPointF from = owner_.decadesAt(last_), to = owner_.decadesAt(position);
        last_ = position;
        owner_.moveBy(to.x() - from.x(), to.y() - from.y());
    }

    MatchingWindow& owner_;
    bool dragging_ = false;
    QPointF last_;
};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// "r/B = 0.1 (nearest curve)", empty for the single Theis curve.
QString curveText(const AnalysisState& state, const plot::MatchResult& r) {
    if (state.modelKind == static_cast<int>(ModelKind::Theis) || !r.nearest) return {};
    return qs(plot::familyDescription(state).familyName) + QStringLiteral(" = ") +
           qs(resultNumberText(r.placement.familyValue)) + QStringLiteral(" (nearest curve)");
}

QMenu* interpretationMenu(MainWindow& window) {
    for (QAction* top : window.menuBar()->actions())
        if (top->menu() != nullptr && top->text().startsWith(QStringLiteral("Interpret"))) return top->menu();
    return nullptr;
}

}  // namespace

MatchingWindow::MatchingWindow(MainWindow& window) : QDialog(&window), window_(window) {
    setObjectName(QStringLiteral("matchingWindow"));
    setWindowTitle(QStringLiteral("Match type curves"));
    // The match is read against the document's model and fields: they stay as they are meanwhile.
    setWindowModality(Qt::WindowModal);
    canvas_ = new MatchCanvas(*this, this);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("matchingNote"));
    note_->setWordWrap(true);
    parameters_ = new QLabel(this);
    parameters_->setObjectName(QStringLiteral("matchingParameters"));
    parameters_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    compute_ = new QPushButton(QStringLiteral("Compute type curves..."), this);
    compute_->setObjectName(QStringLiteral("matchingCompute"));
    accept_ = new QPushButton(QStringLiteral("&Accept match"), this);
    accept_->setObjectName(QStringLiteral("matchingAccept"));
    accept_->setToolTip(QStringLiteral("Make these parameters the start values of the document"));
    acceptAndFit_ = new QPushButton(QStringLiteral("Accept and &fit"), this);
    acceptAndFit_->setObjectName(QStringLiteral("matchingAcceptAndFit"));
    acceptAndFit_->setToolTip(QStringLiteral("Accept the match, then run least squares from it"));
    auto* exportButton = new QPushButton(QStringLiteral("&Export..."), this);
    exportButton->setObjectName(QStringLiteral("matchExport"));
    auto* printButton = new QPushButton(QStringLiteral("&Print..."), this);
    printButton->setObjectName(QStringLiteral("matchPrint"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("matchingCancel"));
    auto* hint = new QLabel(
        QStringLiteral("Drag the data onto a curve, or move them with the arrow keys (Shift: finer)."), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(parameters_, 1);
    buttons->addWidget(exportButton);
    buttons->addWidget(printButton);
    buttons->addWidget(compute_);
    buttons->addWidget(accept_);
    buttons->addWidget(acceptAndFit_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(canvas_, 1);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    connect(compute_, &QPushButton::clicked, this, [this] { computeTypeCurves(); });
    connect(accept_, &QPushButton::clicked, this, [this] { acceptMatch(false); });
    connect(acceptAndFit_, &QPushButton::clicked, this, [this] { acceptMatch(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(exportButton, &QPushButton::clicked, this,
            [this] { exportSceneWithDialog(window_, view_.scene, "type-curve-match.png"); });
    connect(printButton, &QPushButton::clicked, this,
            [this] { printSceneWithDialog(window_, this, view_.scene); });
    shift_ = plot::openingShift(window.state()).value_or(MatchShift{});
    rebuild();
    canvas_->setFocus();
    resize(820, 720);
}

void MatchingWindow::setShift(MatchShift shift) {
    if (window_.state().modelKind == static_cast<int>(ModelKind::SlugTest)) shift.dy = 0.0;  // H/H0 stays
    shift_ = shift;
    rebuild();
}

void MatchingWindow::moveBy(double dx, double dy) {
    if (!view_.mapping) return;
    setShift({shift_.dx + dx, shift_.dy + dy});
}

QPointF MatchingWindow::pixelOf(double decadeX, double decadeY) const {
    if (!view_.mapping) return {-1.0, -1.0};
    const render::SceneViewport v =
        render::sceneViewport(view_.scene, PlotView::plotArea(QRectF(canvas_->rect())));
    return {v.lowerLeft.x() + view_.mapping->logicalX(decadeX) * v.scale,
            v.lowerLeft.y() - view_.mapping->logicalY(decadeY) * v.scale};
}

QPointF MatchingWindow::decadesAt(QPointF pixel) const {
    if (!view_.mapping) return {};
    const render::SceneViewport v =
        render::sceneViewport(view_.scene, PlotView::plotArea(QRectF(canvas_->rect())));
    return {view_.mapping->decadeX((pixel.x() - v.lowerLeft.x()) / v.scale),
            view_.mapping->decadeY((v.lowerLeft.y() - pixel.y()) / v.scale)};
}

void MatchingWindow::rebuild() {
    view_ = plot::buildMatchingView(window_.state(), shift_, render::sceneTextMeasure());
    const std::optional<std::string> problem = plot::matchProblem(window_.state());
    // Only a missing family can be mended from here; the other faults are the document's.
    compute_->setVisible(problem && *problem == plot::kNoFamilyNote);
    note_->setText(qs(view_.result.problem));
    // Without axes the picture itself says what is missing; beside the curves the line says it.
    note_->setVisible(!view_.result.problem.empty() && view_.mapping.has_value());
    const bool ready = !view_.result.parameters.empty();
    accept_->setEnabled(ready);
    acceptAndFit_->setEnabled(ready);
    showParameters();
    canvas_->update();
}

void MatchingWindow::showParameters() {
    ResultsPanel* panel = window_.resultsPanel();
    if (view_.result.parameters.empty()) {
        parameters_->clear();
        if (panel != nullptr) panel->clearPreview();
        return;
    }
    const std::vector<plot::MatchRow> rows = plot::matchRows(window_.state(), view_.result.parameters);
    QStringList parts;
    const QString curve = curveText(window_.state(), view_.result);
    if (!curve.isEmpty()) parts << curve;
    for (const plot::MatchRow& row : rows) {
        QString part = qs(row.symbol) + QStringLiteral(" = ") + qs(resultNumberText(row.value));
        if (!row.unit.empty()) part += QLatin1Char(' ') + qs(row.unit);
        parts << part;
    }
    parameters_->setText(parts.join(QStringLiteral("   ")));
    if (panel != nullptr) panel->showMatchPreview(rows, curve);
}

void MatchingWindow::computeTypeCurves() {
    window_.runCommand(kCmdTypeCurveCalculation);
    shift_ = plot::openingShift(window_.state()).value_or(shift_);
    rebuild();
}

void MatchingWindow::acceptMatch(bool fit) {
    rebuild();  // the parameters of the document as it is now
    if (view_.result.parameters.empty()) return;
    AnalysisState& state = window_.state();
    AnalysisState before = state;
    writeParameterVector(state, std::span<const double>(view_.result.parameters));
    if (window_.undoHistory().record(QStringLiteral("Accept match"), std::move(before)))
        window_.document().info().changed = true;
    if (ResultsPanel* panel = window_.resultsPanel()) {
        panel->clearPreview();
        panel->refresh();
    }
    window_.setWindowTitle(windowTitleFor(window_.document()));
    window_.updateCommandStates();
    if (window_.plotView() != nullptr) window_.plotView()->update();
    QDialog::accept();
    if (fit) window_.runCommand(kCmdLeastSquaresInversion);
}

void MatchingWindow::done(int result) {
    if (ResultsPanel* panel = window_.resultsPanel()) panel->clearPreview();
    QDialog::done(result);
}

void addMatchingCommand(MainWindow& window) {
    QMenu* interpretation = interpretationMenu(window);
    if (interpretation == nullptr) return;
    auto* open = new QAction(QStringLiteral("Match type curves..."), &window);
    open->setObjectName(QStringLiteral("matchTypeCurvesAction"));
    open->setStatusTip(QStringLiteral("Lay the data over the type curves and move them to a match"));
    QObject::connect(open, &QAction::triggered, &window, [&window] {
        // Afresh each time: the window opens where the document's parameters put the data now.
        delete window.findChild<MatchingWindow*>(QStringLiteral("matchingWindow"));
        auto* matching = new MatchingWindow(window);
        matching->show();
        matching->raise();
        matching->activateWindow();
    });
    // After "Estimate start values": a match is another way to start a fit.
    const QList<QAction*> items = interpretation->actions();
    QAction* before = nullptr;
    for (int i = 0; i + 1 < items.size(); ++i)
        if (items[i]->text().startsWith(QStringLiteral("Estimate start values"))) before = items[i + 1];
    interpretation->insertAction(before, open);
}

}  // namespace tolvex::gui
