#include "gui/ProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <ctime>

namespace tolvex::gui {

QString calendarTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    // The asctime layout, written out because asctime itself is not thread-safe.
    std::strftime(buffer, sizeof buffer, "%a %b %e %H:%M:%S %Y", &local);
    return QString::fromLatin1(buffer);
}

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Simulation is progressing !!!"));
    setModal(true);
    time_ = new QLabel(QStringLiteral("The simulation is progressing !!!"), this);
    caption_ = new QLabel(QStringLiteral("Number of Iterartion ="), this);
    counter_ = new QLabel(QStringLiteral("0"), this);
    counter_->setObjectName(QStringLiteral("counter"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(time_);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(caption_);
    countRow->addWidget(counter_);
    countRow->addStretch();
    layout->addLayout(countRow);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    showNow();
    setMinimumWidth(280);
}

void ProgressDialog::showNow() {
    time_->setText(calendarTimeText());
    caption_->setText(QStringLiteral("Number of iterations"));
}

void ProgressDialog::step(int k) {
    showNow();
    counter_->setText(QString::number(k));
    emit stepped(k);
}

void ProgressDialog::reject() {
    if (cancelRequested_) return;
    cancelRequested_ = true;
    cancel_->setEnabled(false);
    cancel_->setText(QStringLiteral("Stopping..."));
    emit cancelClicked();
}

QString ProgressDialog::timeText() const {
    return time_->text();
}
QString ProgressDialog::captionText() const {
    return caption_->text();
}
QString ProgressDialog::counterText() const {
    return counter_->text();
}

}  // namespace tolvex::gui
