#include "gui/PlottingOptionsDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/plot/PlotLook.h"
#include "core/state/FieldTable.h"
#include "gui/MessageBoxes.h"

namespace tolvex::gui {
namespace {

QString objectNameFor(int id) {
    return QStringLiteral("control%1").arg(id);
}

// The limit fields in the order of the dialog, with the words that name them in a message.
constexpr std::array<const char*, 4> kLimitNames{
    "\"Minimum\" of the horizontal axis", "\"Maximum\" of the horizontal axis",
    "\"Minimum\" of the vertical axis", "\"Maximum\" of the vertical axis"};

QString limitName(std::size_t i) {
    return QString::fromLatin1(kLimitNames[i]);
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
    addViewGroup(layout);

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

void PlottingOptionsDialog::addViewGroup(QVBoxLayout* layout) {
    auto* box = new QGroupBox(QStringLiteral("View"), this);
    auto* grid = new QGridLayout(box);
    style_ = new QComboBox(this);
    style_->setObjectName(QStringLiteral("plotStyleBox"));
    style_->addItem(QStringLiteral("Classic"), static_cast<int>(PlotStyle::Classic));
    style_->addItem(QStringLiteral("Clear"), static_cast<int>(PlotStyle::Clear));
    style_->setCurrentIndex(style_->findData(static_cast<int>(state_.view.style)));
    style_->setToolTip(
        QStringLiteral("Classic: the plot as always printed. Clear: sans-serif labels, a light "
                       "grid, colour-blind-safe colours, units and a legend; the limits above "
                       "set the axes as entered."));
    axes_ = new QComboBox(this);
    axes_->setObjectName(QStringLiteral("axesBox"));
    axes_->addItem(QStringLiteral("Automatic"), static_cast<int>(AxesChoice::Auto));
    axes_->addItem(QStringLiteral("Log-log"), static_cast<int>(AxesChoice::LogLog));
    axes_->addItem(QStringLiteral("Semi-log (log time)"), static_cast<int>(AxesChoice::SemiLog));
    axes_->setCurrentIndex(axes_->findData(static_cast<int>(state_.view.axes)));
    axes_->setToolTip(
        QStringLiteral("Automatic: in the classic style the types chosen above; in the clear "
                       "style semi-log for slug tests and Jacob's method, log-log otherwise."));
    auto* styleLabel = new QLabel(QStringLiteral("Plot &style:"), this);
    styleLabel->setBuddy(style_);
    auto* axesLabel = new QLabel(QStringLiteral("&Axes:"), this);
    axesLabel->setBuddy(axes_);
    grid->addWidget(styleLabel, 0, 0);
    grid->addWidget(style_, 0, 1);
    grid->addWidget(axesLabel, 1, 0);
    grid->addWidget(axes_, 1, 1);
    layout->addWidget(box);
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

QString PlottingOptionsDialog::limitsProblem(const std::array<float, 4>& values, QLineEdit*& field) const {
    if (static_cast<PlotStyle>(style_->currentData().toInt()) != PlotStyle::Clear) return {};
    AnalysisState probe;
    probe.modelKind = state_.modelKind;
    probe.view.style = PlotStyle::Clear;
    probe.view.axes = static_cast<AxesChoice>(axes_->currentData().toInt());
    probe.xAxisLog = std::max(x_.type->checkedId(), 0);
    probe.yAxisLog = std::max(y_.type->checkedId(), 0);
    const plot::AxisTypes types = plot::axisTypes(probe);
    const std::array<QLineEdit*, 4> limits{x_.minimum, x_.maximum, y_.minimum, y_.maximum};
    for (std::size_t axis = 0; axis < 2; ++axis) {
        const std::size_t low = 2 * axis;
        const bool logarithmic = axis == 0 ? types.xLog : types.yLog;
        if (logarithmic && !(values[low] > 0.0f)) {
            field = limits[low];
            return QStringLiteral("Please enter a number above zero as the ") + limitName(low) +
                   QStringLiteral(": the axis is logarithmic.");
        }
        if (!(values[low] < values[low + 1])) {
            field = limits[low + 1];
            return QStringLiteral("Please enter a number above the ") + limitName(low) +
                   QStringLiteral(" as the ") + limitName(low + 1) + QStringLiteral(".");
        }
    }
    return {};
}

void PlottingOptionsDialog::accept() {
    const std::array<QLineEdit*, 4> limits{x_.minimum, x_.maximum, y_.minimum, y_.maximum};
    std::array<float, 4> values{};
    auto refuse = [this](QLineEdit* field, const QString& message) {
        showError(this, message);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    };
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const std::optional<double> parsed = parseTypedNumber(limits[i]->text().toStdString());
        const bool fits =
            parsed && std::isfinite(*parsed) && std::fabs(*parsed) <= std::numeric_limits<float>::max();
        if (!fits) {
            refuse(limits[i],
                   QStringLiteral("Please enter a number as the ") + limitName(i) + QStringLiteral("."));
            return;
        }
        values[i] = static_cast<float>(*parsed);
    }
    QLineEdit* bad = nullptr;
    if (const QString problem = limitsProblem(values, bad); !problem.isEmpty()) {
        refuse(bad, problem);
        return;
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
    state_.view.style = static_cast<PlotStyle>(style_->currentData().toInt());
    state_.view.axes = static_cast<AxesChoice>(axes_->currentData().toInt());
    QDialog::accept();
}

}  // namespace tolvex::gui
