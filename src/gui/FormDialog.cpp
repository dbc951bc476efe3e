#include "gui/FormDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/commands/FitControlTexts.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"
#include "gui/MessageBoxes.h"
#include "gui/RadioGroupCaptions.h"

namespace tolvex::gui {
namespace {

// A field's caption, with the unit its number is entered in when the document has units:
// "Transmissivity (m²/d)".
QString labelWithUnit(const FormField& field, const DisplayUnits& units) {
    QString label = QString::fromStdString(field.label);
    const FieldInfo* info = findField(field.field);
    const std::string unit = info ? unitLabel(info->dimension, units) : std::string();
    if (!unit.empty() && !label.isEmpty()) label += QStringLiteral(" (%1)").arg(QString::fromStdString(unit));
    return label;
}

// A few short choices ("Piezometer" / "Observation well") sit on one line; long or many ones are stacked.
constexpr std::size_t kMaxButtonsOnOneLine = 3;
constexpr std::size_t kMaxTextOnOneLine = 24;

bool isRadio(const FormField& field) {
    return field.kind == FormFieldKind::Radio;
}

bool isText(const FormField& field) {
    return field.kind == FormFieldKind::Text || field.kind == FormFieldKind::MultilineText;
}

// The characters of `text` that a Latin-1 byte cannot hold, each once, in order of appearance.
QString beyondLatin1(const QString& text) {
    QString found;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF && !found.contains(c)) found += c;
    }
    return found;
}

bool showsFixAndBounds(const Form& form) {
    return form.fitControls != nullptr && form.fitControlsShown == FitControlsShown::FixAndBounds;
}

bool showsStopBox(const Form& form) {
    return form.fitControls != nullptr && form.fitControlsShown == FitControlsShown::StopWhenConverged;
}

bool buttonsOnOneLine(const FormField& field) {
    return field.options.size() <= kMaxButtonsOnOneLine &&
           std::all_of(field.options.begin(), field.options.end(),
                       [](const std::string& text) { return text.size() <= kMaxTextOnOneLine; });
}

}  // namespace

FormDialog::FormDialog(const Form& form, AnalysisState& state, QWidget* parent)
    : QDialog(parent), form_(form), state_(state) {
    showError = [](QWidget* owner, const QString& message) { showWarning(owner, message); };
    setWindowTitle(QString::fromStdString(form.title));
    build();
    load();
}

FormDialog::Control FormDialog::makeControl(const FormField& field, QWidget* owner) {
    Control control;
    switch (field.kind) {
        case FormFieldKind::Radio: {
            auto* box = new QWidget(owner);
            control.radios = new QButtonGroup(box);
            const std::vector<std::string> captions = radioGroupCaptions(form_);
            if (captions.size() == field.options.size()) {
                addBoxedButtons(field, captions, box, control.radios);
            } else {
                QBoxLayout* layout = buttonsOnOneLine(field) ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                                             : static_cast<QBoxLayout*>(new QVBoxLayout(box));
                layout->setContentsMargins(0, 0, 0, 0);
                for (std::size_t i = 0; i < field.options.size(); ++i) {
                    auto* button = new QRadioButton(QString::fromStdString(field.options[i]), box);
                    control.radios->addButton(button, static_cast<int>(i));
                    layout->addWidget(button);
                }
            }
            control.widget = box;
            break;
        }
        case FormFieldKind::MultilineText:
            control.widget = new QPlainTextEdit(owner);
            break;
        default:
            control.widget = new QLineEdit(owner);
            break;
    }
    control.widget->setObjectName(QStringLiteral("field%1").arg(field.id));
    return control;
}

QWidget* FormDialog::withFitControls(Control& control, QWidget* owner) {
    auto* row = new QWidget(owner);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    control.widget->setParent(row);
    layout->addWidget(control.widget, 2);
    const QString id = control.widget->objectName().mid(5);  // "field<id>"
    control.fix = new QCheckBox(QStringLiteral("Fix"), row);
    control.fix->setObjectName(QStringLiteral("fix") + id);
    control.fix->setToolTip(QStringLiteral("Hold this parameter at its value during the fit"));
    layout->addWidget(control.fix);
    const auto boundEdit = [&](const QString& name, const QString& tip) {
        auto* edit = new QLineEdit(row);
        edit->setObjectName(name + id);
        edit->setPlaceholderText(name);
        edit->setToolTip(tip);
        layout->addWidget(edit, 1);
        return edit;
    };
    control.lower =
        boundEdit(QStringLiteral("lower"), QStringLiteral("Lowest value the fit may take (empty: none)"));
    control.upper =
        boundEdit(QStringLiteral("upper"), QStringLiteral("Highest value the fit may take (empty: none)"));
    return row;
}

