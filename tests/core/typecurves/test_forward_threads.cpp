// The forward model shares the times of models 3-8 among the OpenMP threads. Each time writes its own
// drawdown, so the values must be the same bits whatever the number of threads, and the same when the
// call comes from inside a parallel region (where it stays on the calling thread).
#include <gtest/gtest.h>
#include <omp.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

// The number of OpenMP threads for the lifetime of the object.
class Threads {
public:
    explicit Threads(int count) : previous_(omp_get_max_threads()) { omp_set_num_threads(count); }
    ~Threads() { omp_set_num_threads(previous_); }
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;

private:
    int previous_;
};

// The default document with `n` times from 0.5 to 5000 equally spaced in the logarithm (more than the
// 14 of the sample, so that every thread gets several), model `kind` and its default parameters.
AnalysisState stateOf(int kind, int n) {
    AnalysisState s = makeDefaultState();
    s.modelKind = kind;
    s.times.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) s.times[i] = 0.5 * std::pow(1e4, i / (n - 1.0));
    s.usedCount = n;
    return s;
}

std::vector<double> drawdowns(const AnalysisState& s, int threads) {
    const Threads scope(threads);
    const std::vector<double> q = buildParameterVectorDouble(s);
    std::vector<double> out(static_cast<std::size_t>(s.usedCount), -1.0);
    computeDrawdowns(s, s.modelKind, q, out);
    return out;
}

std::vector<std::uint64_t> bits(const std::vector<double>& v) {
    std::vector<std::uint64_t> b;
    for (double x : v) b.push_back(std::bit_cast<std::uint64_t>(x));
    return b;
}

class ForwardThreads : public testing::TestWithParam<int> {};

TEST_P(ForwardThreads, AnyThreadCountGivesTheSerialBits) {
    const AnalysisState s = stateOf(GetParam(), 37);
    const std::vector<double> serial = drawdowns(s, 1);
    for (double v : serial) ASSERT_TRUE(std::isfinite(v)) << "model " << GetParam();
    EXPECT_EQ(bits(drawdowns(s, 2)), bits(serial));
    EXPECT_EQ(bits(drawdowns(s, 3)), bits(serial));
    EXPECT_EQ(bits(drawdowns(s, 8)), bits(serial));
}

TEST_P(ForwardThreads, InsideAParallelRegionGivesTheSerialBits) {
    const AnalysisState s = stateOf(GetParam(), 20);
    const std::vector<double> serial = drawdowns(s, 1);
    const std::vector<double> q = buildParameterVectorDouble(s);
    std::vector<std::vector<double>> perThread(2, std::vector<double>(serial.size(), -1.0));
#pragma omp parallel for num_threads(2)
    for (int k = 0; k < 2; ++k) computeDrawdowns(s, s.modelKind, q, perThread[k]);
    EXPECT_EQ(bits(perThread[0]), bits(serial));
    EXPECT_EQ(bits(perThread[1]), bits(serial));
}

TEST_P(ForwardThreads, FewTimesAndTimeZeroKeepTheirValues) {
    AnalysisState s = stateOf(GetParam(), 5);
    if (definedAtTimeZero(GetParam())) s.times[2] = 0.0;
    const std::vector<double> serial = drawdowns(s, 1);
    EXPECT_EQ(bits(drawdowns(s, 4)), bits(serial));
    if (definedAtTimeZero(GetParam())) {
        EXPECT_EQ(serial[2], GetParam() == 5 ? 1.0 : 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(CostlyModels, ForwardThreads, testing::Values(3, 4, 5, 6, 7, 8),
                         [](const testing::TestParamInfo<int>& info) {
                             return "model" + std::to_string(info.param);
                         });

// The misfit of a fit, through evaluateForward, is the same float on one thread and on several.
TEST(ForwardThreadsMisfit, SameOnOneAndOnSeveralThreads) {
    for (int kind : {3, 5, 6, 7}) {
        AnalysisState one = stateOf(kind, 30);
        one.measured.assign(30, 1.0);
        one.calculated.assign(30, 0.0);
        AnalysisState two = one;
        std::vector<float> p = buildParameterVector(one);
        std::vector<float> p2 = p;
        float serial = 0.0f, parallel = 0.0f;
        {
            const Threads scope(1);
            serial = forwardMisfit(one, p, kind);
        }
        {
            const Threads scope(2);
            parallel = forwardMisfit(two, p2, kind);
        }
        EXPECT_EQ(std::bit_cast<std::uint32_t>(serial), std::bit_cast<std::uint32_t>(parallel)) << kind;
        EXPECT_EQ(bits(one.calculated), bits(two.calculated)) << kind;
    }
}

}  // namespace
}  // namespace tolvex
