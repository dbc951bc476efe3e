#include "gui/DerivativeDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/diagnostics/LogDerivative.h"

namespace tolvex::gui {
namespace {

constexpr int kLargestWindow = 99;  // points; wider windows flatten every regime

}  // namespace

DerivativeDialog::DerivativeDialog(const ViewSettings& view, QWidget* parent) : QDialog(parent), view_(view) {
    setWindowTitle(QStringLiteral("Derivative smoothing"));
    lSpacingChoice_ = new QRadioButton(QStringLiteral("L-spacing (Bourdet), log cycles:"), this);
    lSpacingChoice_->setObjectName(QStringLiteral("lSpacingChoice"));
    windowChoice_ = new QRadioButton(QStringLiteral("Moving window (Spane and Wurstner), points:"), this);
    windowChoice_->setObjectName(QStringLiteral("windowChoice"));
    lSpacing_ = new QDoubleSpinBox(this);
    lSpacing_->setObjectName(QStringLiteral("lSpacing"));
    lSpacing_->setRange(0.0, kMaxLSpacing);
    lSpacing_->setDecimals(2);
    lSpacing_->setSingleStep(0.05);
    lSpacing_->setValue(view.derivativeLSpacing);
    window_ = new QSpinBox(this);
    window_->setObjectName(QStringLiteral("window"));
    window_->setRange(3, kLargestWindow);
    window_->setSingleStep(2);
    window_->setValue(view.derivativeWindow >= 3 ? view.derivativeWindow : 5);
    (view.derivativeWindow >= 3 ? windowChoice_ : lSpacingChoice_)->setChecked(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lSpacingChoice_, 0, 0);
    grid->addWidget(lSpacing_, 0, 1);
    grid->addWidget(windowChoice_, 1, 0);
    grid->addWidget(window_, 1, 1);
    auto* note = new QLabel(QStringLiteral("0 takes the neighbouring points; 0.1 to 0.3 smooths noisy data. "
                                           "The window takes an odd number of points."),
                            this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

ViewSettings DerivativeDialog::chosen() const {
    ViewSettings view = view_;
    view.derivative = true;
    if (windowChoice_->isChecked()) {
        // An even count would centre the window between two points: take the next odd one.
        view.derivativeWindow = window_->value() | 1;
    } else {
        view.derivativeWindow = 0;
        view.derivativeLSpacing = lSpacing_->value();
    }
    return view;
}

}  // namespace tolvex::gui
