#include "gui/SeriesPanel.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <variant>

#include "core/input/SeriesImport.h"
#include "core/series/SeriesChecks.h"
#include "core/series/UsedRange.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex::gui {
namespace {

QString numberText(double value) {
    return QString::fromStdString(formatGeneral(value, 7));
}

// The observation geometry's fields in the order of setGeometry's texts; kinds are whole numbers up to
// their largest choice, depths fractions of the aquifer thickness.
struct GeometryField {
    const char* label;
    int maxKind;  // -1: a fraction
};
constexpr std::array<GeometryField, 12> kGeometryFields{{
    {"Partial penetration: observation kind (0 piezometer, 1 screen)", 1},
    {"Piezometer depth z/b", -1},
    {"Screen bottom l/b", -1},
    {"Screen top d/b", -1},
    {"Leaky partial penetration: observation kind (0, 1)", 1},
    {"Piezometer depth z/b", -1},
    {"Screen bottom l/b", -1},
    {"Screen top d/b", -1},
    {"Unconfined: observation form (0 point, 1 screen, 2 full thickness)", 2},
    {"Point depth z/b", -1},
    {"Screen from z1/b", -1},
    {"Screen to z2/b", -1},
}};

QStringList geometryTexts(const ObservationGeometry& g) {
    return {
        QString::number(g.ppObsKind),  numberText(g.ppPiezoZ),  numberText(g.ppObsL),  numberText(g.ppObsD),
        QString::number(g.lppObsKind), numberText(g.lppPiezoZ), numberText(g.lppObsL), numberText(g.lppObsD),
        QString::number(g.mnObsKind),  numberText(g.mnZ),       numberText(g.mnZ1),    numberText(g.mnZ2)};
}

void storeGeometry(ObservationGeometry& g, const std::array<double, 12>& v) {
    g.ppObsKind = static_cast<int>(v[0]);
    g.ppPiezoZ = static_cast<float>(v[1]);
    g.ppObsL = static_cast<float>(v[2]);
    g.ppObsD = static_cast<float>(v[3]);
    g.lppObsKind = static_cast<int>(v[4]);
    g.lppPiezoZ = static_cast<float>(v[5]);
    g.lppObsL = static_cast<float>(v[6]);
    g.lppObsD = static_cast<float>(v[7]);
    g.mnObsKind = static_cast<int>(v[8]);
    g.mnZ = static_cast<float>(v[9]);
    g.mnZ1 = static_cast<float>(v[10]);
    g.mnZ2 = static_cast<float>(v[11]);
}

}  // namespace

