// The results dock: hidden until the first estimation, then the model, the method and every result of
// each method on the sample sets (values from scipy, numpy and the closed forms, not from the program),
// the two clipboard copies read back (also under a comma locale), the dock reopened with its document,
// the note when the data change after the fit, the status bar's method and the title's unsaved mark.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "core/commands/CommandIds.h"
#include "core/input/SampleSets.h"
#include "core/persist/Document.h"
#include "core/state/CommaLocale.h"
#include "gui/MainWindow.h"
#include "gui/ResultsPanel.h"
#include "gui/ScriptedGuiInteraction.h"
#include "gui/SeriesPanel.h"
#include "gui/UnitsDialog.h"

namespace tolvex::gui {
namespace {

std::string dataPath(const std::string& name) {
    return std::string(TOLVEX_TEST_DATA_DIR) + "/" + name;
}

// `quantity` of `caseName` in a case,quantity,value[,...] table.
double reference(const std::string& file, const std::string& caseName, const std::string& quantity) {
    std::ifstream in(dataPath(file));
    for (std::string line; std::getline(in, line);) {
        const QStringList cells = QString::fromStdString(line).split(QLatin1Char(','));
        if (cells.size() >= 3 && cells[0] == QString::fromStdString(caseName) &&
            cells[1] == QString::fromStdString(quantity))
            return cells[2].toDouble();
    }
    ADD_FAILURE() << "no " << caseName << " " << quantity << " in " << file;
    return 0.0;
}

// Column `column` of case `caseName` in tests/data/reference/fits_5_10.csv.
double fitsReference(const std::string& caseName, const QString& column) {
    std::ifstream in(dataPath("reference/fits_5_10.csv"));
    QStringList header;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const QStringList cells = QString::fromStdString(line).split(QLatin1Char(','));
        if (header.isEmpty()) {
            header = cells;
        } else if (cells[0] == QString::fromStdString(caseName)) {
            return cells[header.indexOf(column)].toDouble();
        }
    }
    ADD_FAILURE() << "no case " << caseName;
    return 0.0;
}

// The cells of the panel's row whose first cell is `quantity`; empty when there is none.
QStringList rowOf(const ResultsPanel& panel, const QString& quantity) {
    const QTableWidget* table = panel.table();
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, ResultsPanel::Quantity)->text() != quantity) continue;
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
        return cells;
    }
    return {};
}

// The number the panel shows in column `column` of the row of `quantity`, as a C-locale number.
double shown(const ResultsPanel& panel, const QString& quantity, int column = ResultsPanel::Value) {
    const QStringList cells = rowOf(panel, quantity);
    if (cells.isEmpty()) {
        ADD_FAILURE() << "no row " << quantity.toStdString();
        return 0.0;
    }
    bool ok = false;
    const double value = cells[column].toDouble(&ok);  // QString::toDouble reads the C locale's point
    EXPECT_TRUE(ok) << quantity.toStdString() << ": " << cells[column].toStdString();
    return value;
}

// Six significant digits on the screen: a relative difference below 5e-6 plus the reference's own.
void expectShown(double got, double expected, const char* what) {
    EXPECT_NEAR(got / expected, 1.0, 1e-5) << what << ": " << got << " expected " << expected;
}

class ResultsWindow : public ::testing::Test {
protected:
    ResultsWindow() {
        QSettings().remove(QStringLiteral("fit"));
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }
    ~ResultsWindow() override { QSettings().remove(QStringLiteral("fit")); }
    ResultsPanel& panel() { return *window->resultsPanel(); }
    QString saveAs(const QString& name) {
        const QString path = dir.filePath(name);
        ui->script.fileAnswers.push_back(path.toStdString());
        window->runCommand(kCmdFileSaveAs);
        return path;
    }

    QTemporaryDir dir;
    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ResultsWindow, BeforeAnyEstimationTheDockIsHiddenAndSaysSo) {
    ASSERT_NE(window->resultsPanel(), nullptr);
    EXPECT_EQ(panel().objectName(), QStringLiteral("resultsPanel"));
    EXPECT_EQ(panel().windowTitle(), QStringLiteral("Results"));
    EXPECT_TRUE(panel().isHidden());
    EXPECT_EQ(panel().table()->rowCount(), 0);
    EXPECT_FALSE(panel().copyTableButton()->isEnabled());
    EXPECT_TRUE(panel().header()->text().startsWith(QStringLiteral("No estimation yet")));
    EXPECT_TRUE(window->modelPane()->text().endsWith(QStringLiteral("standard accuracy")));
}

// --- Each method on its sample ---------------------------------------------------------------------------

struct MethodCase {
    const char* name;
    int command;
    int model;
    bool slugSet;
    const char* method;
    // Checks the panel's rows against the references.
    std::function<void(const ResultsPanel&)> check;
};

