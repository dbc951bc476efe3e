// One dialog for every core Form: group boxes, labelled number edits, radio groups and texts, loaded from
// the state when it opens. OK parses and stores through acceptForm; a text that is refused shows the
// form's message, takes the focus and keeps the dialog open. Cancel stores nothing. Texts cross here
// between Qt's Unicode and the state's Latin-1 bytes; a character beyond Latin-1 is refused by name.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "core/commands/Form.h"
#include "core/state/AnalysisState.h"

class QButtonGroup;

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

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;

public slots:
    void accept() override;

private:
    struct Control {
        QWidget* widget = nullptr;
        QButtonGroup* radios = nullptr;
    };

    void build();
    [[nodiscard]] QString controlText(std::size_t index) const;
    // The first text field holding a character beyond Latin-1, with the message that names it.
    [[nodiscard]] std::optional<FormError> latin1Refusal() const;
    void load();
    [[nodiscard]] Control makeControl(const FormField& field, QWidget* owner);
    void addBoxedButtons(const FormField& field, const std::vector<std::string>& captions, QWidget* owner,
                         QButtonGroup* buttons);

    const Form& form_;
    AnalysisState& state_;
    std::vector<Control> controls_;
};

}  // namespace tolvex::gui
