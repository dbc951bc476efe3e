#include "gui/RecoveryView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/input/MeasurementTable.h"
#include "core/pumping/RecoveryViews.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"
#include "gui/Document.h"
#include "gui/GuiInteraction.h"
#include "gui/MainWindow.h"
#include "gui/PlotView.h"
#include "gui/UndoHistory.h"

namespace tolvex::gui {

std::optional<std::string> convertRecoveryToAgarwal(AnalysisState& state) {
    const auto stop = recoveryStart(state.rateSchedule);
    if (!stop) {
        return "The rate steps hold no recovery: enter them with Rate steps..., the last one a step to rate "
               "0 "
               "at the time the pump stopped.";
    }
    const auto count = static_cast<std::size_t>(std::max(state.allCount, 0));
    const std::vector<double> times(state.allTimes.begin(),
                                    state.allTimes.begin() + std::min(count, state.allTimes.size()));
    const std::vector<double> drawdowns(
        state.allDrawdowns.begin(), state.allDrawdowns.begin() + std::min(count, state.allDrawdowns.size()));
    const auto atStop = drawdownAtStop(times, drawdowns, *stop);
    if (!atStop)
        return "No measurement is as early as the stop of the pump: its drawdown s(t_p) is not known.";
    RecoveryView view = agarwalView(times, drawdowns, *stop, *atStop);
    if (view.x.empty())
        return "No measurement is later than the stop of the pump: there is no recovery to show.";
    state.pumpingRate = static_cast<float>(*rateBeforeRecovery(state.rateSchedule));
    state.rateSchedule.clear();
    // The view is in the state's own (SI) numbers; replaceMeasurements takes them as a person enters them.
    measurementsFromSI(view.x, view.y, measuredDimension(state), state.units);
    replaceMeasurements(state, view.x, view.y);
    return std::nullopt;
}

void addAgarwalCommand(MainWindow& window) {
    QAction* rateSteps = window.findChild<QAction*>(QStringLiteral("rateStepsAction"));
    if (rateSteps == nullptr || rateSteps->associatedObjects().isEmpty()) return;
    auto* menu = qobject_cast<QMenu*>(rateSteps->associatedObjects().first());
    if (menu == nullptr) return;
    auto* convert = new QAction(QStringLiteral("Recovery as drawdowns (Agarwal)"), &window);
    convert->setObjectName(QStringLiteral("agarwalAction"));
    convert->setStatusTip(
        QStringLiteral("Replace recovery readings by Agarwal's equivalent time and recovery"));
    QObject::connect(convert, &QAction::triggered, &window, [&window] {
        AnalysisState before = window.state();
        if (auto error = convertRecoveryToAgarwal(window.state())) {
            window.interaction().message(*error);
            return;
        }
        if (window.undoHistory().record(QStringLiteral("Recovery as drawdowns"), std::move(before)))
            window.document().info().changed = true;
        window.setWindowTitle(windowTitleFor(window.document()));
        window.updateCommandStates();
        window.plotView()->update();
    });
    const QList<QAction*> items = menu->actions();
    const int at = items.indexOf(rateSteps);
    menu->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, convert);
}

}  // namespace tolvex::gui
