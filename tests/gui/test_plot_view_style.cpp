// The plot in the window: it fills the view at the proportions of the drawing space, centred, in a wide
// and in a tall window; the Plotting Options store the plot style and axes and, in the clear style,
// refuse limits that make no axis, naming the field and keeping the dialog open with the cursor there;
// the View menu's style and axes choices change the document and can be undone, and so does its
// derivative switch; the smoothing dialog gives an odd window and reads a decimal comma.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSpinBox>

#include "core/plot/Scene.h"
#include "core/state/CommaLocale.h"
#include "gui/DerivativeDialog.h"
#include "gui/MainWindow.h"
#include "gui/PlotView.h"
#include "gui/PlottingOptionsDialog.h"
#include "gui/ScriptedGuiInteraction.h"
#include "gui/UndoHistory.h"

namespace tolvex::gui {
namespace {

struct AreaCase {
    QSizeF window;
    QRectF expected;  // worked out by hand: the larger of the two scales that fit, 1200 : 1000
};

TEST(PlotViewArea, KeepsTheDrawingSpacesProportionsCentredInWideAndTallWindows) {
    const AreaCase cases[] = {
        {{1600, 500}, {500, 0, 600, 500}},   // wide: the height limits, strips left and right
        {{600, 1500}, {0, 500, 600, 500}},   // tall: the width limits, strips above and below
        {{1200, 1000}, {0, 0, 1200, 1000}},  // exactly the drawing space
        {{240, 200}, {0, 0, 240, 200}},      // the smallest view
    };
    for (const AreaCase& c : cases) {
        const QRectF area = PlotView::plotArea(QRectF(QPointF(0, 0), c.window));
        EXPECT_EQ(area, c.expected) << c.window.width() << "x" << c.window.height();
        EXPECT_DOUBLE_EQ(area.width() / area.height(), 1.2);
    }
}

class PlotWindow : public ::testing::Test {
protected:
    AnalysisState state = makeDefaultState();
    MainWindow window{state, std::make_unique<testing::ScriptedGuiInteraction>()};

