// The title block of printouts and pictures: its texts in the document's units, and the band it adds
// below the plot without changing the plot itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "core/plot/SceneQueries.h"
#include "core/plot/TitleBlock.h"
#include "core/state/AnalysisState.h"
#include "core/state/CommaLocale.h"
#include "core/state/ModelKind.h"

namespace tolvex::plot {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// A Theis estimation shown in m and days: T = 100 m²/d, S = 2e-4, RMS = 1.5 cm.
AnalysisState fittedTheis() {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(ModelKind::Theis);
    s.units = DisplayUnits{"d", "m", "m3/d"};
    s.transmissivity = static_cast<float>(100.0 / kSecondsPerDay);  // the state holds SI: m²/s
    s.storativity = 2e-4f;
    s.rmsError = 0.015f;  // m
    s.resultKind = 1;
    s.firstSeries.name = "PZ-3";
    return s;
}

TEST(TitleBlockTexts, NameProjectOperatorWellAndModelOnTheLeft) {
    const AnalysisState s = fittedTheis();
    const TitleBlockTexts texts = titleBlockTexts(s, "2026-03-14");
    const std::vector<std::string> expected{"Project: " + s.projectDescription, "Operator: " + s.operatorName,
                                            "Well: PZ-3", "Model: " + std::string(modelName(0))};
    EXPECT_EQ(texts.left, expected);
}

TEST(TitleBlockTexts, ParametersAndRmsInTheDocumentsUnitsThenTheDate) {
    const TitleBlockTexts texts = titleBlockTexts(fittedTheis(), "2026-03-14");
    // 100 m²/d entered, kept as 100/86400 m²/s, shown with five significant digits.
    const std::vector<std::string> expected{"S = 0.0002", "T = 100 m\u00b2/d", "RMS = 0.015 m",
                                            "Date: 2026-03-14"};
    EXPECT_EQ(texts.right, expected);
}

TEST(TitleBlockTexts, UnitsFollowTheChosenLengthAndTimeUnits) {
    struct Case {
        DisplayUnits units;
        std::string transmissivity;
        std::string rms;
    };
    // T = 100 m²/d = 1/864 m²/s; RMS 0.015 m. Hand conversions: 1 h = 3600 s, 1 cm = 0.01 m.
    const Case cases[] = {
        {{"s", "m", "m3/s"}, "T = 0.0011574 m\u00b2/s", "RMS = 0.015 m"},
        {{"h", "cm", "m3/h"}, "T = 41667 cm\u00b2/h", "RMS = 1.5 cm"},
        {{}, "T = 0.0011574", "RMS = 0.015"},  // no units: the numbers as they stand, no label
    };
    for (const Case& c : cases) {
        AnalysisState s = fittedTheis();
        s.units = c.units;
        const TitleBlockTexts texts = titleBlockTexts(s, "d");
        SCOPED_TRACE(c.transmissivity);
        ASSERT_EQ(texts.right.size(), 4u);
        EXPECT_EQ(texts.right[1], c.transmissivity);
        EXPECT_EQ(texts.right[2], c.rms);
    }
}

TEST(TitleBlockTexts, EachModelListsItsParametersInVectorOrder) {
    struct Case {
        ModelKind model;
        std::vector<std::string> symbols;
    };
    // The parameter vectors of the models (Hantush, Moench, Warren and Root...) and the straight-line
    // and Bouwer-Rice results.
    const Case cases[] = {
        {ModelKind::Theis, {"S", "T"}},
        {ModelKind::PartialPenetration, {"S", "T", "Kz"}},
        {ModelKind::Leaky, {"S", "T", "K'"}},
        {ModelKind::LeakyPartial, {"S", "T", "Kz", "K'"}},
        {ModelKind::LeakyStorage, {"S", "T", "K'", "K''", "S'", "S''"}},
        {ModelKind::SlugTest, {"S", "T"}},
        {ModelKind::Unconfined, {"S", "T", "Kz", "Sy"}},
        {ModelKind::WarrenRoot, {"Sf", "Tf", "Sm", "Tm"}},
        {ModelKind::BoultonStreltsova, {"Sf", "Tf", "Sm", "Tm"}},
        {ModelKind::Jacob, {"T", "S"}},
        {ModelKind::BouwerRice, {"K"}},
    };
    for (const Case& c : cases) {
        AnalysisState s = makeDefaultState();
        s.modelKind = static_cast<int>(c.model);
        s.resultKind = 1;
        const TitleBlockTexts texts = titleBlockTexts(s, "d");
        SCOPED_TRACE(s.modelKind);
        ASSERT_EQ(texts.right.size(), c.symbols.size() + 2);
        for (std::size_t i = 0; i < c.symbols.size(); ++i)
            EXPECT_EQ(texts.right[i].rfind(c.symbols[i] + " = ", 0), 0u) << texts.right[i];
        EXPECT_EQ(texts.left.back(), "Model: " + std::string(modelName(s.modelKind)));
    }
}

TEST(TitleBlockTexts, ConductivitiesCarryLengthPerTime) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(ModelKind::BouwerRice);
    s.units = DisplayUnits{"d", "m", "m3/d"};
    s.hydraulicConductivity = static_cast<float>(2.0 / kSecondsPerDay);  // 2 m/d
    s.resultKind = 1;
    EXPECT_EQ(titleBlockTexts(s, "d").right.front(), "K = 2 m/d");
}

