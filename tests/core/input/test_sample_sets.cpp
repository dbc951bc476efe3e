#include <gtest/gtest.h>

#include "core/input/SampleSets.h"

namespace tolvex {
namespace {

void expectConsistentSet(const AnalysisState& s, int count) {
    EXPECT_EQ(s.allCount, count);
    EXPECT_EQ(s.usedCount, count);
    EXPECT_EQ(s.useFrom, 1);
    EXPECT_EQ(s.useTo, count);
    EXPECT_EQ(s.times, s.allTimes);
    EXPECT_EQ(s.measured, s.allDrawdowns);
    EXPECT_EQ(s.calculated.size(), static_cast<std::size_t>(count));
}

TEST(SampleSets, SlugTestHas21PointsFrom3Point01) {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetSlugTest);
    expectConsistentSet(s, 21);
    EXPECT_DOUBLE_EQ(s.times.front(), 3.01);
    EXPECT_DOUBLE_EQ(s.measured.front(), 0.816);
    EXPECT_DOUBLE_EQ(s.times.back(), 63.01);
    EXPECT_DOUBLE_EQ(s.measured.back(), 0.116);
    EXPECT_DOUBLE_EQ(s.times[9], 30.01);
    EXPECT_DOUBLE_EQ(s.measured[9], 0.3);
}

TEST(SampleSets, EveryOtherChoiceInstallsThePumpingTest) {
    for (int set :
         std::initializer_list<int>{kSetConfinedAquifer, kSetLeakyConfinedAquifer, kSetLeakyWithStorage,
                                    kSetUnconfinedAquifer, kSetFracturedAquifer, 17}) {
        AnalysisState s = makeDefaultState();
        installPredefinedSet(s, kSetSlugTest);
        installPredefinedSet(s, set);
        expectConsistentSet(s, 14);
        EXPECT_DOUBLE_EQ(s.times.front(), 5.0);
        EXPECT_DOUBLE_EQ(s.measured.front(), 3.41);
        EXPECT_DOUBLE_EQ(s.times.back(), 600.0);
        EXPECT_DOUBLE_EQ(s.measured.back(), 6.47);
    }
}

}  // namespace
}  // namespace tolvex
