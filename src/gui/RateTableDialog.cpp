#include "gui/RateTableDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <charconv>
#include <set>

#include "core/pumping/RateScheduleChecks.h"
#include "core/pumping/RateStepUnits.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"
#include "gui/Document.h"
#include "gui/MainWindow.h"
#include "gui/RecoveryView.h"
#include "gui/UndoHistory.h"

namespace tolvex::gui {
namespace {

constexpr int kTimeColumn = 0;
constexpr int kRateColumn = 1;

// The shortest text that reads back as the same double, with a decimal point in any locale.
QString numberText(double value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return QString::fromLatin1(buffer.data(), static_cast<int>(end - buffer.data()));
}

QString cellText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item == nullptr ? QString{} : item->text().trimmed();
}

}  // namespace

RateTableDialog::RateTableDialog(const std::vector<RateStep>& steps, QWidget* parent,
                                 const DisplayUnits& units)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rate steps"));
    setObjectName(QStringLiteral("rateTableDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QStringLiteral("From each time on the well pumps the rate until the next step. "
                                           "Recovery is a last step to rate 0; no rows: the constant pumping "
                                           "rate from time 0."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    table_ = new QTableWidget(static_cast<int>(steps.size()), 2, this);
    const auto header = [&units](const char* name, Dimension dimension) {
        const std::string unit = unitLabel(dimension, units);
        return QString::fromUtf8(unit.empty() ? std::string(name) : std::string(name) + " [" + unit + "]");
    };
    table_->setHorizontalHeaderLabels({header("Time", Dimension::Time), header("Rate", Dimension::Rate)});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < static_cast<int>(steps.size()); ++row) {
        table_->setItem(row, kTimeColumn, new QTableWidgetItem(numberText(steps[row].time)));
        table_->setItem(row, kRateColumn, new QTableWidgetItem(numberText(steps[row].rate)));
    }
    layout->addWidget(table_);
    auto* rowButtons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("&Add row"), this);
    auto* remove = new QPushButton(QStringLiteral("&Remove row"), this);
    add->setObjectName(QStringLiteral("addRow"));
    remove->setObjectName(QStringLiteral("removeRow"));
    connect(add, &QPushButton::clicked, this, &RateTableDialog::addRow);
    connect(remove, &QPushButton::clicked, this, &RateTableDialog::removeRows);
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();
    layout->addLayout(rowButtons);
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("rateError"));
    error_->setWordWrap(true);
    error_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(error_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &RateTableDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RateTableDialog::reject);
    layout->addWidget(buttons);
    resize(420, 360);
}

void RateTableDialog::addRow() {
    const int row = table_->currentRow() < 0 ? table_->rowCount() : table_->currentRow() + 1;
    table_->insertRow(row);
    table_->setCurrentCell(row, kTimeColumn);
}

void RateTableDialog::removeRows() {
    std::set<int> rows;
    for (const QTableWidgetSelectionRange& range : table_->selectedRanges())
        for (int row = range.topRow(); row <= range.bottomRow(); ++row) rows.insert(row);
    if (rows.empty() && table_->currentRow() >= 0) rows.insert(table_->currentRow());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) table_->removeRow(*row);
}

std::optional<QString> RateTableDialog::readRows(std::vector<RateStep>& steps) {
    steps.clear();
    for (int row = 0; row < table_->rowCount(); ++row) {
        double values[2] = {0.0, 0.0};
        for (int column : {kTimeColumn, kRateColumn}) {
            const QString text = cellText(*table_, row, column);
            const QString what = column == kTimeColumn ? QStringLiteral("time") : QStringLiteral("rate");
            const auto value = parseTypedNumber(text.toStdString());
            if (!value) {
                table_->setCurrentCell(row, column);
                return text.isEmpty() ? QStringLiteral("Row %1: the %2 is empty.").arg(row + 1).arg(what)
                                      : QStringLiteral("Row %1: the %2 \"%3\" is not a number.")
                                            .arg(row + 1)
                                            .arg(what, text);
            }
            values[column] = *value;
        }
        steps.push_back({values[kTimeColumn], values[kRateColumn]});
    }
    if (auto error = checkRateSchedule(steps)) {
        // "Rate step N" is row N of the table.
        const auto digits = error->find_first_of("0123456789");
        const int row = digits == std::string::npos ? 0 : std::stoi(error->substr(digits)) - 1;
        table_->setCurrentCell(row, kTimeColumn);
        return QString::fromStdString(*error)
            .replace(QStringLiteral("Rate step"), QStringLiteral("Row"))
            .replace(QStringLiteral("after step"), QStringLiteral("after row"));
    }
    return std::nullopt;
}

void RateTableDialog::accept() {
    std::vector<RateStep> steps;
    if (auto error = readRows(steps)) {
        error_->setText(*error);
        table_->setFocus();
        return;
    }
    error_->clear();
    steps_ = std::move(steps);
    QDialog::accept();
}

void applyRateSchedule(MainWindow& window, std::vector<RateStep> steps) {
    AnalysisState& state = window.state();
    if (state.rateSchedule == steps) return;
    AnalysisState before = state;
    state.rateSchedule = std::move(steps);
    if (window.undoHistory().record(QStringLiteral("Rate steps"), std::move(before)))
        window.document().info().changed = true;
    window.setWindowTitle(windowTitleFor(window.document()));
    window.updateCommandStates();
}

void addPumpingHistoryCommands(MainWindow& window) {
    QMenu* interpretation = nullptr;
    for (QAction* top : window.menuBar()->actions())
        if (top->menu() != nullptr && top->text().startsWith(QStringLiteral("Interpret")))
            interpretation = top->menu();
    if (interpretation == nullptr) return;
    auto* open = new QAction(QStringLiteral("Rate steps..."), &window);
    open->setObjectName(QStringLiteral("rateStepsAction"));
    open->setStatusTip(QStringLiteral("Enter the pumping history: rate steps and recovery"));
    QObject::connect(open, &QAction::triggered, &window, [&window] {
        // The table speaks the document's units; the state keeps SI when units are set.
        const DisplayUnits& units = window.state().units;
        RateTableDialog dialog(rateStepsFromSI(window.state().rateSchedule, units), &window, units);
        if (dialog.exec() != QDialog::Accepted) return;
        applyRateSchedule(window, rateStepsToSI(dialog.steps(), units));
    });
    // After "Input drawdowns": the history belongs with the measurements.
    const QList<QAction*> items = interpretation->actions();
    QAction* before = nullptr;
    for (int i = 0; i + 1 < items.size(); ++i)
        if (items[i]->text().startsWith(QStringLiteral("Input drawdowns"))) before = items[i + 1];
    interpretation->insertAction(before, open);
    addAgarwalCommand(window);
}

}  // namespace tolvex::gui