const std::vector<MethodCase>& methodCases() {
    static const std::vector<MethodCase> cases{
        {"trial", kCmdTrialInversion, 0, false, "trial run",
         [](const ResultsPanel& p) {
             const std::string fits = "render/cli_fit_values.csv";
             expectShown(shown(p, "T"), reference(fits, "theis-trial", "transmissivity"), "T");
             expectShown(shown(p, "RMS error"), reference(fits, "theis-trial", "rmsError"), "RMS");
             EXPECT_EQ(rowOf(p, "Iterations")[ResultsPanel::Note], QStringLiteral("nothing fitted"));
         }},
        {"simplex", kCmdSimplexInversion, 0, false, "simplex",
         [](const ResultsPanel& p) {
             // No lower misfit than the least-squares optimum; no intervals for the simplex.
             EXPECT_GE(shown(p, "RMS error"),
                       reference("render/cli_fit_values.csv", "theis-lsq", "rmsError") * (1.0 - 1e-5));
             EXPECT_EQ(rowOf(p, "T")[ResultsPanel::StandardError], QStringLiteral("-"));
             EXPECT_EQ(rowOf(p, "Iterations")[ResultsPanel::Note], QStringLiteral("not converged"));
             EXPECT_TRUE(p.warnings()->text().contains(QStringLiteral("not converged after 20 iterations")));
         }},
        {"least squares", kCmdLeastSquaresInversion, 0, false, "least squares",
         [](const ResultsPanel& p) {
             const std::string u = "reference/fit_uncertainty.csv";
             expectShown(shown(p, "T"), reference(u, "theis_sample", "value_transmissivity"), "T");
             expectShown(shown(p, "S"), reference(u, "theis_sample", "value_storativity"), "S");
             EXPECT_NEAR(shown(p, "T", ResultsPanel::StandardError) /
                             reference(u, "theis_sample", "se_transmissivity"),
                         1.0, 1e-3);
             const QStringList interval = rowOf(p, "T")[ResultsPanel::Interval].split(QStringLiteral(" .. "));
             ASSERT_EQ(interval.size(), 2);
             EXPECT_NEAR(interval[0].toDouble() / reference(u, "theis_sample", "lo_transmissivity"), 1.0,
                         1e-3);
             EXPECT_NEAR(interval[1].toDouble() / reference(u, "theis_sample", "hi_transmissivity"), 1.0,
                         1e-3);
             EXPECT_EQ(rowOf(p, "Iterations")[ResultsPanel::Note], QStringLiteral("converged"));
         }},
        {"Jacob", kCmdLeastSquaresInversion, 9, false, "Jacob's straight line",
         [](const ResultsPanel& p) {
             const std::string fits = "render/cli_fit_values.csv";
             expectShown(shown(p, "T"), reference(fits, "jacob-lsq", "transmissivity"), "T");
             expectShown(shown(p, "S"), reference(fits, "jacob-lsq", "storativity"), "S");
             expectShown(shown(p, QStringLiteral("\u0394s per log cycle")),
                         reference("reference/result_summary.csv", "jacob_sample", "drawdownPerLogCycle"),
                         "slope");
             expectShown(shown(p, "t0"),
                         reference("reference/result_summary.csv", "jacob_sample", "zeroDrawdownTime"), "t0");
             EXPECT_EQ(rowOf(p, "Iterations")[ResultsPanel::Note], QStringLiteral("closed form"));
         }},
        {"Bouwer-Rice", kCmdLeastSquaresInversion, 10, true, "Bouwer and Rice",
         [](const ResultsPanel& p) {
             expectShown(shown(p, "K"), fitsReference("300", "e1"), "K");
             expectShown(shown(p, "ln(Re/rw)"), fitsReference("300", "e2"), "ln(Re/rw)");
             expectShown(shown(p, "Re"), fitsReference("300", "rw") * std::exp(fitsReference("300", "e2")),
                         "Re");
             expectShown(shown(p, "A"), fitsReference("300", "e3"), "A");
             expectShown(shown(p, "B"), fitsReference("300", "e4"), "B");
             expectShown(shown(p, "C"), fitsReference("300", "e5"), "C");
             expectShown(shown(p, "rate"), fitsReference("300", "e6"), "rate");
         }},
    };
    return cases;
}

