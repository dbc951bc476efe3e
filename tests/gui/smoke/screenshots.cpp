// Pictures of the main window and every kind of dialog, for looking at the program without a desktop
// (run under xvfb-run) and for the documentation. Not a test: it asserts nothing.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTimer>

#include "core/commands/CommandIds.h"
#include "core/commands/DataForms.h"
#include "core/commands/EstimationForms.h"
#include "core/commands/SettingsForms.h"
#include "core/commands/TypeCurveForms.h"
#include "gui/FormDialog.h"
#include "gui/MainWindow.h"
#include "gui/MeasurementTableDialog.h"
#include "gui/PlottingOptionsDialog.h"
#include "gui/ProgressDialog.h"
#include "gui/ScriptedGuiInteraction.h"

namespace {

void save(QWidget& widget, const QDir& folder, const QString& name) {
    widget.adjustSize();
    widget.show();
    QApplication::processEvents();
    widget.grab().save(folder.filePath(name + QStringLiteral(".png")));
    widget.hide();
}

void saveForm(const tolvex::Form& form, tolvex::AnalysisState& state, const QDir& folder,
              const QString& name) {
    tolvex::gui::FormDialog dialog(form, state);
    save(dialog, folder, name);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    using namespace tolvex;
    AnalysisState state = makeDefaultState();
    auto scripted = std::make_unique<gui::testing::ScriptedGuiInteraction>();
    gui::MainWindow window(state, std::move(scripted));
    window.resize(1000, 760);
    window.show();

    state.modelKind = 2;
    window.runCommand(kCmdTypeCurveCalculation);
    window.grab().save(folder.filePath(QStringLiteral("main-window-typecurves.png")));
    state.modelKind = 0;
    window.runCommand(kCmdLeastSquaresInversion);
    window.grab().save(folder.filePath(QStringLiteral("main-window-fit.png")));

    int index = 0;
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        window.updateCommandStates();
        save(*menu, folder, QStringLiteral("menu-%1").arg(index++));
    }
    saveForm(*initialGuessForm(1), state, folder, QStringLiteral("form-partial-penetration"));
    saveForm(*initialGuessForm(4), state, folder, QStringLiteral("form-storage"));
    saveForm(modelSelectionForm(), state, folder, QStringLiteral("form-model-selection"));
    saveForm(projectForm(), state, folder, QStringLiteral("form-project"));
    saveForm(*typeCurveRangeForm(6), state, folder, QStringLiteral("form-range-unconfined"));
    saveForm(*typeCurveOptionForm(0), state, folder, QStringLiteral("form-option-confined"));
    saveForm(typeCurveSelectionForm(), state, folder, QStringLiteral("form-type-curve-selection"));
    saveForm(inputOptionsForm(), state, folder, QStringLiteral("form-input-options"));
    saveForm(timeInputForm(), state, folder, QStringLiteral("form-time-input"));
    saveForm(matchingCriteriaForm(), state, folder, QStringLiteral("form-criteria"));
    {
        gui::MeasurementTableDialog table(state);
        save(table, folder, QStringLiteral("measurement-table"));
    }
    {
        gui::PlottingOptionsDialog options(state);
        save(options, folder, QStringLiteral("plotting-options"));
    }
    {
        gui::ProgressDialog progress;
        progress.step(7);
        save(progress, folder, QStringLiteral("progress"));
    }
    window.runCommand(kCmdHelpTopics);
    if (auto* guide = window.findChild<QDialog*>(QStringLiteral("userGuide"))) {
        QApplication::processEvents();
        guide->grab().save(folder.filePath(QStringLiteral("user-guide.png")));
    }
    return 0;
}