SeriesPanel::SeriesPanel(AnalysisState& state, QWidget* parent)
    : QDockWidget(QStringLiteral("Observation series"), parent), state_(state) {
    setObjectName(QStringLiteral("SeriesPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    table_ = new QTableWidget(0, ColumnCount, body);
    table_->setObjectName(QStringLiteral("seriesTable"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("r"), QStringLiteral("On"), QStringLiteral("Weight")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWhatsThis(QStringLiteral(
        "The observation series fitted together. Row 1 is the measurement table's series. A series that is "
        "switched off or has weight 0 takes no part in the fits."));
    layout->addWidget(table_);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add from file..."), body);
    remove_ = new QPushButton(QStringLiteral("Remove"), body);
    geometry_ = new QPushButton(QStringLiteral("Geometry..."), body);
    measurements_ = new QPushButton(QStringLiteral("Measurements..."), body);
    for (QPushButton* b : {add, remove_, geometry_, measurements_}) buttons->addWidget(b);
    layout->addLayout(buttons);
    setWidget(body);

    connect(add, &QPushButton::clicked, this, &SeriesPanel::addFromChosenFile);
    connect(remove_, &QPushButton::clicked, this, &SeriesPanel::removeSelected);
    connect(geometry_, &QPushButton::clicked, this, &SeriesPanel::editGeometry);
    connect(measurements_, &QPushButton::clicked, this, &SeriesPanel::showMeasurements);
    connect(table_, &QTableWidget::cellChanged, this, &SeriesPanel::cellEdited);
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
        const bool further = selectedRow() > 0;
        remove_->setEnabled(further);
        geometry_->setEnabled(further);
        measurements_->setEnabled(further);
    });
    refresh();
}

void SeriesPanel::fillRow(int row, const QString& name, float r, bool on, double weight) {
    table_->setItem(row, Name, new QTableWidgetItem(name));
    table_->setItem(row, Distance, new QTableWidgetItem(numberText(r)));
    auto* switched = new QTableWidgetItem;
    switched->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    switched->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, On, switched);
    table_->setItem(row, Weight, new QTableWidgetItem(numberText(weight)));
}

void SeriesPanel::refresh() {
    filling_ = true;
    const int selected = selectedRow();
    table_->setRowCount(static_cast<int>(state_.extraSeries.size()) + 1);
    const SeriesSettings& first = state_.firstSeries;
    // Distances in the document's length unit; the state keeps SI when units are set.
    const auto shown = [this](float r) { return fromSI(r, Dimension::Length, state_.units); };
    fillRow(0, QString::fromStdString(first.name), shown(state_.radialDistance), first.on, first.weight);
    for (std::size_t k = 0; k < state_.extraSeries.size(); ++k) {
        const ObservationSeries& x = state_.extraSeries[k];
        fillRow(static_cast<int>(k) + 1, QString::fromStdString(x.settings.name), shown(x.radialDistance),
                x.settings.on, x.settings.weight);
    }
    if (selected >= 0 && selected < table_->rowCount()) table_->selectRow(selected);
    const bool further = selectedRow() > 0;
    remove_->setEnabled(further);
    geometry_->setEnabled(further);
    measurements_->setEnabled(further);
    filling_ = false;
    // A document that brings further series shows them; closing the dock afterwards is the user's choice.
    if (shownCount_ == 0 && !state_.extraSeries.empty()) show();
    shownCount_ = state_.extraSeries.size();
}

int SeriesPanel::selectedRow() const {
    const auto rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SeriesPanel::cellEdited(int row, int column) {
    if (filling_ || row < 0 || row >= table_->rowCount()) return;
    QTableWidgetItem* item = table_->item(row, column);
    if (item == nullptr) return;
    SeriesSettings& settings =
        row == 0 ? state_.firstSeries : state_.extraSeries[static_cast<std::size_t>(row - 1)].settings;
    std::optional<std::string> error;
    if (column == Name) {
        settings.name = item->text().toStdString();
    } else if (column == On) {
        settings.on = item->checkState() == Qt::Checked;
    } else {
        const auto value = parseTypedNumber(item->text().toStdString());
        if (!value) {
            error = "\"" + item->text().toStdString() + "\" is not a number";
        } else if (column == Weight) {
            error = checkWeight(*value);
            if (!error) settings.weight = *value;
        } else {
            error = checkRadialDistance(*value);
            if (!error && !fitsFloat(*value)) error = "the radial distance is beyond the float range";
            if (!error) {
                float& r = row == 0 ? state_.radialDistance
                                    : state_.extraSeries[static_cast<std::size_t>(row - 1)].radialDistance;
                r = static_cast<float>(toSI(*value, Dimension::Length, state_.units));
            }
        }
    }
    if (error) {
        refresh();
        emit refused(QStringLiteral("Series %1: %2.").arg(row + 1).arg(QString::fromStdString(*error)));
        return;
    }
    state_.modified = 1;
    emit changed();
}

std::optional<QString> SeriesPanel::addSeriesFromFile(const QString& path, const QString& name,
                                                      double radialDistance) {
    SeriesFile file;
    file.name = name.toStdString();
    file.path = path.toStdString();
    file.radialDistance = radialDistance;
    file.delimiter = state_.importDelimiter;
    file.units = state_.units;
    file.modelKind = state_.modelKind;
    auto result = importSeries(file);
    if (const auto* error = std::get_if<std::string>(&result)) return QString::fromStdString(*error);
    state_.extraSeries.push_back(std::move(std::get<ObservationSeries>(result)));
    state_.modified = 1;
    refresh();
    emit changed();
    return std::nullopt;
}

bool SeriesPanel::removeSeries(int row) {
    if (row < 1 || row > static_cast<int>(state_.extraSeries.size())) return false;
    state_.extraSeries.erase(state_.extraSeries.begin() + (row - 1));
    state_.modified = 1;
    refresh();
    emit changed();
    return true;
}

std::optional<QString> SeriesPanel::setGeometry(int row, const QStringList& texts) {
    if (row < 1 || row > static_cast<int>(state_.extraSeries.size()) || texts.size() != 12)
        return QStringLiteral("No further series is chosen.");
    std::array<double, 12> values{};
    for (int i = 0; i < 12; ++i) {
        const GeometryField& field = kGeometryFields[static_cast<std::size_t>(i)];
        const auto v = parseTypedNumber(texts[i].toStdString());
        const bool kindOk =
            field.maxKind < 0 || (v && *v == static_cast<int>(*v) && *v >= 0 && *v <= field.maxKind);
        const bool fractionOk = field.maxKind >= 0 || (v && *v >= 0.0 && *v <= 1.0);
        if (!v || !kindOk || !fractionOk) {
            return QStringLiteral("%1: \"%2\" is not %3.")
                .arg(QString::fromUtf8(field.label), texts[i],
                     field.maxKind < 0 ? QStringLiteral("a fraction from 0 to 1")
                                       : QStringLiteral("a whole number from 0 to %1").arg(field.maxKind));
        }
        values[static_cast<std::size_t>(i)] = *v;
    }
    storeGeometry(state_.extraSeries[static_cast<std::size_t>(row - 1)].geometry, values);
    state_.modified = 1;
    emit changed();
    return std::nullopt;
}

void SeriesPanel::addFromChosenFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Add an observation series"), {},
                                     QStringLiteral("Measurements (*.txt *.dat *.csv);;All files (*)"));
    if (path.isEmpty()) return;
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Series name"), QStringLiteral("Name:"),
                                               QLineEdit::Normal, QFileInfo(path).baseName(), &ok);
    if (!ok) return;
    const double r =
        QInputDialog::getDouble(this, QStringLiteral("Radial distance"),
                                QStringLiteral("Distance r from the pumping well:"), 1.0, 0.0, 1e9, 4, &ok);
    if (!ok) return;
    if (const auto error = addSeriesFromFile(path, name, r)) emit refused(*error);
}

