#include "core/numerics/GaussLegendreRule.h"

#include <cmath>

#include "core/numerics/Constants.h"

namespace tolvex {

void gaussLegendreRule(double x1, double x2, std::vector<double>& nodes, std::vector<double>& weights,
                       int n) {
    const int m = (n + 1) / 2;
    const double xm = (x1 + x2) / 2.0;
    const double xl = (x2 - x1) / 2.0;
    double z1 = 1e20;
    for (int i = 1; i <= m; ++i) {
        double z = std::cos(kProgramPi * (i - 0.25) / (n + 0.5));
        double pp = 0.0;
        // z1 carries over from the previous root, so the first test always iterates at least once.
        while (std::fabs(z - z1) > 3e-14) {
            double p1 = 1.0;
            double p2 = 0.0;
            for (int j = 1; j <= n; ++j) {
                const double p3 = p2;
                p2 = p1;
                p1 = ((2.0 * j - 1.0) * z * p2 - (j - 1.0) * p3) / j;
            }
            pp = n * (z * p1 - p2) / (z * z - 1.0);
            z1 = z;
            z = z1 - p1 / pp;
        }
        nodes[i] = xm - xl * z;
        nodes[n + 1 - i] = xm + xl * z;
        weights[i] = weights[n + 1 - i] = 2.0 * xl / ((1.0 - z * z) * pp * pp);
    }
}

}  // namespace tolvex
