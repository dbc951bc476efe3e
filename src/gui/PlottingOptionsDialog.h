// "Plotting Options": the plotting window, the axis types and what the plot shows, in the groups
// "Horizontal axis", "Vertical axis" and "Data", and the plot style and axes in the group "View". OK
// stores all settings; Cancel stores nothing. A bad value keeps the dialog open with the cursor in its
// field and a message naming it: a limit that is no number, and in the clear style (which draws the
// limits as asked) a minimum not below its maximum or a logarithmic axis reaching zero.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "core/state/AnalysisState.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QVBoxLayout;

namespace tolvex::gui {

class PlottingOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PlottingOptionsDialog(AnalysisState& state, QWidget* parent = nullptr);

    // The control of an id of the dialog (edits 102-105, radio buttons 216-225).
    [[nodiscard]] QWidget* control(int id) const;

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;

public slots:
    void accept() override;

private:
    struct AxisIds {
        int minimum;  // the maximum's id follows it
        int type;     // "Linear"; "Log" follows it
        int label;    // "Yes"; "No" follows it
    };
    struct AxisValues {
        float minimum;
        float maximum;
        int log;
        int labelHidden;
    };
    struct AxisControls {
        QLineEdit* minimum = nullptr;
        QLineEdit* maximum = nullptr;
        QButtonGroup* type = nullptr;
        QButtonGroup* label = nullptr;
    };

    void addViewGroup(QVBoxLayout* layout);
    // The message about the axis limits, or an empty text when they may be stored.
    [[nodiscard]] QString limitsProblem(const std::array<float, 4>& values, QLineEdit*& field) const;

    AxisControls addAxisGroup(QVBoxLayout* layout, const QString& title, const AxisIds& ids,
                              const AxisValues& values);
    QLineEdit* addLimit(QGridLayout* grid, int row, const QString& label, int id, float value);
    QButtonGroup* addChoice(QGridLayout* grid, int row, const QString& label, int firstId,
                            const QString& first, const QString& second, int selected);

    AnalysisState& state_;
    AxisControls x_;
    AxisControls y_;
    QButtonGroup* data_ = nullptr;
    QComboBox* style_ = nullptr;
    QComboBox* axes_ = nullptr;
};

}  // namespace tolvex::gui
