// "Slug-test heads": how the measured values of a slug test become the normalised heads H/H0 that the
// Cooper et al. (1967) and Bouwer and Rice (1976) fits use: already H/H0, H0 the first value's
// displacement, or H0 typed in; optionally the values are water levels (or depths) around a static
// level. OK stores the setting only when every number reads; a wrong one is named and takes the focus.
#pragma once

#include <QDialog>
#include <functional>

#include "core/series/ObservationSeries.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tolvex::gui {

class SlugHeadDialog : public QDialog {
    Q_OBJECT
public:
    SlugHeadDialog(SlugHead& head, QWidget* parent = nullptr);

    [[nodiscard]] QRadioButton* referenceButton(SlugHead::Reference reference) const;
    [[nodiscard]] QLineEdit* h0Edit() const { return h0_; }
    [[nodiscard]] QCheckBox* levelsBox() const { return levels_; }
    [[nodiscard]] QLineEdit* staticLevelEdit() const { return staticLevel_; }

    // Shows a refusal; a warning box unless replaced (the tests record the message instead).
    std::function<void(QWidget* parent, const QString& message)> showError;

public slots:
    void accept() override;

private:
    void updateEnabled();

    SlugHead& head_;
    QRadioButton* one_ = nullptr;
    QRadioButton* first_ = nullptr;
    QRadioButton* number_ = nullptr;
    QLineEdit* h0_ = nullptr;
    QCheckBox* levels_ = nullptr;
    QLineEdit* staticLevel_ = nullptr;
};

}  // namespace tolvex::gui
