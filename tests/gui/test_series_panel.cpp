// The observation-series dock: series added from a file, switched, weighted, moved and removed in its
// table, bad files and values refused with the analysis kept, and a joint fit run from the window. The
// whole program also runs under a comma locale (GuiTestMain.cpp): numbers show with a point there too.
#include <gtest/gtest.h>

#include <QTableWidget>
#include <charconv>
#include <fstream>
#include <string>

#include "core/commands/CommandIds.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"
#include "gui/SeriesPanel.h"

namespace tolvex::gui {
namespace {

QString dataFile(int well) {
    return QString::fromStdString(std::string(TOLVEX_TEST_DATA_DIR) + "/series/joint_theis_" +
                                  std::to_string(well) + ".dat");
}

// A number of the file, read the same under every locale.
double fileNumber(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The file's pairs read here, by hand: "t,s" per line.
std::vector<std::pair<double, double>> pairsOf(const QString& path) {
    std::ifstream in(path.toStdString());
    std::vector<std::pair<double, double>> pairs;
    for (std::string line; std::getline(in, line);) {
        const auto comma = line.find(',');
        pairs.emplace_back(fileNumber(line.substr(0, comma)), fileNumber(line.substr(comma + 1)));
    }
    return pairs;
}

class SeriesWindow : public ::testing::Test {
protected:
    SeriesWindow() {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        panel = window->seriesPanel();
    }
    QTableWidget& table() { return *panel->table(); }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
    SeriesPanel* panel = nullptr;
};

TEST_F(SeriesWindow, ASeriesIsAddedFromAFileAndRemoved) {
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isHidden()) << "a classic document shows no series dock";
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_EQ(table().item(0, SeriesPanel::Distance)->text(), QStringLiteral("154"));

    ASSERT_FALSE(panel->addSeriesFromFile(dataFile(2), QStringLiteral("P2"), 60.0));
    ASSERT_EQ(state.extraSeries.size(), 1u);
    const auto pairs = pairsOf(dataFile(2));
    ASSERT_EQ(state.extraSeries[0].times.size(), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(state.extraSeries[0].times[i], pairs[i].first);
        EXPECT_EQ(state.extraSeries[0].values[i], pairs[i].second);
    }
    EXPECT_EQ(state.extraSeries[0].radialDistance, 60.0f);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(table().rowCount(), 2);
    EXPECT_EQ(table().item(1, SeriesPanel::Name)->text(), QStringLiteral("P2"));
    EXPECT_EQ(table().item(1, SeriesPanel::Distance)->text(), QStringLiteral("60"));
    EXPECT_TRUE(window->windowTitle().startsWith(QLatin1Char('*')));

    EXPECT_FALSE(panel->removeSeries(0)) << "the measurement table's series stays";
    EXPECT_TRUE(panel->removeSeries(1));
    EXPECT_TRUE(state.extraSeries.empty());
    EXPECT_EQ(table().rowCount(), 1);
}

TEST_F(SeriesWindow, ABadFileOrDistanceIsRefusedAndNothingChanges) {
    const struct {
        QString path;
        double r;
        const char* message;
    } cases[] = {
        {QStringLiteral("/no/such/series.dat"), 60.0, "series.dat"},
        {dataFile(2), 0.0, "the radial distance 0 is not a positive number"},
        {dataFile(2), -3.0, "the radial distance -3 is not a positive number"},
    };
    for (const auto& c : cases) {
        const auto error = panel->addSeriesFromFile(c.path, QStringLiteral("P"), c.r);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->contains(QString::fromUtf8(c.message))) << error->toStdString();
        EXPECT_TRUE(state.extraSeries.empty());
        EXPECT_EQ(table().rowCount(), 1);
    }
}

TEST_F(SeriesWindow, TheTableSwitchesWeighsAndPlacesTheSeries) {
    ASSERT_FALSE(panel->addSeriesFromFile(dataFile(2), QStringLiteral("P2"), 60.0));
    table().item(1, SeriesPanel::On)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(state.extraSeries[0].settings.on);
    table().item(0, SeriesPanel::On)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(state.firstSeries.on);

    table().item(1, SeriesPanel::Weight)->setText(QStringLiteral("2,5"));  // typed under a comma locale
    EXPECT_EQ(state.extraSeries[0].settings.weight, 2.5);
    EXPECT_EQ(table().item(1, SeriesPanel::Weight)->text(), QStringLiteral("2.5"));
    table().item(1, SeriesPanel::Weight)->setText(QStringLiteral("-1"));
    EXPECT_EQ(state.extraSeries[0].settings.weight, 2.5);
    EXPECT_EQ(table().item(1, SeriesPanel::Weight)->text(), QStringLiteral("2.5"));
    ASSERT_FALSE(ui->script.messages.empty());
    EXPECT_NE(ui->script.messages.back().find("the weight -1 is not a number of 0 or more"),
              std::string::npos);

    table().item(0, SeriesPanel::Distance)->setText(QStringLiteral("30"));
    EXPECT_EQ(state.radialDistance, 30.0f);
    table().item(1, SeriesPanel::Distance)->setText(QStringLiteral("far"));
    EXPECT_EQ(state.extraSeries[0].radialDistance, 60.0f);
    EXPECT_NE(ui->script.messages.back().find("\"far\" is not a number"), std::string::npos);
    table().item(1, SeriesPanel::Name)->setText(QStringLiteral("P2 north"));
    EXPECT_EQ(state.extraSeries[0].settings.name, "P2 north");
}

TEST_F(SeriesWindow, GeometryIsCheckedBeforeItIsKept) {
    ASSERT_FALSE(panel->addSeriesFromFile(dataFile(2), QStringLiteral("P2"), 60.0));
    QStringList texts{"1", "0.3", "0.8", "0.2", "0", "0.5", "0.75", "0.25", "2", "0.5", "0", "1"};
    EXPECT_FALSE(panel->setGeometry(1, texts));
    EXPECT_EQ(state.extraSeries[0].geometry.ppObsKind, 1);
    EXPECT_EQ(state.extraSeries[0].geometry.ppObsL, 0.8f);
    EXPECT_EQ(state.extraSeries[0].geometry.mnObsKind, 2);
    const ObservationGeometry kept = state.extraSeries[0].geometry;
    texts[8] = QStringLiteral("3");
    const auto error = panel->setGeometry(1, texts);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("a whole number from 0 to 2"))) << error->toStdString();
    texts[8] = QStringLiteral("1");
    texts[1] = QStringLiteral("1,5");
    EXPECT_TRUE(panel->setGeometry(1, texts));
    EXPECT_EQ(state.extraSeries[0].geometry, kept);
    EXPECT_TRUE(panel->setGeometry(0, texts)) << "the first series' geometry is the model dialogs'";
}

TEST_F(SeriesWindow, ALeastSquaresFitFromTheWindowFitsEverySeries) {
    state.pumpingRate = 500.0f;
    state.radialDistance = 20.0f;
    state.storativity = 3e-4f;
    state.transmissivity = 40.0f;
    state.maxIterations = 200;
    ASSERT_FALSE(panel->addSeriesFromFile(dataFile(2), QStringLiteral("P2"), 60.0));
    ASSERT_FALSE(panel->addSeriesFromFile(dataFile(3), QStringLiteral("P3"), 150.0));
    const auto pairs = pairsOf(dataFile(1));
    state.allCount = static_cast<int>(pairs.size());
    state.useFrom = 1;
    state.useTo = state.usedCount = state.allCount;
    resizeMeasurementArrays(state);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        state.allTimes[i] = state.times[i] = pairs[i].first;
        state.allDrawdowns[i] = state.measured[i] = pairs[i].second;
    }
    window->runCommand(kCmdLeastSquaresInversion);
    EXPECT_EQ(state.extraSeries[1].calculated.size(), 14u);
    EXPECT_NEAR(state.transmissivity / 49.9544564f, 1.0, 5e-4);  // joint_fits.csv, theis_3
}

}  // namespace
}  // namespace tolvex::gui
