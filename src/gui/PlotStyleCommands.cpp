#include "gui/PlotStyleCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <functional>

#include "gui/DerivativeDialog.h"
#include "gui/Document.h"
#include "gui/MainWindow.h"
#include "gui/PlotView.h"
#include "gui/UndoHistory.h"

namespace tolvex::gui {
namespace {

QMenu* viewMenu(MainWindow& window) {
    for (QAction* top : window.menuBar()->actions())
        if (top->menu() != nullptr && top->text() == QStringLiteral("&View")) return top->menu();
    return nullptr;
}

void applyView(MainWindow& window, const QString& name, const std::function<void(ViewSettings&)>& change) {
    AnalysisState& state = window.state();
    AnalysisState before = state;
    change(state.view);
    if (window.undoHistory().record(name, std::move(before))) window.document().info().changed = true;
    window.setWindowTitle(windowTitleFor(window.document()));
    window.updateCommandStates();
    window.plotView()->update();
}

template <class Value>
struct Choice {
    const char* text;
    const char* objectName;
    const char* tip;
    Value value;
};

constexpr Choice<PlotStyle> kStyles[] = {
    {"Classic", "plotStyleClassicAction", "Draw the plot as it always was drawn and printed",
     PlotStyle::Classic},
    {"Clear", "plotStyleClearAction",
     "Sans-serif labels, a light grid, colour-blind-safe colours, units in the axis titles and a legend",
     PlotStyle::Clear},
};

constexpr Choice<AxesChoice> kAxes[] = {
    {"Automatic", "axesAutoAction",
     "Classic style: the axis types of the Plotting Options; clear style: semi-log for slug tests and "
     "Jacob's method, log-log otherwise",
     AxesChoice::Auto},
    {"Log-log", "axesLogLogAction", "Both axes logarithmic", AxesChoice::LogLog},
    {"Semi-log", "axesSemiLogAction", "Logarithmic time, linear drawdowns or heads", AxesChoice::SemiLog},
};

template <class Value, std::size_t N>
void addChoices(MainWindow& window, QMenu* menu, const Choice<Value> (&choices)[N],
                Value ViewSettings::*member, const QString& undoName) {
    auto* group = new QActionGroup(menu);
    for (const Choice<Value>& choice : choices) {
        auto* action = new QAction(QString::fromLatin1(choice.text), group);
        action->setObjectName(QString::fromLatin1(choice.objectName));
        action->setStatusTip(QString::fromLatin1(choice.tip));
        action->setCheckable(true);
        const Value value = choice.value;
        QObject::connect(action, &QAction::triggered, &window, [&window, member, value, undoName] {
            if (window.state().view.*member == value) return;
            applyView(window, undoName, [member, value](ViewSettings& view) { view.*member = value; });
        });
        menu->addAction(action);
    }
    // The check marks follow the document, whichever way it changed (a dialog, Undo, a file opened).
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&window, group, choices, member] {
        const QList<QAction*> actions = group->actions();
        for (qsizetype i = 0; i < actions.size(); ++i)
            actions[i]->setChecked(window.state().view.*member == choices[static_cast<std::size_t>(i)].value);
    });
}

// View > Derivative: the logarithmic derivative on the data plot, and its smoothing.
void addDerivativeCommands(MainWindow& window, QMenu* view) {
    QMenu* menu = view->addMenu(QStringLiteral("Derivative"));
    menu->setObjectName(QStringLiteral("derivativeMenu"));
    auto* show = menu->addAction(QStringLiteral("Show ds/d ln t"));
    show->setObjectName(QStringLiteral("derivativeAction"));
    show->setStatusTip(QStringLiteral(
        "Draw the logarithmic derivative of the measurements and of the model with the drawdowns"));
    show->setCheckable(true);
    QObject::connect(show, &QAction::triggered, &window, [&window](bool on) {
        if (window.state().view.derivative == on) return;
        applyView(window, QStringLiteral("Derivative"), [on](ViewSettings& v) { v.derivative = on; });
    });
    auto* smoothing = menu->addAction(QStringLiteral("Smoothing..."));
    smoothing->setObjectName(QStringLiteral("derivativeSmoothingAction"));
    smoothing->setStatusTip(QStringLiteral("Bourdet's L-spacing or a moving window for the derivative"));
    QObject::connect(smoothing, &QAction::triggered, &window, [&window] {
        DerivativeDialog dialog(window.state().view, &window);
        if (dialog.exec() != QDialog::Accepted) return;
        const ViewSettings chosen = dialog.chosen();
        applyView(window, QStringLiteral("Derivative smoothing"), [chosen](ViewSettings& v) { v = chosen; });
    });
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [&window, show] { show->setChecked(window.state().view.derivative); });
    emit menu->aboutToShow();
}

}  // namespace

void addPlotStyleCommands(MainWindow& window) {
    QMenu* view = viewMenu(window);
    if (view == nullptr) return;
    view->addSeparator();
    QMenu* style = view->addMenu(QStringLiteral("Plot style"));
    style->setObjectName(QStringLiteral("plotStyleMenu"));
    addChoices(window, style, kStyles, &ViewSettings::style, QStringLiteral("Plot style"));
    QMenu* axes = view->addMenu(QStringLiteral("Axes"));
    axes->setObjectName(QStringLiteral("axesMenu"));
    addChoices(window, axes, kAxes, &ViewSettings::axes, QStringLiteral("Axes"));
    addDerivativeCommands(window, view);
    emit style->aboutToShow();
    emit axes->aboutToShow();
}

}  // namespace tolvex::gui
