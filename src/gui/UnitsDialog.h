// "Units": the units of time, length and pumping rate the document is entered and shown in, or none
// (consistent units of the user's choice, the classic way). OK applies the choice through
// changeDisplayUnits: from none, the numbers already entered are read as being in the chosen units;
// between units, the quantities stay and their display changes; back to none, the numbers stay as shown.
#pragma once

#include <QDialog>

#include "core/state/AnalysisState.h"

class QComboBox;
class QRadioButton;

namespace tolvex::gui {

class UnitsDialog : public QDialog {
    Q_OBJECT
public:
    explicit UnitsDialog(const DisplayUnits& current, QWidget* parent = nullptr);

    // The units the controls hold: none while "None" is selected.
    [[nodiscard]] DisplayUnits chosen() const;

    [[nodiscard]] QRadioButton* noneButton() const { return none_; }
    [[nodiscard]] QRadioButton* unitsButton() const { return units_; }
    [[nodiscard]] QComboBox* timeBox() const { return time_; }
    [[nodiscard]] QComboBox* lengthBox() const { return length_; }
    [[nodiscard]] QComboBox* rateBox() const { return rate_; }

private:
    void updateEnabled();

    QRadioButton* none_ = nullptr;
    QRadioButton* units_ = nullptr;
    QComboBox* time_ = nullptr;
    QComboBox* length_ = nullptr;
    QComboBox* rate_ = nullptr;
};

// Opens the dialog over the state's units; on OK changes them (and the numbers, as described above).
// Returns whether the units changed.
bool editUnits(AnalysisState& state, QWidget* parent);

}  // namespace tolvex::gui
