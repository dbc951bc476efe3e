#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/estimation/LinearSystem.h"

namespace tolvex {
namespace {

TEST(LinearSystem, SolvesAWellConditionedSystemWithRowInterchanges) {
    // The first pivot candidate is zero, so the rows must be interchanged.
    std::vector<double> m{0.0, 2.0, 1.0, 1.0, 1.0, 1.0, 2.0, 1.0, 3.0};
    std::vector<double> b(3, 0.0);
    const std::vector<double> x{1.0, 2.0, 3.0};
    for (int i = 0; i < 3; ++i) b[i] = m[3 * i] * x[0] + m[3 * i + 1] * x[1] + m[3 * i + 2] * x[2];
    solveLinearSystem(m, b, 3);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(b[i], x[i], 1e-12);
}

TEST(LinearSystem, SolvesTheScaledNormalEquationsOfAFit) {
    // Symmetric, unit diagonal plus damping, as the Marquardt iteration builds it.
    std::vector<double> m{1.02, 0.9, 0.3, 0.9, 1.02, 0.5, 0.3, 0.5, 1.02};
    const std::vector<double> original = m;
    std::vector<double> b{1.0, -2.0, 0.5};
    const std::vector<double> rhs = b;
    solveLinearSystem(m, b, 3);
    for (int i = 0; i < 3; ++i) {
        double back = 0.0;
        for (int j = 0; j < 3; ++j) back += original[3 * i + j] * b[j];
        EXPECT_NEAR(back, rhs[i], 1e-12);
    }
}

// Two rows of equal weight: the later one becomes the pivot, which fixes the factors left in M and with
// them the rounding of every Marquardt step.
TEST(LinearSystem, ATiedPivotGoesToTheLaterRow) {
    std::vector<double> m{1.0, 0.0, 1.0, 1.0};  // weights 1 * |1| and 1 * |1|
    std::vector<double> b{2.0, 5.0};
    solveLinearSystem(m, b, 2);
    EXPECT_EQ(m, (std::vector<double>{1.0, 1.0, 1.0, -1.0}));  // rows swapped: L21 = 1, U22 = 0 - 1
    EXPECT_EQ(b, (std::vector<double>{2.0, 3.0}));
}

TEST(LinearSystem, ASingularSystemStillGivesFiniteValues) {
    std::vector<double> m{1.0, 1.0, 1.0, 1.0};
    std::vector<double> b{1.0, 1.0};
    solveLinearSystem(m, b, 2);
    EXPECT_TRUE(std::isfinite(b[0]));
    std::vector<double> zero{0.0};
    std::vector<double> one{1.0};
    solveLinearSystem(zero, one, 1);
    EXPECT_DOUBLE_EQ(one[0], 1e20);  // the zero pivot is replaced by 1e-20
}

TEST(LinearSystem, AZeroRightHandSideGivesZero) {
    std::vector<double> m{4.0, 1.0, 1.0, 3.0};
    std::vector<double> b{0.0, 0.0};
    solveLinearSystem(m, b, 2);
    EXPECT_EQ(b[0], 0.0);
    EXPECT_EQ(b[1], 0.0);
}

}  // namespace
}  // namespace tolvex