TEST_F(ResultsWindow, EachMethodShowsTheDockWithItsResultsAndNamesItInTheStatusBar) {
    for (const MethodCase& c : methodCases()) {
        SCOPED_TRACE(c.name);
        state = makeDefaultState();
        if (c.slugSet) installPredefinedSet(state, kSetSlugTest);
        state.modelKind = c.model;
        panel().hide();
        window->runCommand(c.command);
        // The simplex from the default start does not settle within 20 iterations: the window says so.
        if (c.command != kCmdSimplexInversion) {
            EXPECT_TRUE(ui->script.messages.empty()) << ui->script.messages.front();
        }
        ui->script.messages.clear();
        EXPECT_FALSE(panel().isHidden());
        EXPECT_TRUE(panel().header()->text().contains(QString::fromUtf8(modelName(c.model).data())));
        EXPECT_TRUE(
            panel().header()->text().endsWith(QStringLiteral("Method: ") + QString::fromUtf8(c.method)));
        EXPECT_TRUE(
            window->modelPane()->text().endsWith(QStringLiteral(" \u00b7 ") + QString::fromUtf8(c.method)))
            << window->modelPane()->text().toStdString();
        EXPECT_FALSE(panel().staleNote()->isVisibleTo(&panel()));
        c.check(panel());
    }
}

TEST_F(ResultsWindow, AFixedParameterAndABoundAreMarked) {
    FitControls controls;
    controls.fixed = {"storativity"};
    controls.bounds["transmissivity"] = ParameterBounds{1.0, 8.0};
    window->fitSettings().store(0, controls);
    window->runCommand(kCmdLeastSquaresInversion);
    EXPECT_EQ(rowOf(panel(), "S")[ResultsPanel::Note], QStringLiteral("fixed"));
    EXPECT_EQ(rowOf(panel(), "T")[ResultsPanel::Note], QStringLiteral("at a bound"));
    EXPECT_NEAR(shown(panel(), "T"), 8.0, 1e-5);
}

// --- The two copies --------------------------------------------------------------------------------------

std::map<QString, QStringList> tableRows(const QString& text, int& columns) {
    std::map<QString, QStringList> rows;
    columns = -1;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (columns == -1) columns = static_cast<int>(cells.size());
        EXPECT_EQ(cells.size(), columns) << line.toStdString();
        rows[cells[0]] = cells;
    }
    return rows;
}

void expectCopiedTable(MainWindow& window) {
    window.resultsPanel()->copyTableButton()->click();
    int columns = 0;
    auto rows = tableRows(QApplication::clipboard()->text(), columns);
    EXPECT_EQ(columns, 8);
    EXPECT_EQ(rows[QStringLiteral("Quantity")].value(2), QStringLiteral("Value"));
    EXPECT_EQ(rows[QStringLiteral("method")].value(2), QStringLiteral("least squares"));
    const std::string u = "reference/fit_uncertainty.csv";
    const QStringList t = rows[QStringLiteral("transmissivity")];
    ASSERT_EQ(t.size(), 8);
    EXPECT_FALSE(t[2].contains(QLatin1Char(','))) << "a decimal point whatever the locale";
    bool ok = false;
    EXPECT_NEAR(t[2].toDouble(&ok) / reference(u, "theis_sample", "value_transmissivity"), 1.0, 2e-5);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(t[4].toDouble(&ok) / reference(u, "theis_sample", "se_transmissivity"), 1.0, 1e-3);
    EXPECT_NEAR(t[5].toDouble(&ok) / reference(u, "theis_sample", "lo_transmissivity"), 1.0, 1e-3);
    EXPECT_NEAR(t[6].toDouble(&ok) / reference(u, "theis_sample", "hi_transmissivity"), 1.0, 1e-3);
    EXPECT_NEAR(rows[QStringLiteral("rmsError")].value(2).toDouble() /
                    reference("render/cli_fit_values.csv", "theis-lsq", "rmsError"),
                1.0, 1e-6);

    window.resultsPanel()->copyTextButton()->click();
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Model: ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Method: least squares\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("  T = 8.42007, standard error ")));
}

TEST_F(ResultsWindow, CopyAsTableAndAsTextReadBack) {
    window->runCommand(kCmdLeastSquaresInversion);
    expectCopiedTable(*window);
}

TEST_F(ResultsWindow, CopyAsTableKeepsTheDecimalPointUnderACommaLocale) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the locale " << tolvex::testing::kCommaLocale << " is not installed";
    window->runCommand(kCmdLeastSquaresInversion);
    expectCopiedTable(*window);
}

// --- The document keeps the results ---------------------------------------------------------------------

QStringList allCells(const ResultsPanel& panel) {
    QStringList cells{panel.header()->text(), panel.warnings()->text()};
    for (int r = 0; r < panel.table()->rowCount(); ++r)
        for (int c = 0; c < panel.table()->columnCount(); ++c)
            cells << (panel.table()->item(r, c) ? panel.table()->item(r, c)->text() : QString());
    return cells;
}