TEST(TitleBlockTexts, ANormalisedSlugTestRmsHasNoUnit) {
    AnalysisState s = fittedTheis();
    s.modelKind = static_cast<int>(ModelKind::SlugTest);
    s.rmsError = 0.02f;  // of H/H0
    const TitleBlockTexts texts = titleBlockTexts(s, "d");
    EXPECT_EQ(texts.right[texts.right.size() - 2], "RMS = 0.02");
}

TEST(TitleBlockTexts, BeforeAnEstimationNoParametersAreClaimed) {
    AnalysisState s = makeDefaultState();
    s.resultKind = 0;
    const std::vector<std::string> expected{"No estimation yet", "Date: 2026-03-14"};
    EXPECT_EQ(titleBlockTexts(s, "2026-03-14").right, expected);
}

TEST(TitleBlockTexts, DocumentTextsInLatin1BecomeUtf8AndAnUnnamedWellIsSaidSo) {
    AnalysisState s = makeDefaultState();
    s.projectDescription = "Brunnen M\xfcller";  // Latin-1 bytes, as the document keeps them
    s.operatorName = "J. Fran\xe7ois";
    s.firstSeries.name.clear();
    const TitleBlockTexts texts = titleBlockTexts(s, "d");
    EXPECT_EQ(texts.left[0], "Project: Brunnen M\u00fcller");
    EXPECT_EQ(texts.left[1], "Operator: J. Fran\u00e7ois");
    EXPECT_EQ(texts.left[2], "Well: (not named)");
}

TEST(TitleBlockTexts, AJointAnalysisNamesEverySeries) {
    AnalysisState s = fittedTheis();
    s.extraSeries.resize(2);
    s.extraSeries[0].settings.name = "PZ-4";
    EXPECT_EQ(titleBlockTexts(s, "d").left[2], "Wells: PZ-3, PZ-4, (not named)");
}

TEST(TitleBlockTexts, NumbersKeepThePointUnderACommaLocale) {
    const tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "de_DE.UTF-8 is not installed";
    const TitleBlockTexts texts = titleBlockTexts(fittedTheis(), "d");
    EXPECT_EQ(texts.right[0], "S = 0.0002");
    EXPECT_EQ(texts.right[2], "RMS = 0.015 m");
}

// A plot scene with one primitive of each kind.
Scene samplePlot() {
    Scene plot;
    plot.add(Line{{200, 250}, {1000, 250}});
    plot.add(Polyline{{{200, 300}, {400, 500}, {600, 900}}, Rgb{255, 0, 0}});
    plot.add(Ellipse{{300, 300}, {310, 310}});
    plot.add(Text{{500, 200}, "Time t", 0, PlotFont{}});
    return plot;
}

int lowestY(const Primitive& primitive) {
    return std::visit(
        [](const auto& p) -> int {
            using T = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<T, Line>) return std::min(p.from.y, p.to.y);
            if constexpr (std::is_same_v<T, Polyline>) {
                int y = p.points.front().y;
                for (const Point& q : p.points) y = std::min(y, q.y);
                return y;
            }
            if constexpr (std::is_same_v<T, Ellipse>) return p.lowerLeft.y;
            if constexpr (std::is_same_v<T, Text>) return p.anchor.y - p.font.height;
        },
        primitive);
}

TEST(TitleBlockScene, ThePlotMovesUpUnchangedAndThePageGrowsByTheBand) {
    const TitleBlockTexts texts = titleBlockTexts(fittedTheis(), "2026-03-14");
    const Scene plot = samplePlot();
    const Scene page = withTitleBlock(plot, texts, "Liberation Serif");
    const int band = titleBlockHeight(texts);
    // Four rows of at least one text cell each, and room for the frame.
    EXPECT_GE(band, 4 * 23 + 2);
    EXPECT_EQ(page.width, plot.width);
    EXPECT_EQ(page.height, plot.height + band);
    ASSERT_GE(page.primitives.size(), plot.primitives.size());
    Scene moved;
    moved.add(Line{{200, 250 + band}, {1000, 250 + band}});
    moved.add(Polyline{{{200, 300 + band}, {400, 500 + band}, {600, 900 + band}}, Rgb{255, 0, 0}});
    moved.add(Ellipse{{300, 300 + band}, {310, 310 + band}});
    moved.add(Text{{500, 200 + band}, "Time t", 0, PlotFont{}});
    const auto& first = std::get<Line>(page.primitives[0]);
    EXPECT_EQ(first.from, (std::get<Line>(moved.primitives[0]).from));
    EXPECT_EQ(std::get<Polyline>(page.primitives[1]).points, std::get<Polyline>(moved.primitives[1]).points);
    EXPECT_EQ(std::get<Ellipse>(page.primitives[2]).lowerLeft,
              std::get<Ellipse>(moved.primitives[2]).lowerLeft);
    EXPECT_EQ(std::get<Text>(page.primitives[3]).anchor, std::get<Text>(moved.primitives[3]).anchor);
}