void FormDialog::loadFitControls() {
    if (form_.fitControls == nullptr) return;
    if (stopBox_ != nullptr) stopBox_->setChecked(form_.fitControls->stopWhenConverged);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Control& control = controls_[i];
        if (control.fix == nullptr) continue;
        const FitFieldTexts texts =
            loadFitFieldTexts(*form_.fitControls, form_.fields[i].field, state_.units);
        control.fix->setChecked(texts.fixed);
        control.lower->setText(QString::fromStdString(texts.lower));
        control.upper->setText(QString::fromStdString(texts.upper));
    }
}

std::optional<FormError> FormDialog::editedFitControls(FitControls& controls) const {
    if (stopBox_ != nullptr) controls.stopWhenConverged = stopBox_->isChecked();
    if (!showsFixAndBounds(form_)) return std::nullopt;
    std::vector<FitFieldTexts> texts(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Control& control = controls_[i];
        if (control.fix == nullptr) continue;
        texts[i] = {control.fix->isChecked(), control.lower->text().toStdString(),
                    control.upper->text().toStdString()};
    }
    return acceptFitFieldTexts(form_, state_.modelKind, texts, controls, state_.units);
}

QCheckBox* FormDialog::fixBox(std::size_t index) const {
    return index < controls_.size() ? controls_[index].fix : nullptr;
}

QLineEdit* FormDialog::lowerEdit(std::size_t index) const {
    return index < controls_.size() ? controls_[index].lower : nullptr;
}

QLineEdit* FormDialog::upperEdit(std::size_t index) const {
    return index < controls_.size() ? controls_[index].upper : nullptr;
}

void FormDialog::addBoxedButtons(const FormField& field, const std::vector<std::string>& captions,
                                 QWidget* owner, QButtonGroup* buttons) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    // One box per caption, in the order of its first button; the button ids stay the option indices.
    std::vector<std::pair<std::string, QVBoxLayout*>> boxes;
    for (std::size_t i = 0; i < field.options.size(); ++i) {
        auto it =
            std::find_if(boxes.begin(), boxes.end(), [&](const auto& b) { return b.first == captions[i]; });
        if (it == boxes.end()) {
            auto* groupBox = new QGroupBox(QString::fromStdString(captions[i]), owner);
            layout->addWidget(groupBox);
            boxes.emplace_back(captions[i], new QVBoxLayout(groupBox));
            it = std::prev(boxes.end());
        }
        auto* button = new QRadioButton(QString::fromStdString(field.options[i]), owner);
        buttons->addButton(button, static_cast<int>(i));
        it->second->addWidget(button);
    }
}

void FormDialog::build() {
    auto* outer = new QVBoxLayout(this);
    for (const std::string& note : form_.notes)
        outer->addWidget(new QLabel(QString::fromStdString(note), this));
    // Fields without a group come first, in layout order; the group boxes follow side by side, in the
    // order in which their first field comes (a piezometer box beside an observation-well box).
    auto* ungrouped = new QFormLayout;
    outer->addLayout(ungrouped);
    auto* boxes = new QHBoxLayout;
    outer->addLayout(boxes);
    std::vector<std::pair<std::string, QFormLayout*>> groups;
    auto layoutFor = [&](const std::string& caption) -> QFormLayout* {
        if (caption.empty()) return ungrouped;
        for (auto& [name, layout] : groups)
            if (name == caption) return layout;
        auto* box = new QGroupBox(QString::fromStdString(caption), this);
        auto* layout = new QFormLayout(box);
        boxes->addWidget(box, 0, Qt::AlignTop);
        groups.emplace_back(caption, layout);
        return layout;
    };
    // Controls are kept in exchange order (the order the form parses them) whatever the layout.
    controls_.resize(form_.fields.size());
    std::vector<bool> fitted(form_.fields.size(), false);
    if (showsFixAndBounds(form_)) {
        for (std::size_t index : fittedFieldIndices(form_, state_.modelKind)) fitted[index] = true;
    }
    for (std::size_t index : form_.layoutOrder()) {
        const FormField& field = form_.fields[index];
        QFormLayout* layout = layoutFor(field.group);
        QWidget* owner = layout->parentWidget() ? layout->parentWidget() : this;
        Control control = makeControl(field, owner);
        QWidget* row = fitted[index] ? withFitControls(control, owner) : control.widget;
        const QString label = labelWithUnit(field, state_.units);
        if (isRadio(field) && label.isEmpty())
            layout->addRow(row);
        else
            layout->addRow(label, row);
        controls_[index] = control;
    }
    if (showsStopBox(form_)) {
        stopBox_ = new QCheckBox(QStringLiteral("Stop when converged"), this);
        stopBox_->setObjectName(QStringLiteral("stopWhenConverged"));
        stopBox_->setToolTip(
            QStringLiteral("Off: every run goes on to the maximum number of iterations, as the methods "
                           "were first written."));
        outer->addWidget(stopBox_);
    }
    // A field used only for some choices of a radio group follows the group's selection.
    const auto followChoices = [this] {
        const std::vector<std::string> current = texts();
        for (std::size_t i = 0; i < controls_.size(); ++i)
            controls_[i].widget->setEnabled(form_.isEnabled(i, current));
    };
    for (const Control& control : controls_) {
        if (control.radios != nullptr) connect(control.radios, &QButtonGroup::idToggled, this, followChoices);
    }
    followChoices();
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->hide();
    outer->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FormDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FormDialog::reject);
    outer->addWidget(buttons);
}