TEST_F(ResultsWindow, ReopeningTheDocumentShowsTheSavedResults) {
    window->runCommand(kCmdLeastSquaresInversion);
    const QStringList fitted = allCells(panel());
    const QString path = saveAs(QStringLiteral("fitted.tvx"));
    window->runCommand(kCmdFileNew);
    EXPECT_EQ(panel().table()->rowCount(), 0) << "a new document has no results";
    panel().hide();
    ASSERT_TRUE(window->openDocumentFile(path));
    EXPECT_FALSE(panel().isHidden()) << "a document with results shows them";
    EXPECT_EQ(allCells(panel()), fitted);
    EXPECT_FALSE(panel().staleNote()->isVisibleTo(&panel()));
    EXPECT_TRUE(window->modelPane()->text().endsWith(QStringLiteral(" \u00b7 least squares")));
}

TEST_F(ResultsWindow, AClassicDocumentStaysByteForByteWhenNoEstimationIsKept) {
    const std::string golden = dataPath("documents/fit_pumping_theis.tvx");
    ASSERT_TRUE(window->openDocumentFile(QString::fromStdString(golden)));
    EXPECT_TRUE(panel().isHidden());
    const QString unchanged = saveAs(QStringLiteral("classic.tvx"));
    window->runCommand(kCmdTrialInversion);
    ASSERT_TRUE(state.lastResults.has_value());
    window->runCommand(kCmdEditUndo);
    EXPECT_FALSE(state.lastResults.has_value()) << "Undo takes the summary back with the fit";
    const QString undone = saveAs(QStringLiteral("undone.tvx"));
    std::ifstream a(golden, std::ios::binary), b(unchanged.toStdString(), std::ios::binary),
        c(undone.toStdString(), std::ios::binary);
    std::stringstream ga, gb, gc;
    ga << a.rdbuf();
    gb << b.rdbuf();
    gc << c.rdbuf();
    ASSERT_FALSE(ga.str().empty());
    // Saved from the window the records are the classic ones (the window clears the file's "modified"
    // word on opening, so that one word may differ from the golden file) and no block follows them.
    EXPECT_EQ(gb.str().size(), ga.str().size());
    EXPECT_EQ(gc.str(), gb.str()) << "a fit taken back leaves the document as it was";
}

// --- Stale results and the unsaved mark -------------------------------------------------------------------

// Answers the Units dialog as soon as its exec() shows it.
void answerUnitsDialog(const std::function<void(UnitsDialog&)>& answer) {
    QTimer::singleShot(10, [answer] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<UnitsDialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) return answer(*dialog);
        }
        answerUnitsDialog(answer);
    });
}

bool marked(const MainWindow& window) {
    return window.windowTitle().startsWith(QLatin1Char('*'));
}

TEST_F(ResultsWindow, TheTitleMarksEveryChangeUntilSavedAndTheDockNotesChangedData) {
    saveAs(QStringLiteral("marks.tvx"));
    EXPECT_FALSE(marked(*window));
    window->runCommand(kCmdLeastSquaresInversion);
    EXPECT_TRUE(marked(*window)) << "after a fit";
    window->runCommand(kCmdFileSave);
    EXPECT_FALSE(marked(*window)) << "after saving";

    // A series edit: the first series' distance typed in the series panel.
    QTableWidget* series = window->seriesPanel()->table();
    series->item(0, SeriesPanel::Distance)->setText(QStringLiteral("160"));
    ASSERT_EQ(state.radialDistance, 160.0f);
    EXPECT_TRUE(marked(*window)) << "after a series edit";
    EXPECT_TRUE(panel().staleNote()->isVisibleTo(&panel())) << "the fit no longer describes the data";
    panel().copyTableButton()->click();
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("stale")));
    window->runCommand(kCmdFileSave);
    EXPECT_FALSE(marked(*window));

    answerUnitsDialog([](UnitsDialog& dialog) {
        dialog.unitsButton()->setChecked(true);
        dialog.accept();
    });
    window->runCommand(kCmdUnits);
    EXPECT_TRUE(state.units.set());
    EXPECT_TRUE(marked(*window)) << "after a units change";
    window->runCommand(kCmdFileSave);
    EXPECT_FALSE(marked(*window));
}

TEST_F(ResultsWindow, TheViewMenuTogglesTheDock) {
    QAction* toggle = nullptr;
    for (QAction* top : window->menuBar()->actions())
        if (top->text() == QStringLiteral("&View"))
            for (QAction* item : top->menu()->actions())
                if (item->text() == QStringLiteral("Results")) toggle = item;
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle, panel().toggleViewAction());
    window->show();
    toggle->trigger();
    EXPECT_TRUE(panel().isVisible());
    toggle->trigger();
    EXPECT_FALSE(panel().isVisible());
    window->hide();
}

}  // namespace
}  // namespace tolvex::gui
