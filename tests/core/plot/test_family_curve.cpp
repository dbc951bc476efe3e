#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/plot/FamilyCurve.h"

namespace tolvex::plot {
namespace {

// Curves 1-based, as the family arrays hold them: element 0 is never read.
const std::vector<float> kX{0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f};
const std::vector<float> kRising{0.0f, 10.0f, 20.0f, 30.0f, 40.0f, 50.0f};

std::vector<CurvePoint> clip(const std::vector<float>& y, AxisRange h, AxisRange v) {
    return clipFamilyCurve(kX, y, h, v);
}

TEST(FamilyCurveClipping, AnUnclippedCurveRunsFromItsHighEndToItsLowEnd) {
    const auto points = clip(kRising, {0.0f, 100.0f}, {0.0f, 100.0f});
    const std::vector<CurvePoint> expected{{5, 50}, {4, 40}, {3, 30}, {2, 20}, {1, 10}};
    EXPECT_EQ(points, expected);
}

TEST(FamilyCurveClipping, ACurveStartingLeftOfTheMinimumBeginsExactlyAtIt) {
    const auto points = clip(kRising, {1.5f, 100.0f}, {0.0f, 100.0f});
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.back().x, 1.5f);
    EXPECT_FLOAT_EQ(points.back().y, 15.0f);  // linear between (1, 10) and (2, 20)
    EXPECT_EQ(points[points.size() - 2], (CurvePoint{2, 20}));
}

TEST(FamilyCurveClipping, ACurveRunningPastTheMaximumEndsExactlyAtIt) {
    const auto points = clip(kRising, {0.0f, 3.25f}, {0.0f, 100.0f});
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.front().x, 3.25f);
    EXPECT_FLOAT_EQ(points.front().y, 32.5f);
    EXPECT_EQ(points[1], (CurvePoint{3, 30}));
}

TEST(FamilyCurveClipping, ValuesAboveTheVerticalMaximumAreCutAtIt) {
    const auto points = clip(kRising, {0.0f, 100.0f}, {0.0f, 35.0f});
    ASSERT_FALSE(points.empty());
    EXPECT_FLOAT_EQ(points.front().x, 3.5f);
    EXPECT_EQ(points.front().y, 35.0f);
    EXPECT_EQ(points[1], (CurvePoint{3, 30}));
}

TEST(FamilyCurveClipping, ValuesBelowTheVerticalMinimumStartOnIt) {
    const auto points = clip(kRising, {0.0f, 100.0f}, {25.0f, 100.0f});
    ASSERT_FALSE(points.empty());
    EXPECT_FLOAT_EQ(points.back().x, 2.5f);
    EXPECT_EQ(points.back().y, 25.0f);
    EXPECT_EQ(points[points.size() - 2], (CurvePoint{3, 30}));
}

TEST(FamilyCurveClipping, ACurveEndingAtOrBelowTheVerticalMinimumIsLeftOut) {
    const std::vector<float> falling{0.0f, 50.0f, 40.0f, 30.0f, 20.0f, 10.0f};
    EXPECT_TRUE(clip(falling, {0.0f, 100.0f}, {10.0f, 100.0f}).empty());
    EXPECT_TRUE(clip(falling, {0.0f, 100.0f}, {15.0f, 100.0f}).empty());
    EXPECT_FALSE(clip(falling, {0.0f, 100.0f}, {5.0f, 100.0f}).empty());
}

TEST(FamilyCurveClipping, DegenerateCurvesNeverDivideByZero) {
    const std::vector<float> x{0.0f, 1.0f, 1.0f, 1.0f};
    const std::vector<float> y{0.0f, 5.0f, 5.0f, 5.0f};
    const auto points = clipFamilyCurve(x, y, {2.0f, 3.0f}, {0.0f, 4.0f});
    for (const CurvePoint& p : points) {
        EXPECT_TRUE(std::isfinite(p.x));
        EXPECT_TRUE(std::isfinite(p.y));
    }
    EXPECT_TRUE(
        clipFamilyCurve(std::vector<float>{0.0f, 1.0f}, std::vector<float>{0.0f, 1.0f}, {0, 2}, {0, 2})
            .empty());
    EXPECT_TRUE(clipFamilyCurve(kX, std::vector<float>{0.0f, 1.0f}, {0, 2}, {0, 2}).empty());
}

}  // namespace
}  // namespace tolvex::plot
