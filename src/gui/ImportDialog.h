// "Import with Options": the first lines of a measurement file in a table that follows the options as
// they change (delimiter, header lines, time and value columns, elapsed or clock times and their start,
// drawdowns, water levels or depths with the static level), each line with what it becomes. OK is
// offered only while the whole file reads; the line below the table says why not.
#pragma once

#include <QDialog>
#include <string>

#include "core/input/ImportOptions.h"
#include "core/input/ImportPreview.h"

class QCheckBox;
class QFormLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tolvex::gui {

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // `text` is the file's text as decodeImportText gives it; `units` give the time unit of clock times.
    ImportDialog(std::string text, DisplayUnits units, const QString& fileName, QWidget* parent = nullptr);

    [[nodiscard]] ImportOptions options() const;
    // The reading of the whole file with the options shown.
    [[nodiscard]] const ImportReading& reading() const { return preview_.reading; }

    [[nodiscard]] QComboBox* delimiterBox() const { return delimiter_; }
    [[nodiscard]] QCheckBox* detectHeaderBox() const { return detectHeader_; }
    [[nodiscard]] QSpinBox* headerLinesBox() const { return headerLines_; }
    [[nodiscard]] QSpinBox* timeColumnBox() const { return timeColumn_; }
    [[nodiscard]] QSpinBox* valueColumnBox() const { return valueColumn_; }
    [[nodiscard]] QComboBox* timeFormatBox() const { return timeFormat_; }
    [[nodiscard]] QLineEdit* startEdit() const { return start_; }
    [[nodiscard]] QComboBox* valuesBox() const { return values_; }
    [[nodiscard]] QLineEdit* staticLevelEdit() const { return staticLevel_; }
    [[nodiscard]] QTableWidget* previewTable() const { return table_; }
    [[nodiscard]] QLabel* statusLabel() const { return status_; }
    [[nodiscard]] QPushButton* okButton() const { return ok_; }

private:
    void buildOptions(QFormLayout* form);
    void connectOptions();
    void refresh();
    void fillTable();

    std::string text_;
    DisplayUnits units_;
    ImportPreview preview_;
    QComboBox* delimiter_ = nullptr;
    QCheckBox* detectHeader_ = nullptr;
    QSpinBox* headerLines_ = nullptr;
    QSpinBox* timeColumn_ = nullptr;
    QSpinBox* valueColumn_ = nullptr;
    QComboBox* timeFormat_ = nullptr;
    QLineEdit* start_ = nullptr;
    QComboBox* values_ = nullptr;
    QLineEdit* staticLevel_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tolvex::gui
