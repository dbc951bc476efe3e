#include "gui/CountDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "core/input/MeasurementTable.h"
#include "core/state/FieldTable.h"
#include "gui/MessageBoxes.h"

namespace tolvex::gui {

CountDialog::CountDialog(int count, QWidget* parent) : QDialog(parent), count_(count) {
    showError = [](QWidget* owner, const QString& message) { showWarning(owner, message); };
    setWindowTitle(QStringLiteral("Drawdown-time from pumping test"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("1. Horizontal axis: Time"), this));
    layout->addWidget(new QLabel(QStringLiteral("2. Vertical axis: drawdown"), this));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("3. No. of Points"), this));
    edit_ = new QLineEdit(QString::number(static_cast<double>(count), 'g', 6), this);
    edit_->setObjectName(QStringLiteral("field102"));
    row->addWidget(edit_);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CountDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CountDialog::reject);
    layout->addWidget(buttons);
}

void CountDialog::accept() {
    const std::optional<double> value = parseNumber(edit_->text().toStdString());
    QString refusal;
    if (!value) {
        refusal = QStringLiteral("Please enter a number.");
    } else if (!(*value >= 1.0 && *value < kMaxMeasurements + 1.0)) {
        // The table keeps at least one row, and the document stores counts as 16-bit words.
        refusal = QStringLiteral("Please enter a number between %1 and %2.").arg(1).arg(kMaxMeasurements);
    }
    if (!refusal.isEmpty()) {
        showError(this, refusal);
        edit_->setFocus(Qt::OtherFocusReason);
        edit_->selectAll();
        return;
    }
    count_ = static_cast<int>(std::trunc(*value));
    QDialog::accept();
}

}  // namespace tolvex::gui