void SeriesPanel::removeSelected() {
    removeSeries(selectedRow());
}

void SeriesPanel::editGeometry() {
    const int row = selectedRow();
    if (row < 1) return;
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Observation geometry of series %1").arg(row + 1));
    auto* form = new QFormLayout(&dialog);
    const QStringList current = geometryTexts(state_.extraSeries[static_cast<std::size_t>(row - 1)].geometry);
    QList<QLineEdit*> edits;
    for (int i = 0; i < 12; ++i) {
        auto* edit = new QLineEdit(current[i], &dialog);
        form->addRow(QString::fromUtf8(kGeometryFields[static_cast<std::size_t>(i)].label), edit);
        edits << edit;
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return;
    QStringList texts;
    for (QLineEdit* edit : edits) texts << edit->text();
    if (const auto error = setGeometry(row, texts)) emit refused(*error);
}

void SeriesPanel::showMeasurements() {
    const int row = selectedRow();
    if (row < 1) return;
    const ObservationSeries& x = state_.extraSeries[static_cast<std::size_t>(row - 1)];
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Measurements of series %1").arg(row + 1));
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new QTableWidget(static_cast<int>(x.times.size()), 3, &dialog);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("Drawdown(m)"), QStringLiteral("Drawdown(c)")});
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const UsedRange used = usedRange(x);
    for (std::size_t i = 0; i < x.times.size(); ++i) {
        const int r = static_cast<int>(i);
        grid->setItem(r, 0, new QTableWidgetItem(numberText(x.times[i])));
        grid->setItem(r, 1, new QTableWidgetItem(i < x.values.size() ? numberText(x.values[i]) : QString{}));
        const bool hasCalculated = i >= used.first && i - used.first < x.calculated.size();
        grid->setItem(
            r, 2, new QTableWidgetItem(hasCalculated ? numberText(x.calculated[i - used.first]) : QString{}));
    }
    layout->addWidget(grid);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(box);
    dialog.resize(420, 480);
    dialog.exec();
}

}  // namespace tolvex::gui
