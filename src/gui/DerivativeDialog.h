// View > Derivative > Smoothing: how the logarithmic derivative of the measurements is smoothed, by
// Bourdet's L-spacing (the slopes to the points at least L log cycles away; 0 takes the neighbours) or
// by Spane and Wurstner's moving window (the least-squares slope over N points).
#pragma once

#include <QDialog>

#include "core/state/ViewSettings.h"

class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace tolvex::gui {

class DerivativeDialog : public QDialog {
    Q_OBJECT
public:
    DerivativeDialog(const ViewSettings& view, QWidget* parent = nullptr);

    // The view with the smoothing chosen (the derivative switched on).
    [[nodiscard]] ViewSettings chosen() const;

    [[nodiscard]] QRadioButton* lSpacingChoice() const { return lSpacingChoice_; }
    [[nodiscard]] QRadioButton* windowChoice() const { return windowChoice_; }
    [[nodiscard]] QDoubleSpinBox* lSpacing() const { return lSpacing_; }
    [[nodiscard]] QSpinBox* window() const { return window_; }

private:
    ViewSettings view_;
    QRadioButton* lSpacingChoice_ = nullptr;
    QRadioButton* windowChoice_ = nullptr;
    QDoubleSpinBox* lSpacing_ = nullptr;
    QSpinBox* window_ = nullptr;
};

}  // namespace tolvex::gui