void FormDialog::load() {
    const std::vector<std::string> loaded = loadFormTexts(form_, state_);
    for (std::size_t i = 0; i < loaded.size() && i < controls_.size(); ++i) {
        // The state keeps texts as the document does, one Latin-1 byte per character.
        setFieldText(i, isText(form_.fields[i])
                            ? QString::fromLatin1(loaded[i].data(), static_cast<qsizetype>(loaded[i].size()))
                            : QString::fromStdString(loaded[i]));
    }
    loadFitControls();
}

void FormDialog::setFieldText(std::size_t index, const QString& text) {
    const Control& control = controls_.at(index);
    if (control.radios != nullptr) {
        bool ok = false;
        const int selected = text.toInt(&ok);
        if (QAbstractButton* button = ok ? control.radios->button(selected) : nullptr)
            button->setChecked(true);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) {
        edit->setText(text);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(control.widget)) {
        multi->setPlainText(text);
    }
}

QString FormDialog::controlText(std::size_t index) const {
    const Control& control = controls_.at(index);
    if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) return edit->text();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(control.widget)) return multi->toPlainText();
    return {};
}

std::vector<std::string> FormDialog::texts() const {
    std::vector<std::string> result;
    result.reserve(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Control& control = controls_[i];
        if (control.radios != nullptr) {
            // No button selected keeps an out-of-range index out: the first button stands for "unset".
            result.push_back(std::to_string(std::max(control.radios->checkedId(), 0)));
        } else if (i < form_.fields.size() && isText(form_.fields[i])) {
            const QByteArray latin1 = controlText(i).toLatin1();
            result.emplace_back(latin1.constData(), static_cast<std::size_t>(latin1.size()));
        } else {
            result.push_back(controlText(i).toStdString());
        }
    }
    return result;
}

std::optional<FormError> FormDialog::latin1Refusal() const {
    for (std::size_t i = 0; i < controls_.size() && i < form_.fields.size(); ++i) {
        if (!isText(form_.fields[i])) continue;
        const QString beyond = beyondLatin1(controlText(i));
        if (beyond.isEmpty()) continue;
        const QString message =
            QStringLiteral(
                "\"%1\" holds characters the document cannot keep: %2\nThe document stores "
                "Western European (Latin-1) characters only.")
                .arg(QString::fromStdString(form_.fields[i].label), beyond);
        return FormError{i, message.toStdString()};
    }
    return std::nullopt;
}

QWidget* FormDialog::fieldWidget(std::size_t index) const {
    return controls_.at(index).widget;
}

void FormDialog::accept() {
    // The fit controls are checked first and stored after the fields, so that a refusal stores nothing.
    FitControls edited = form_.fitControls != nullptr ? *form_.fitControls : FitControls{};
    // What the command would refuse once the dialog closed is refused here, while the user can mend it.
    const std::vector<std::string> current = texts();
    std::optional<FormError> error = latin1Refusal();
    if (!error) error = editedFitControls(edited);
    if (!error) error = dialogRefusal(form_, current, state_);
    if (!error) error = acceptForm(form_, current, state_);
    if (!error) {
        if (form_.fitControls != nullptr) *form_.fitControls = edited;
        problem_->hide();
        QDialog::accept();
        return;
    }
    showProblem(*error);
    showError(this, QString::fromStdString(error->message));
    if (error->fieldIndex < controls_.size()) {
        QWidget* widget = focusTarget(controls_[error->fieldIndex]);
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
    }
}

void FormDialog::showProblem(const FormError& error) {
    // The message box keeps the classic wording; this line names the field whatever the message says.
    const std::string caption = fieldCaption(form_, error.fieldIndex);
    const QString message = QString::fromStdString(error.message);
    const QString prefix = QString::fromStdString(caption) + QStringLiteral(": ");
    problem_->setText(caption.empty() || message.startsWith(prefix) ? message : prefix + message);
    problem_->show();
}

QWidget* FormDialog::focusTarget(const Control& control) {
    // A radio group takes the focus on its selected button, as a click would give it.
    if (control.radios != nullptr) {
        if (QAbstractButton* checked = control.radios->checkedButton()) return checked;
        if (!control.radios->buttons().isEmpty()) return control.radios->buttons().first();
    }
    return control.widget;
}

QString FormDialog::problemText() const {
    return problem_->isHidden() ? QString() : problem_->text();
}

}  // namespace tolvex::gui
