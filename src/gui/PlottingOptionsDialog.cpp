#include "gui/PlottingOptionsDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/state/FieldTable.h"
#include "gui/MessageBoxes.h"

namespace tolvex::gui {
namespace {

QString objectNameFor(int id) {
    return QStringLiteral("control%1").arg(id);
}

}  // namespace

PlottingOptionsDialog::PlottingOptionsDialog(AnalysisState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    showError = [](QWidget* owner, const QString& message) { showWarning(owner, message); };
    setWindowTitle(QStringLiteral("Plotting Options"));
    auto* layout = new QVBoxLayout(this);

    const AxisIds horizontalIds{102, 216, 222};
    const AxisIds verticalIds{104, 218, 224};
    x_ = addAxisGroup(layout, QStringLiteral("Horizontal axis"), horizontalIds,
                      {state.plotXMin, state.plotXMax, state.xAxisLog, state.xLabelHidden});
    y_ = addAxisGroup(layout, QStringLiteral("Vertical axis"), verticalIds,
                      {state.plotYMin, state.plotYMax, state.yAxisLog, state.yLabelHidden});

    auto* data = new QGroupBox(QStringLiteral("Data"), this);
    auto* dGrid = new QGridLayout(data);
    data_ = addChoice(dGrid, 0, QStringLiteral("Display:"), 220, QStringLiteral("Yes"), QStringLiteral("No"),
                      state.dataHidden);
    layout->addWidget(data);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PlottingOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PlottingOptionsDialog::reject);
    layout->addWidget(buttons);
}

PlottingOptionsDialog::AxisControls PlottingOptionsDialog::addAxisGroup(QVBoxLayout* layout,
                                                                        const QString& title,
                                                                        const AxisIds& ids,
                                                                        const AxisValues& values) {
    auto* box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(box);
    AxisControls axis;
    axis.minimum = addLimit(grid, 0, QStringLiteral("Minimum"), ids.minimum, values.minimum);
    axis.maximum = addLimit(grid, 1, QStringLiteral("Maximum"), ids.minimum + 1, values.maximum);
    axis.type = addChoice(grid, 2, QStringLiteral("Type: "), ids.type, QStringLiteral("Linear"),
                          QStringLiteral("Log"), values.log);
    axis.label = addChoice(grid, 3, QStringLiteral("Display lable:"), ids.label, QStringLiteral("Yes"),
                           QStringLiteral("No"), values.labelHidden);
    layout->addWidget(box);
    return axis;
}

QLineEdit* PlottingOptionsDialog::addLimit(QGridLayout* grid, int row, const QString& label, int id,
                                           float value) {
    auto* edit = new QLineEdit(QString::number(static_cast<double>(value), 'g', 6), this);
    edit->setObjectName(objectNameFor(id));
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
    return edit;
}

QButtonGroup* PlottingOptionsDialog::addChoice(QGridLayout* grid, int row, const QString& label, int firstId,
                                               const QString& first, const QString& second, int selected) {
    auto* group = new QButtonGroup(this);
    grid->addWidget(new QLabel(label, this), row, 0);
    int column = 1;
    for (const QString& text : {first, second}) {
        auto* button = new QRadioButton(text, this);
        button->setObjectName(objectNameFor(firstId + column - 1));
        group->addButton(button, column - 1);
        grid->addWidget(button, row, column++);
    }
    // A value other than 0 or 1 selects neither button; OK then stores 0, the first.
    if (QAbstractButton* button = group->button(selected)) button->setChecked(true);
    return group;
}

QWidget* PlottingOptionsDialog::control(int id) const {
    return findChild<QWidget*>(objectNameFor(id));
}

void PlottingOptionsDialog::accept() {
    const std::array<QLineEdit*, 4> limits{x_.minimum, x_.maximum, y_.minimum, y_.maximum};
    std::array<float, 4> values{};
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const std::optional<double> parsed = parseTypedNumber(limits[i]->text().toStdString());
        const bool fits =
            parsed && std::isfinite(*parsed) && std::fabs(*parsed) <= std::numeric_limits<float>::max();
        if (!fits) {
            showError(this, QStringLiteral("Please enter a number."));
            limits[i]->setFocus(Qt::OtherFocusReason);
            limits[i]->selectAll();
            return;
        }
        values[i] = static_cast<float>(*parsed);
    }
    state_.plotXMin = values[0];
    state_.plotXMax = values[1];
    state_.plotYMin = values[2];
    state_.plotYMax = values[3];
    auto selected = [](const QButtonGroup* group) { return std::max(group->checkedId(), 0); };
    state_.xAxisLog = selected(x_.type);
    state_.xLabelHidden = selected(x_.label);
    state_.yAxisLog = selected(y_.type);
    state_.yLabelHidden = selected(y_.label);
    state_.dataHidden = selected(data_);
    QDialog::accept();
}

}  // namespace tolvex::gui
