#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/accurate/LevinComponents.h"

namespace tolvex::accurate {
namespace {

using test::scientific;
using Complex = std::complex<double>;

// A sequence z^i / (i + 1)^s, i >= 0, whose sum is known in closed form: -ln(1 - z)/z for s = 1 and
// the dilogarithm Li2(z)/z for s = 2 (at z = 1/2: (pi^2/12 - ln(2)^2/2) * 2).
struct Sequence {
    Complex z;
    int s;
    Complex sum;
};

Complex termOf(const Sequence& q, int i) {
    return std::pow(q.z, i) / std::pow(i + 1.0, q.s);
}

// The remainder after term n of each sequence and of their sum, from n + 1 terms.
Complex remainderAfter(const std::vector<Sequence>& sequences, int n, Complex& partial) {
    LevinComponents levin(sequences.size());
    partial = 0.0;
    std::vector<Complex> terms(sequences.size());
    for (int i = 0; i <= n; ++i) {
        for (std::size_t c = 0; c < sequences.size(); ++c) {
            terms[c] = termOf(sequences[c], i);
            partial += terms[c];
        }
        levin.add(i, terms.data());
    }
    return levin.remainder();
}

const Complex kHalfTurn = std::polar(0.9, 0.7 * std::numbers::pi);  // oscillating, |z| = 0.9
const double kLn2 = std::numbers::ln2;

// Single sequences and a sum of three whose terms oscillate with different frequencies (as the screen
// factors of the unconfined series do), at |z| = 0.9 (the unconfined terms' decay at beta = 0.001):
// the transformed sum after 40 or 80 terms is five digits closer than the partial sum (measured 5.3 and
// 7.3), and after 160 at the rounding (measured 2e-16, the partial sum 1e-9).
TEST(LevinComponents, SumsGeometricSequencesTimesPowers) {
    const std::vector<Sequence> slow{{0.9, 1, -std::log(0.1) / 0.9}};
    const std::vector<Sequence> mixed{
        {0.9, 1, -std::log(0.1) / 0.9},
        {kHalfTurn, 1, -std::log(1.0 - kHalfTurn) / kHalfTurn},
        {0.5, 2, 2.0 * (std::numbers::pi * std::numbers::pi / 12.0 - 0.5 * kLn2 * kLn2)}};
    double worst = 0.0;
    for (const auto* sequences : {&slow, &mixed}) {
        for (int n : {40, 80, 160}) {
            Complex exact = 0.0;
            for (const Sequence& q : *sequences) exact += q.sum;
            Complex partial;
            const Complex remainder = remainderAfter(*sequences, n, partial);
            const double error = std::abs(partial + remainder - exact) / std::abs(exact);
            const double plain = std::abs(partial - exact) / std::abs(exact);
            EXPECT_LT(error, n < 160 ? 1e-5 * plain : 1e-15) << sequences->size() << " " << n;
            if (n == 160) worst = std::fmax(worst, error);
        }
    }
    ::testing::Test::RecordProperty("worst_relative_after_160", scientific(worst));
}

// The window holds only the last k + 1 terms added with consecutive indices: a gap restarts it.
TEST(LevinComponents, ReadyAfterKPlusOneConsecutiveTerms) {
    LevinComponents levin(1);
    const Complex one = 1.0;
    for (int i = 0; i < LevinComponents::kOrder; ++i) {
        levin.add(i, &one);
        EXPECT_FALSE(levin.ready()) << i;
    }
    levin.add(LevinComponents::kOrder, &one);
    EXPECT_TRUE(levin.ready());
    levin.add(LevinComponents::kOrder + 2, &one);
    EXPECT_FALSE(levin.ready());
}

// Terms of a finite geometric tail: the remainder of z^i is z^{n+1}/(1 - z), which the transformation
// reproduces from its window to rounding, at the size of the remainder (not of the sum).
TEST(LevinComponents, RemainderOfAGeometricSequenceIsExact) {
    for (const Complex z : {Complex(0.3), Complex(-0.8), kHalfTurn}) {
        Complex partial;
        const std::vector<Sequence> geometric{{z, 0, 1.0 / (1.0 - z)}};
        const Complex remainder = remainderAfter(geometric, 20, partial);
        const Complex exact = std::pow(z, 21) / (1.0 - z);
        EXPECT_LT(std::abs(remainder - exact), 1e-13 * std::abs(exact)) << z;
    }
}

}  // namespace
}  // namespace tolvex::accurate
