#include "gui/UnitsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/input/DisplayUnitsChange.h"
#include "core/units/Units.h"

namespace tolvex::gui {
namespace {

// A combo box of the unit choices, the names kept as item data, showing `current` (SI when empty).
QComboBox* unitBox(std::span<const UnitChoice> choices, const std::string& current, QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const UnitChoice& c : choices) {
        box->addItem(QString::fromUtf8(c.label.data(), static_cast<qsizetype>(c.label.size())),
                     QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size())));
    }
    const int at = box->findData(QString::fromStdString(current));
    box->setCurrentIndex(at >= 0 ? at : 0);
    return box;
}

std::string nameOf(const QComboBox* box) {
    return box->currentData().toString().toStdString();
}

}  // namespace

UnitsDialog::UnitsDialog(const DisplayUnits& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Units"));
    auto* layout = new QVBoxLayout(this);
    none_ = new QRadioButton(QStringLiteral("None (consistent units of your choice)"), this);
    units_ = new QRadioButton(QStringLiteral("Enter and show the numbers in these units:"), this);
    layout->addWidget(none_);
    layout->addWidget(units_);

    auto* form = new QFormLayout;
    time_ = unitBox(timeUnits(), current.time, this);
    length_ = unitBox(lengthUnits(), current.length, this);
    rate_ = unitBox(rateUnits(), current.rate, this);
    form->addRow(QStringLiteral("Time:"), time_);
    form->addRow(QStringLiteral("Length:"), length_);
    form->addRow(QStringLiteral("Pumping rate:"), rate_);
    layout->addLayout(form);

    auto* note =
        new QLabel(QStringLiteral("Transmissivity is then in length²/time and hydraulic conductivity "
                                  "in length/time. Choosing units for a document without them reads "
                                  "the numbers already entered as being in those units."),
                   this);
    note->setWordWrap(true);
    layout->addWidget(note);

    (current.set() ? units_ : none_)->setChecked(true);
    connect(units_, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    updateEnabled();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

DisplayUnits UnitsDialog::chosen() const {
    if (!units_->isChecked()) return {};
    return {nameOf(time_), nameOf(length_), nameOf(rate_)};
}

void UnitsDialog::updateEnabled() {
    for (QComboBox* box : {time_, length_, rate_}) box->setEnabled(units_->isChecked());
}

bool editUnits(AnalysisState& state, QWidget* parent) {
    UnitsDialog dialog(state.units, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const DisplayUnits chosen = dialog.chosen();
    if (chosen == state.units) return false;
    changeDisplayUnits(state, chosen);
    return true;
}

}  // namespace tolvex::gui
