#include "gui/ResultsPanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/estimation/ResultSummaryBuilder.h"
#include "core/estimation/ResultSummaryText.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString number(double value) {
    return qs(resultNumberText(value));
}

QString interval(const ResultParameter& p) {
    if (!std::isfinite(p.lower) || !std::isfinite(p.upper)) return QStringLiteral("-");
    return number(p.lower) + QStringLiteral(" .. ") + number(p.upper);
}

}  // namespace

ResultsPanel::ResultsPanel(const AnalysisState& state, QWidget* parent)
    : QDockWidget(QStringLiteral("Results"), parent), state_(state) {
    setObjectName(QStringLiteral("resultsPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    header_ = new QLabel(body);
    header_->setObjectName(QStringLiteral("resultsHeader"));
    header_->setWordWrap(true);
    header_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stale_ = new QLabel(QStringLiteral("The data or the model changed after this fit: run the estimation "
                                       "again for results of the document as it is."),
                        body);
    stale_->setObjectName(QStringLiteral("resultsStale"));
    stale_->setWordWrap(true);
    stale_->setStyleSheet(QStringLiteral("color: #a04000"));
    preview_ = new QLabel(body);
    preview_->setObjectName(QStringLiteral("resultsMatchPreview"));
    preview_->setWordWrap(true);
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_->setStyleSheet(QStringLiteral("background: #fff4e0; border: 1px solid #d08000; padding: 4px"));
    preview_->hide();
    table_ = new QTableWidget(0, ColumnCount, body);
    table_->setObjectName(QStringLiteral("resultsTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Quantity"), QStringLiteral("Value"),
                                       QStringLiteral("Unit"), QStringLiteral("Standard error"),
                                       QStringLiteral("95 % interval"), QStringLiteral("Note")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The columns take the width their contents need; the dock may still be narrowed below the table's
    // width (a scroll bar then shows the rest), so that it never squeezes the plot.
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustIgnored);
    table_->setMinimumWidth(240);
    warnings_ = new QLabel(body);
    warnings_->setObjectName(QStringLiteral("resultsWarnings"));
    warnings_->setWordWrap(true);
    copyText_ = new QPushButton(QStringLiteral("Copy as text"), body);
    copyText_->setObjectName(QStringLiteral("copyResultsText"));
    copyText_->setToolTip(QStringLiteral("Put the results on the clipboard as lines of text"));
    copyTable_ = new QPushButton(QStringLiteral("Copy as table"), body);
    copyTable_->setObjectName(QStringLiteral("copyResultsTable"));
    copyTable_->setToolTip(
        QStringLiteral("Put the results on the clipboard as tab-separated rows for a spreadsheet "
                       "(numbers with a decimal point)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyText_);
    buttons->addWidget(copyTable_);
    buttons->addStretch();
    layout->addWidget(preview_);
    layout->addWidget(header_);
    layout->addWidget(stale_);
    layout->addWidget(table_);
    layout->addWidget(warnings_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setWidget(body);
    connect(copyText_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(summaryText()); });
    connect(copyTable_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(summaryTable()); });
    refresh();
}

void ResultsPanel::refresh() {
    table_->setRowCount(0);
    const bool present = state_.lastResults.has_value();
    copyText_->setEnabled(present);
    copyTable_->setEnabled(present);
    stale_->setVisible(present && !resultsCurrent(state_));
    if (!present) {
        header_->setText(QStringLiteral("No estimation yet: run a trial, simplex or least-squares fit."));
        warnings_->clear();
        shownTable_.clear();
        return;
    }
    fill(*state_.lastResults);
    std::string table = resultSummaryTable(*state_.lastResults);
    if (table != shownTable_) showWide();
    shownTable_ = std::move(table);
}

void ResultsPanel::showWide() {
    show();
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (window == nullptr || isFloating()) return;
    table_->resizeColumnsToContents();
    constexpr int kMarginsAndScrollBar = 48;
    int wanted = 2 * table_->frameWidth() + kMarginsAndScrollBar;
    for (int column = 0; column < ColumnCount; ++column) wanted += table_->columnWidth(column);
    wanted = std::min(wanted, window->width() * 45 / 100);
    if (width() < wanted) window->resizeDocks({this}, {wanted}, Qt::Horizontal);
}

void ResultsPanel::addRow(const QStringList& cells) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    for (int column = 0; column < cells.size() && column < ColumnCount; ++column)
        table_->setItem(row, column, new QTableWidgetItem(cells[column]));
}

void ResultsPanel::fill(const ResultSummary& s) {
    header_->setText(
        QStringLiteral("Model: %1\nMethod: %2").arg(qs(s.modelName), qs(methodNameOfKey(s.method))));
    for (const ResultParameter& p : s.parameters) {
        addRow({qs(p.symbol), number(p.value), qs(p.unit), number(p.standardError), interval(p),
                qs(parameterMarks(p))});
    }
    for (const ResultQuantity& q : s.derived) addRow({qs(q.symbol), number(q.value), qs(q.unit)});
    addRow({QStringLiteral("RMS error"), number(s.rmsError), qs(s.rmsUnit)});
    addRow({QStringLiteral("Iterations"), QString::number(s.iterations), QString(), QString(), QString(),
            qs(convergenceText(s))});
    QStringList lines;
    for (const std::string& w : s.warnings) lines << QStringLiteral("\u26a0 ") + qs(w);
    warnings_->setText(lines.join(QLatin1Char('\n')));
}

void ResultsPanel::showMatchPreview(const std::vector<plot::MatchRow>& rows, const QString& curve) {
    QStringList lines{QStringLiteral("Visual match (not accepted)")};
    if (!curve.isEmpty()) lines << curve;
    for (const plot::MatchRow& row : rows) {
        QString line = qs(row.symbol) + QStringLiteral(" = ") + number(row.value);
        if (!row.unit.empty()) line += QLatin1Char(' ') + qs(row.unit);
        lines << line;
    }
    preview_->setText(lines.join(QLatin1Char('\n')));
    preview_->show();
    show();
}

void ResultsPanel::clearPreview() {
    preview_->clear();
    preview_->hide();
}

QString ResultsPanel::summaryText() const {
    if (!state_.lastResults) return {};
    ResultSummary shown = *state_.lastResults;
    shown.stale = !resultsCurrent(state_);
    return qs(resultSummaryText(shown));
}

QString ResultsPanel::summaryTable() const {
    if (!state_.lastResults) return {};
    ResultSummary shown = *state_.lastResults;
    shown.stale = !resultsCurrent(state_);
    return qs(resultSummaryTable(shown));
}

ResultsPanel* addResultsPanel(MainWindow& window) {
    auto* panel = new ResultsPanel(window.state(), &window);
    window.addDockWidget(Qt::RightDockWidgetArea, panel);
    panel->hide();
    QAction* toggle = panel->toggleViewAction();
    toggle->setObjectName(QStringLiteral("resultsPanelAction"));
    toggle->setStatusTip(QStringLiteral("Show or hide the results of the last estimation"));
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (menu == nullptr || !top->text().contains(QStringLiteral("View"))) continue;
        // After the window's bars, before the report items.
        QAction* before = nullptr;
        for (QAction* item : menu->actions())
            if (before == nullptr && item->isSeparator()) before = item;
        menu->insertAction(before, toggle);
    }
    return panel;
}

}  // namespace tolvex::gui
