#include "gui/SlugHeadDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/input/LeadingNumber.h"
#include "core/state/FieldTable.h"
#include "gui/MessageBoxes.h"

namespace tolvex::gui {
namespace {

constexpr int kShownDigits = 9;

QString numberText(double value) {
    return QString::fromStdString(formatGeneral(value, kShownDigits));
}

}  // namespace

SlugHeadDialog::SlugHeadDialog(SlugHead& head, QWidget* parent) : QDialog(parent), head_(head) {
    showError = [](QWidget* owner, const QString& message) { showWarning(owner, message); };
    setWindowTitle(QStringLiteral("Slug-test heads"));
    auto* layout = new QVBoxLayout(this);
    one_ = new QRadioButton(QStringLiteral("The values are H/H0 already"), this);
    first_ = new QRadioButton(QStringLiteral("H0 is the first measured value's displacement"), this);
    number_ = new QRadioButton(QStringLiteral("H0 ="), this);
    h0_ = new QLineEdit(numberText(head.h0), this);
    layout->addWidget(one_);
    layout->addWidget(first_);
    auto* given = new QFormLayout;
    given->addRow(number_, h0_);
    layout->addLayout(given);
    levels_ = new QCheckBox(
        QStringLiteral("The values are water levels (or depths): displacement = |level - static|"), this);
    staticLevel_ = new QLineEdit(numberText(head.staticLevel), this);
    layout->addWidget(levels_);
    auto* level = new QFormLayout;
    level->addRow(QStringLiteral("Static level"), staticLevel_);
    layout->addLayout(level);
    referenceButton(head.reference)->setChecked(true);
    levels_->setChecked(head.waterLevels);
    for (QRadioButton* button : {one_, first_, number_})
        connect(button, &QRadioButton::toggled, this, &SlugHeadDialog::updateEnabled);
    connect(levels_, &QCheckBox::toggled, this, &SlugHeadDialog::updateEnabled);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SlugHeadDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SlugHeadDialog::reject);
    layout->addWidget(buttons);
    updateEnabled();
}

QRadioButton* SlugHeadDialog::referenceButton(SlugHead::Reference reference) const {
    switch (reference) {
        case SlugHead::Reference::FirstValue:
            return first_;
        case SlugHead::Reference::Number:
            return number_;
        case SlugHead::Reference::One:
            break;
    }
    return one_;
}

void SlugHeadDialog::updateEnabled() {
    h0_->setEnabled(number_->isChecked());
    staticLevel_->setEnabled(levels_->isChecked());
}

void SlugHeadDialog::accept() {
    SlugHead head = head_;
    head.reference = number_->isChecked()  ? SlugHead::Reference::Number
                     : first_->isChecked() ? SlugHead::Reference::FirstValue
                                           : SlugHead::Reference::One;
    head.waterLevels = levels_->isChecked();
    if (head.reference == SlugHead::Reference::Number) {
        const auto h0 = completeNumber(h0_->text().toStdString());
        if (!h0 || !(*h0 > 0.0)) {
            showError(this, QStringLiteral("H0 must be a positive number: \"%1\".").arg(h0_->text()));
            h0_->setFocus(Qt::OtherFocusReason);
            h0_->selectAll();
            return;
        }
        head.h0 = *h0;
    }
    if (head.waterLevels) {
        const auto level = completeNumber(staticLevel_->text().toStdString());
        if (!level) {
            showError(this,
                      QStringLiteral("The static level must be a number: \"%1\".").arg(staticLevel_->text()));
            staticLevel_->setFocus(Qt::OtherFocusReason);
            staticLevel_->selectAll();
            return;
        }
        head.staticLevel = *level;
    }
    head_ = head;
    QDialog::accept();
}

}  // namespace tolvex::gui