    // A view of the state as painted at `size` (on its own: the window's layout sizes its own view).
    QImage paintedAt(QSize size) {
        PlotView view(state);
        view.resize(size);
        return view.grab().toImage();
    }
};

bool dark(QRgb pixel) {
    return qGray(pixel) < 64;
}

TEST_F(PlotWindow, TheViewDrawsTheFrameWhereTheCentredAreaPutsIt) {
    state.plotContent = 1;  // the measured data: the frame runs from x 200 to 1000, y 250 to 950
    struct Case {
        QSize size;
        double scale;
        QPointF origin;  // top-left corner of the area
    };
    const Case cases[] = {{{1000, 400}, 0.4, {260, 0}}, {{480, 900}, 0.4, {0, 250}}};
    for (const Case& c : cases) {
        const QImage image = paintedAt(c.size);
        const int left = static_cast<int>(c.origin.x() + 200 * c.scale);
        const int middle = static_cast<int>(c.origin.y() + (1000 - 600) * c.scale);
        // One device pixel wide: allow the rounding of the line to either neighbour.
        const bool frame = dark(image.pixel(left - 1, middle)) || dark(image.pixel(left, middle)) ||
                           dark(image.pixel(left + 1, middle));
        EXPECT_TRUE(frame) << c.size.width();
        EXPECT_FALSE(dark(image.pixel(left - 8, middle))) << c.size.width();
        // The strips beside the area are white, and so is the margin left of the frame.
        EXPECT_EQ(image.pixel(2, c.size.height() / 2), qRgb(255, 255, 255)) << c.size.width();
        EXPECT_EQ(image.pixel(c.size.width() - 3, 2), qRgb(255, 255, 255)) << c.size.width();
    }
}

struct DialogRun {
    bool accepted = false;
    QStringList errors;
    QString focus;  // the object name of the widget with the focus when the dialog closed (empty: none)
};

DialogRun runOptions(AnalysisState& state, const std::function<void(PlottingOptionsDialog&)>& edit) {
    PlottingOptionsDialog dialog(state);
    DialogRun run;
    dialog.showError = [&run](QWidget*, const QString& message) { run.errors << message; };
    dialog.show();
    edit(dialog);
    dialog.accept();
    run.accepted = dialog.result() == QDialog::Accepted;
    // The name, not the widget: the dialog and its fields are gone when the run is returned.
    if (const QWidget* focused = dialog.focusWidget()) run.focus = focused->objectName();
    return run;
}

void setText(PlottingOptionsDialog& dialog, int id, const QString& text) {
    qobject_cast<QLineEdit*>(dialog.control(id))->setText(text);
}

void choose(PlottingOptionsDialog& dialog, const char* box, const QString& item) {
    auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(box));
    combo->setCurrentIndex(combo->findText(item));
}

TEST(PlottingOptionsView, StoresTheStyleAndAxes) {
    AnalysisState state = makeDefaultState();
    const DialogRun run = runOptions(state, [](PlottingOptionsDialog& d) {
        choose(d, "plotStyleBox", QStringLiteral("Clear"));
        choose(d, "axesBox", QStringLiteral("Semi-log (log time)"));
        setText(d, 102, QStringLiteral("0.01"));
        setText(d, 103, QStringLiteral("1e5"));
        setText(d, 104, QStringLiteral("0"));
        setText(d, 105, QStringLiteral("3"));
    });
    EXPECT_TRUE(run.accepted);
    EXPECT_TRUE(run.errors.isEmpty()) << run.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(state.view.style, PlotStyle::Clear);
    EXPECT_EQ(state.view.axes, AxesChoice::SemiLog);
    EXPECT_EQ(state.plotXMin, 0.01f);
    EXPECT_EQ(state.plotYMax, 3.0f);
}

struct RefusalCase {
    const char* name;
    const char* style;
    const char* axes;
    int field;
    const char* text;
    int focused;
    const char* message;
};

TEST(PlottingOptionsView, RefusesABadValueNamingItsFieldAndKeepsTheDialogOpen) {
    const RefusalCase cases[] = {
        {"no number", "Classic", "Automatic", 104, "abc", 104,
         "Please enter a number as the \"Minimum\" of the vertical axis."},
        {"clear, minimum above maximum", "Clear", "Semi-log (log time)", 105, "-1", 105,
         "Please enter a number above the \"Minimum\" of the vertical axis as the \"Maximum\" of the "
         "vertical "
         "axis."},
        {"clear, log axis at zero", "Clear", "Log-log", 102, "0", 102,
         "Please enter a number above zero as the \"Minimum\" of the horizontal axis: the axis is "
         "logarithmic."},
        {"clear, linear axis may start at zero", "Clear", "Semi-log (log time)", 104, "0", 0, ""},
        {"classic stores limits as entered", "Classic", "Automatic", 105, "-1", 0, ""},
    };
    for (const RefusalCase& c : cases) {
        AnalysisState state = makeDefaultState();
        const AnalysisState before = state;
        const DialogRun run = runOptions(state, [&c](PlottingOptionsDialog& d) {
            choose(d, "plotStyleBox", QString::fromLatin1(c.style));
            choose(d, "axesBox", QString::fromLatin1(c.axes));
            setText(d, c.field, QString::fromLatin1(c.text));
        });
        if (c.focused == 0) {
            EXPECT_TRUE(run.accepted) << c.name;
            EXPECT_TRUE(run.errors.isEmpty()) << c.name;
            continue;
        }
        EXPECT_FALSE(run.accepted) << c.name;
        EXPECT_EQ(run.errors, QStringList{QString::fromLatin1(c.message)}) << c.name;
        EXPECT_EQ(run.focus, QStringLiteral("control%1").arg(c.focused)) << c.name;
        EXPECT_EQ(state.plotYMin, before.plotYMin) << c.name;  // nothing stored
        EXPECT_EQ(state.view, before.view) << c.name;
    }
}

TEST(PlottingOptionsView, TakesADecimalCommaOrPointUnderACommaLocale) {
    ::tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active());
    AnalysisState state = makeDefaultState();
    const DialogRun run = runOptions(state, [](PlottingOptionsDialog& d) {
        choose(d, "plotStyleBox", QStringLiteral("Clear"));
        choose(d, "axesBox", QStringLiteral("Semi-log (log time)"));
        setText(d, 104, QStringLiteral("0,5"));  // as typed under the locale
        setText(d, 105, QStringLiteral("2.5"));
    });
    EXPECT_TRUE(run.accepted) << run.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(state.plotYMin, 0.5f);
    EXPECT_EQ(state.plotYMax, 2.5f);
}

