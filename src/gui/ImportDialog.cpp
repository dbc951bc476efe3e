#include "gui/ImportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/input/LeadingNumber.h"

namespace tolvex::gui {
namespace {

// The delimiter choices in the order of the box; the first detects it.
constexpr char kDelimiters[] = {'\0', ',', ';', '\t', kBlanksDelimiter};
constexpr int kMaxColumn = 99;
constexpr int kMaxHeaderLines = 9999;
constexpr int kFixedColumns = 2;  // "Line", "Becomes"

QSpinBox* spinBox(int minimum, int maximum, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

}  // namespace

ImportDialog::ImportDialog(std::string text, DisplayUnits units, const QString& fileName, QWidget* parent)
    : QDialog(parent), text_(std::move(text)), units_(std::move(units)) {
    setWindowTitle(QStringLiteral("Import with Options - %1").arg(fileName));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    buildOptions(form);
    layout->addLayout(form);
    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->setMinimumSize(560, 280);
    layout->addWidget(table_);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    layout->addWidget(status_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connectOptions();
    refresh();
}

void ImportDialog::buildOptions(QFormLayout* form) {
    delimiter_ = new QComboBox(this);
    delimiter_->addItems({QStringLiteral("Detect"), QStringLiteral("Comma"), QStringLiteral("Semicolon"),
                          QStringLiteral("Tab"), QStringLiteral("Blanks")});
    form->addRow(QStringLiteral("Delimiter"), delimiter_);
    auto* header = new QHBoxLayout;
    detectHeader_ = new QCheckBox(QStringLiteral("Detect"), this);
    detectHeader_->setChecked(true);
    headerLines_ = spinBox(0, kMaxHeaderLines, 0, this);
    headerLines_->setEnabled(false);
    header->addWidget(detectHeader_);
    header->addWidget(headerLines_);
    form->addRow(QStringLiteral("Header lines"), header);
    auto* columns = new QHBoxLayout;
    timeColumn_ = spinBox(1, kMaxColumn, 1, this);
    valueColumn_ = spinBox(1, kMaxColumn, 2, this);
    columns->addWidget(new QLabel(QStringLiteral("Time"), this));
    columns->addWidget(timeColumn_);
    columns->addWidget(new QLabel(QStringLiteral("Value"), this));
    columns->addWidget(valueColumn_);
    form->addRow(QStringLiteral("Columns"), columns);
    timeFormat_ = new QComboBox(this);
    timeFormat_->addItems(
        {QStringLiteral("Elapsed numbers"), QStringLiteral("Clock times (hh:mm[:ss], dates)")});
    form->addRow(QStringLiteral("Times"), timeFormat_);
    start_ = new QLineEdit(this);
    start_->setPlaceholderText(QStringLiteral("the first row"));
    form->addRow(QStringLiteral("Time 0 at"), start_);
    values_ = new QComboBox(this);
    values_->addItems({QStringLiteral("Drawdowns"), QStringLiteral("Water levels above a datum"),
                       QStringLiteral("Depths to water")});
    form->addRow(QStringLiteral("Values"), values_);
    staticLevel_ = new QLineEdit(this);
    staticLevel_->setEnabled(false);
    form->addRow(QStringLiteral("Static level"), staticLevel_);
}

void ImportDialog::connectOptions() {
    const auto changed = [this] { refresh(); };
    connect(delimiter_, &QComboBox::currentIndexChanged, this, changed);
    connect(detectHeader_, &QCheckBox::toggled, this, [this](bool detect) {
        headerLines_->setEnabled(!detect);
        if (!detect) headerLines_->setValue(preview_.reading.headerLines);
        refresh();
    });
    connect(headerLines_, &QSpinBox::valueChanged, this, changed);
    connect(timeColumn_, &QSpinBox::valueChanged, this, changed);
    connect(valueColumn_, &QSpinBox::valueChanged, this, changed);
    connect(timeFormat_, &QComboBox::currentIndexChanged, this, changed);
    connect(start_, &QLineEdit::textChanged, this, changed);
    connect(values_, &QComboBox::currentIndexChanged, this, [this](int index) {
        staticLevel_->setEnabled(index != 0);
        refresh();
    });
    connect(staticLevel_, &QLineEdit::textChanged, this, changed);
}

ImportOptions ImportDialog::options() const {
    ImportOptions o;
    if (const char d = kDelimiters[std::clamp(delimiter_->currentIndex(), 0, 4)]; d != '\0') o.delimiter = d;
    if (!detectHeader_->isChecked()) o.headerLines = headerLines_->value();
    o.timeColumn = timeColumn_->value();
    o.valueColumn = valueColumn_->value();
    o.timeFormat = timeFormat_->currentIndex() == 1 ? ImportTimeFormat::Clock : ImportTimeFormat::Elapsed;
    o.start = start_->text().trimmed().toStdString();
    o.values = static_cast<ImportValues>(values_->currentIndex());
    // A decimal comma is taken as the dialogs take it.
    if (o.values != ImportValues::Drawdown)
        o.staticLevel = completeNumber(staticLevel_->text().toStdString());
    return o;
}

void ImportDialog::refresh() {
    preview_ = previewImport(text_, options(), units_);
    fillTable();
    const ImportReading& r = preview_.reading;
    ok_->setEnabled(r.error.empty());
    if (!r.error.empty()) {
        status_->setText(QString::fromStdString("Cannot import: " + r.error));
        return;
    }
    QString summary = QStringLiteral("%1 measurements; delimiter %2, %3 header lines")
                          .arg(r.times.size())
                          .arg(QString::fromStdString(importDelimiterLabel(r.delimiter)))
                          .arg(r.headerLines);
    if (r.beforeStart > 0) summary += QStringLiteral("; %1 before the start left out").arg(r.beforeStart);
    status_->setText(summary + QLatin1Char('.'));
}

void ImportDialog::fillTable() {
    std::size_t fields = 0;
    for (const PreviewLine& line : preview_.lines) fields = std::max(fields, line.fields.size());
    table_->clear();
    table_->setRowCount(static_cast<int>(preview_.lines.size()));
    table_->setColumnCount(kFixedColumns + static_cast<int>(fields));
    QStringList headers{QStringLiteral("Line"), QStringLiteral("Becomes")};
    for (std::size_t c = 1; c <= fields; ++c) headers << QString::number(c);
    table_->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const PreviewLine& line = preview_.lines[static_cast<std::size_t>(r)];
        table_->setItem(r, 0, new QTableWidgetItem(QString::number(line.number)));
        table_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(previewRoleText(line))));
        for (std::size_t c = 0; c < line.fields.size(); ++c) {
            table_->setItem(r, kFixedColumns + static_cast<int>(c),
                            new QTableWidgetItem(QString::fromLatin1(line.fields[c].c_str())));
        }
    }
    table_->resizeColumnsToContents();
}

}  // namespace tolvex::gui