TEST(TitleBlockScene, EveryTextOfTheBlockIsDrawnInsideTheBandAndThePage) {
    const TitleBlockTexts texts = titleBlockTexts(fittedTheis(), "2026-03-14");
    const Scene page = withTitleBlock(samplePlot(), texts, "Liberation Serif");
    const int band = titleBlockHeight(texts);
    std::vector<std::string> drawn;
    for (std::size_t i = 4; i < page.primitives.size(); ++i) {
        const Primitive& p = page.primitives[i];
        EXPECT_GE(lowestY(p), 0);
        if (const auto* line = std::get_if<Line>(&p)) {
            EXPECT_LE(std::max(line->from.y, line->to.y), band);
            EXPECT_LE(std::max(line->from.x, line->to.x), page.width);
        }
        if (const auto* text = std::get_if<Text>(&p)) {
            EXPECT_LE(text->anchor.y, band);
            EXPECT_EQ(text->font.face, "Liberation Serif");
            EXPECT_LE(text->anchor.x + estimatedTextWidth(text->text, text->font), page.width);
            drawn.push_back(text->text);
        }
    }
    std::vector<std::string> all = texts.left;
    all.insert(all.end(), texts.right.begin(), texts.right.end());
    EXPECT_EQ(drawn, all);
}

TEST(TitleBlockScene, TheFrameIsAClosedRectangleWithADivider) {
    const TitleBlockTexts texts = titleBlockTexts(fittedTheis(), "d");
    const Scene page = withTitleBlock(Scene{}, texts, "Liberation Serif");
    std::vector<Line> lines;
    for (const Primitive& p : page.primitives)
        if (const auto* line = std::get_if<Line>(&p)) lines.push_back(*line);
    ASSERT_EQ(lines.size(), 5u);
    // Four sides joined end to end, the fifth vertical.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)].to, lines[(i + 1) % 4].from);
    EXPECT_EQ(lines[4].from.x, lines[4].to.x);
    EXPECT_GT(lines[4].from.x, lines[0].from.x);
    EXPECT_LT(lines[4].from.x, lines[0].to.x);
}

TEST(TitleBlockScene, ALongTextIsCutWithAnEllipsisToItsColumn) {
    AnalysisState s = fittedTheis();
    s.projectDescription = std::string(300, 'W');
    const TitleBlockTexts texts = titleBlockTexts(s, "d");
    const Scene page = withTitleBlock(Scene{}, texts, "Liberation Serif");
    const auto project = std::find_if(page.primitives.begin(), page.primitives.end(), [](const Primitive& p) {
        const auto* text = std::get_if<Text>(&p);
        return text != nullptr && text->text.rfind("Project: ", 0) == 0;
    });
    ASSERT_NE(project, page.primitives.end());
    const Text& text = std::get<Text>(*project);
    EXPECT_TRUE(text.text.ends_with("..."));
    EXPECT_LT(text.text.size(), 300u);
    EXPECT_LE(text.anchor.x + estimatedTextWidth(text.text, text.font), page.width * 2 / 3);
}

TEST(TitleBlockScene, CuttingNeverSplitsAUtf8Character) {
    AnalysisState s = fittedTheis();
    s.projectDescription = std::string(200, '\xfc');  // Latin-1 ü, two bytes each in UTF-8
    const Scene page = withTitleBlock(Scene{}, titleBlockTexts(s, "d"), "Liberation Serif");
    for (const std::string& text : testing::textsOf(page)) {
        if (text.rfind("Project: ", 0) != 0) continue;
        const std::string body = text.substr(9, text.size() - 9 - 3);
        ASSERT_EQ(body.size() % 2, 0u);
        for (std::size_t i = 0; i < body.size(); i += 2) EXPECT_EQ(body.substr(i, 2), "\u00fc");
    }
}

TEST(ParameterSymbols, KnownFieldsHaveTheirSymbolsOthersKeepTheirName) {
    EXPECT_EQ(parameterSymbol("transmissivity"), "T");
    EXPECT_EQ(parameterSymbol("upperBedStorativity"), "S'");
    EXPECT_EQ(parameterSymbol("hydraulicConductivity"), "K");
    EXPECT_EQ(parameterSymbol("somethingElse"), "somethingElse");
}

}  // namespace
}  // namespace tolvex::plot
