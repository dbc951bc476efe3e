#include "gui/ProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
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

namespace {

QString unitName(ProgressUnit unit) {
    switch (unit) {
        case ProgressUnit::Curve:
            return QStringLiteral("curve");
        case ProgressUnit::Point:
            return QStringLiteral("point");
        case ProgressUnit::Iteration:
            return QStringLiteral("iteration");
        case ProgressUnit::Unknown:
            break;
    }
    return {};
}

int unitNumber(const ProgressCount& count, int k) {
    const int n = std::max(k + count.offset, 0);
    return count.total > 0 ? std::min(n, count.total) : n;
}

}  // namespace

QString progressCountText(const ProgressCount& count, int k) {
    const QString name = unitName(count.unit);
    if (name.isEmpty()) return {};
    const QString number = QString::number(unitNumber(count, k));
    if (count.total <= 0) return name + QLatin1Char(' ') + number;
    return QStringLiteral("%1 %2 of %3").arg(name, number).arg(count.total);
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

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("count"));
    count_->hide();
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("bar"));
    bar_->setRange(0, 0);  // busy until the run says how far it goes
    bar_->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(time_);
    counterRow_ = new QWidget(this);
    auto* countRow = new QHBoxLayout(counterRow_);
    countRow->setContentsMargins(0, 0, 0, 0);
    countRow->addWidget(caption_);
    countRow->addWidget(counter_);
    countRow->addStretch();
    layout->addWidget(counterRow_);
    layout->addWidget(count_);
    layout->addWidget(bar_);
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
    showCount(k);
    emit stepped(k);
}

void ProgressDialog::setCount(const ProgressCount& count) {
    unit_ = count;
    const bool known = !progressCountText(count, 0).isEmpty();
    counterRow_->setVisible(!known);
    count_->setVisible(known);
    if (count.total > 0) {
        bar_->setRange(0, count.total);
        bar_->setTextVisible(true);
    }
    showCount(counter_->text().toInt());
}

void ProgressDialog::showCount(int k) {
    count_->setText(progressCountText(unit_, k));
    if (unit_.total > 0) bar_->setValue(unitNumber(unit_, k));
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
QString ProgressDialog::countText() const {
    return count_->text();
}

}  // namespace tolvex::gui
