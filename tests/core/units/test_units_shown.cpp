// The plot and the reports show the numbers as the document shows them: a document converted to units
// draws the picture it drew before, point for point and label for label, and prints the same report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/commands/EstimationCommands.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/persist/Reports.h"
#include "core/plot/PlotScene.h"
#include "core/state/AnalysisState.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

std::string pointText(plot::Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

// Every primitive as a line of text, so that two scenes compare as a whole.
std::vector<std::string> describe(const plot::Scene& scene) {
    std::vector<std::string> lines;
    for (const plot::Primitive& primitive : scene.primitives) {
        std::visit(
            [&](const auto& shape) {
                using T = std::decay_t<decltype(shape)>;
                if constexpr (std::is_same_v<T, plot::Line>) {
                    lines.push_back("line " + pointText(shape.from) + " " + pointText(shape.to));
                } else if constexpr (std::is_same_v<T, plot::Polyline>) {
                    std::string text = "polyline";
                    for (const plot::Point& p : shape.points) text += " " + pointText(p);
                    lines.push_back(text);
                } else if constexpr (std::is_same_v<T, plot::Ellipse>) {
                    lines.push_back("ellipse " + pointText(shape.lowerLeft) + " " +
                                    pointText(shape.upperRight));
                } else {
                    lines.push_back("text " + pointText(shape.anchor) + " " + shape.text);
                }
            },
            primitive);
    }
    return lines;
}

TEST(UnitsPlot, AConvertedDocumentDrawsThePictureItDrewBefore) {
    for (const DisplayUnits& units : {DisplayUnits{"min", "m", "m3/d"}, DisplayUnits{"d", "ft", "gpm"}}) {
        AnalysisState classic = makeDefaultState();
        classic.plotContent = 1;
        AnalysisState converted = classic;
        changeDisplayUnits(converted, units);
        ASSERT_NE(converted.allTimes, classic.allTimes);
        const auto expected = describe(plot::buildPlotScene(classic));
        ASSERT_GT(expected.size(), 20u);
        EXPECT_EQ(describe(plot::buildPlotScene(converted)), expected) << unitsText(units);
        EXPECT_EQ(converted.dataTimeMax, classic.dataTimeMax);  // the drawn extents, as shown
    }
}

TEST(UnitsReport, AConvertedDocumentPrintsTheReportItPrintedBefore) {
    AnalysisState classic = makeDefaultState();
    testing::ScriptedInteraction ui;
    ASSERT_EQ(leastSquaresInversion(classic, ui), CommandOutcome::Done);
    const std::string expected = reportText(classic);
    ASSERT_NE(expected.find("Inversion results"), std::string::npos);
    AnalysisState converted = classic;
    changeDisplayUnits(converted, DisplayUnits{"min", "cm", "L/s"});
    ASSERT_NE(converted.transmissivity, classic.transmissivity);
    EXPECT_EQ(reportText(converted), expected);
}

}  // namespace
}  // namespace tolvex
