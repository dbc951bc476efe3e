// One dialog for every core Form: group boxes, labelled number edits, radio groups and texts, loaded from
// the state when it opens. OK parses and stores through acceptForm; a text that is refused shows the
// form's message, takes the focus and keeps the dialog open; so does a value the command would refuse
// after the dialog closed (the form's laterCheck), named by its caption. A line below the fields names
// the refused field. Cancel stores nothing. Texts cross here
// between Qt's Unicode and the state's Latin-1 bytes; a character beyond Latin-1 is refused by name.
// A form that carries the program's fit controls also shows them: the "Stop when converged" box below
// the fields, or a "Fix" box and "lower" and "upper" edits beside each fitted field; OK stores them with
// the fields (both or neither), a bound that is not a number or not below its upper bound is refused.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "core/commands/Form.h"
#include "core/state/AnalysisState.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace tolvex::gui {

class FormDialog : public QDialog {
    Q_OBJECT
public:
    FormDialog(const Form& form, AnalysisState& state, QWidget* parent = nullptr);

    // The texts the controls hold now, in the form's field order (a radio group gives its index, a text
    // field its Latin-1 bytes).
    [[nodiscard]] std::vector<std::string> texts() const;
    // The control of field `index` (a line edit, a text edit, or the box of a radio group).
    [[nodiscard]] QWidget* fieldWidget(std::size_t index) const;
    void setFieldText(std::size_t index, const QString& text);
    // The fit controls' widgets; nullptr where the form shows none (not a fitted field).
    [[nodiscard]] QCheckBox* stopWhenConvergedBox() const { return stopBox_; }
    [[nodiscard]] QCheckBox* fixBox(std::size_t index) const;
    [[nodiscard]] QLineEdit* lowerEdit(std::size_t index) const;
    [[nodiscard]] QLineEdit* upperEdit(std::size_t index) const;

    // The line below the fields that names the refused field by its caption ("min (1/u): enter a number
    // greater than 0."); empty while nothing is refused.
    [[nodiscard]] QString problemText() const;

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;

public slots:
    void accept() override;

private:
    struct Control {
        QWidget* widget = nullptr;
        QButtonGroup* radios = nullptr;
        // The fit controls beside a fitted field.
        QCheckBox* fix = nullptr;
        QLineEdit* lower = nullptr;
        QLineEdit* upper = nullptr;
    };

    void build();
    void showProblem(const FormError& error);
    [[nodiscard]] static QWidget* focusTarget(const Control& control);
    [[nodiscard]] QString controlText(std::size_t index) const;
    // The first text field holding a character beyond Latin-1, with the message that names it.
    [[nodiscard]] std::optional<FormError> latin1Refusal() const;
    void load();
    [[nodiscard]] Control makeControl(const FormField& field, QWidget* owner);
    // The field's control with the Fix box and the bounds beside it, in one row.
    [[nodiscard]] QWidget* withFitControls(Control& control, QWidget* owner);
    void loadFitControls();
    // The fit controls the widgets hold, or why they are refused.
    [[nodiscard]] std::optional<FormError> editedFitControls(FitControls& controls) const;
    void addBoxedButtons(const FormField& field, const std::vector<std::string>& captions, QWidget* owner,
                         QButtonGroup* buttons);

    const Form& form_;
    AnalysisState& state_;
    std::vector<Control> controls_;
    QCheckBox* stopBox_ = nullptr;
    QLabel* problem_ = nullptr;
};

}  // namespace tolvex::gui