QAction* actionNamed(MainWindow& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

TEST_F(PlotWindow, TheViewMenuChangesTheStyleAndAxesAsAnUndoableChange) {
    QAction* clear = actionNamed(window, "plotStyleClearAction");
    QAction* semiLog = actionNamed(window, "axesSemiLogAction");
    ASSERT_NE(clear, nullptr);
    ASSERT_NE(semiLog, nullptr);
    EXPECT_TRUE(actionNamed(window, "plotStyleClassicAction")->isChecked());
    EXPECT_TRUE(actionNamed(window, "axesAutoAction")->isChecked());
    clear->trigger();
    semiLog->trigger();
    EXPECT_EQ(state.view.style, PlotStyle::Clear);
    EXPECT_EQ(state.view.axes, AxesChoice::SemiLog);
    EXPECT_TRUE(window.document().info().changed);
    EXPECT_TRUE(clear->isChecked());
    window.undoHistory().stack().undo();
    EXPECT_EQ(state.view.axes, AxesChoice::Auto);
    EXPECT_EQ(state.view.style, PlotStyle::Clear);
}

TEST_F(PlotWindow, TheDerivativeIsSwitchedOnFromTheViewMenuAsAnUndoableChange) {
    QAction* derivative = actionNamed(window, "derivativeAction");
    ASSERT_NE(derivative, nullptr);
    ASSERT_NE(actionNamed(window, "derivativeSmoothingAction"), nullptr);
    EXPECT_FALSE(derivative->isChecked());
    state.plotContent = 1;
    derivative->trigger();
    EXPECT_TRUE(state.view.derivative);
    EXPECT_TRUE(window.document().info().changed);
    EXPECT_EQ(window.undoHistory().undoName(), QStringLiteral("Derivative"));
    window.undoHistory().undo();
    EXPECT_FALSE(state.view.derivative);
}

TEST(DerivativeSmoothing, TheDialogGivesAnOddWindowOrTheLSpacingUnderACommaLocale) {
    ::tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active());
    ViewSettings view;
    DerivativeDialog dialog(view);
    EXPECT_TRUE(dialog.lSpacingChoice()->isChecked());
    EXPECT_DOUBLE_EQ(dialog.lSpacing()->value(), kDefaultDerivativeLSpacing);
    // Qt takes the user's locale for the process; the box reads the value as a German user types it.
    dialog.lSpacing()->setLocale(QLocale(QLocale::German, QLocale::Germany));
    dialog.lSpacing()->setValue(dialog.lSpacing()->valueFromText(QStringLiteral("0,35")));
    ViewSettings chosen = dialog.chosen();
    EXPECT_TRUE(chosen.derivative);
    EXPECT_DOUBLE_EQ(chosen.derivativeLSpacing, 0.35);
    EXPECT_EQ(chosen.derivativeWindow, 0);
    dialog.windowChoice()->setChecked(true);
    dialog.window()->setValue(6);
    chosen = dialog.chosen();
    EXPECT_EQ(chosen.derivativeWindow, 7);
    // A window chosen before opens as it was.
    DerivativeDialog again(chosen);
    EXPECT_TRUE(again.windowChoice()->isChecked());
    EXPECT_EQ(again.window()->value(), 7);
}

}  // namespace
}  // namespace tolvex::gui
