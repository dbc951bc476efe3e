// The remainders of a few series, each a geometric-like sequence, by Levin's (1973) u transformation
// of each one on its own (D. Levin, Int. J. Comput. Math. B 3, 371-388; its use on linearly convergent
// series as in Smith and Ford 1979, SIAM J. Numer. Anal. 16, 223-240):
//   L = sum_j c_j S_{m+j} / w_{m+j} / sum_j c_j / w_{m+j},   w_i = (i + 1) a_i,
//   c_j = (-1)^j C(k, j) ((m + j + 1) / (m + k + 1))^(k-1),   j = 0..k,
// over the last k + 1 partial sums S_i and terms a_i (i counted from the first term of the sequences).
// A sequence a_i = z^i v(i) with v an asymptotic series in 1/i is summed far beyond its partial sums
// (tests: five digits after 40 terms at |z| = 0.9); a sum of several such sequences with different z
// is not of that form (its terms oscillate with several frequencies), which is why the sequences are
// transformed one by one. k = 6 by measurement on the unconfined series: higher orders lose digits to
// the alternating weights c_j, lower ones gain fewer.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <vector>

namespace tolvex::accurate {

class LevinComponents {
public:
    using Complex = std::complex<double>;
    static constexpr int kOrder = 6;

    explicit LevinComponents(std::size_t count) : components_(count) {}

    [[nodiscard]] std::size_t count() const { return components_.size(); }

    // Term i of each sequence (`terms` holds count() of them), i counted from the sequences' first
    // term; only the last k + 1 terms added, with consecutive i, enter the transformation.
    void add(int i, const Complex* terms) {
        const std::size_t slot = static_cast<std::size_t>(i % kWindow);
        for (std::size_t c = 0; c < components_.size(); ++c) {
            Window& w = components_[c];
            w.term[slot] = terms[c];
            w.inverse[slot] = reciprocal((i + 1.0) * terms[c]);  // 1 / w_i
        }
        consecutive_ = i == last_ + 1 ? consecutive_ + 1 : 1;
        last_ = i;
    }

    // Whether k + 1 consecutive terms have been added.
    [[nodiscard]] bool ready() const { return consecutive_ > kOrder; }

    // The sum of the sequences' remainders after the last term added, each transformed (ready() must
    // hold): L - S_last = sum_j c_j (S_{m+j} - S_last) / w_{m+j} / sum_j c_j / w_{m+j}, whose differences
    // are sums of the window's last terms, so that the rounding scales with the remainder, not the sum.
    [[nodiscard]] Complex remainder() const {
        const int m = last_ - kOrder;  // index of the window's first term
        std::array<double, kWindow> weight;
        double binomial = 1.0;
        for (int j = 0; j <= kOrder; ++j) {
            const double ratio = (m + j + 1.0) / (m + kOrder + 1.0);
            double power = 1.0;
            for (int e = 1; e < kOrder; ++e) power *= ratio;
            weight[static_cast<std::size_t>(j)] = (j % 2 == 0 ? binomial : -binomial) * power;
            binomial = binomial * (kOrder - j) / (j + 1.0);
        }
        std::array<std::size_t, kWindow> slots;  // of the window's terms m + j
        for (int j = 0; j <= kOrder; ++j)
            slots[static_cast<std::size_t>(j)] = static_cast<std::size_t>((m + j) % kWindow);
        Complex total = 0.0;
        for (const Window& w : components_) {
            Complex numerator = 0.0, denominator = 0.0;
            Complex difference = 0.0;  // S_{m+j} - S_last
            for (int j = kOrder; j >= 0; --j) {
                const std::size_t slot = slots[static_cast<std::size_t>(j)];
                const Complex r = weight[static_cast<std::size_t>(j)] * w.inverse[slot];
                numerator += r * difference;
                denominator += r;
                difference -= w.term[slot];
            }
            total += numerator * reciprocal(denominator);
        }
        return total;
    }

private:
    // 1/z without the library's scaled division (the moduli here are far inside the range of doubles).
    [[nodiscard]] static Complex reciprocal(Complex z) {
        const double n = std::norm(z);
        return {z.real() / n, -z.imag() / n};
    }

    static constexpr int kWindow = kOrder + 1;
    struct Window {
        std::array<Complex, kWindow> term{}, inverse{};
    };
    std::vector<Window> components_;
    int last_ = -2, consecutive_ = 0;
};

}  // namespace tolvex::accurate
