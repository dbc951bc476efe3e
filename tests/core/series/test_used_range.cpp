// Which measurements of a further series take part in a fit: the used range clipped to the
// measurements held, and the switch and weight that leave a series out.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/series/SeriesChecks.h"
#include "core/series/UsedRange.h"

namespace tolvex {
namespace {

ObservationSeries fiveMeasurements(int from, int to) {
    ObservationSeries x;
    x.times = {1, 2, 3, 4, 5};
    x.values = {1, 2, 3, 4, 5};
    x.useFrom = from;
    x.useTo = to;
    return x;
}

TEST(UsedRange, IsTheRangeClippedToTheMeasurements) {
    const struct {
        int from, to;
        std::size_t first, count;
    } cases[] = {
        {1, 0, 0, 5},  // 0: to the last
        {2, 4, 1, 3},  //
        {3, 3, 2, 1},  //
        {1, 9, 0, 5},  // beyond the last: up to it
        {0, 2, 0, 2},  // before the first: from it
        {4, 2, 0, 0},  // reversed: nothing
        {6, 0, 0, 0},  // after the last: nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        const UsedRange r = usedRange(fiveMeasurements(c.from, c.to));
        EXPECT_EQ(r.count, c.count);
        if (c.count > 0) {
            EXPECT_EQ(r.first, c.first);
        }
    }
}

TEST(UsedRange, ASeriesTakesPartWhenOnWeightedAndInUse) {
    ObservationSeries x = fiveMeasurements(1, 0);
    EXPECT_TRUE(takesPart(x));
    x.settings.on = false;
    EXPECT_FALSE(takesPart(x));
    x.settings.on = true;
    x.settings.weight = 0.0;
    EXPECT_FALSE(takesPart(x));
    x.settings.weight = 1e-9;
    EXPECT_TRUE(takesPart(x));
    EXPECT_FALSE(takesPart(fiveMeasurements(4, 2)));
    EXPECT_FALSE(takesPart(ObservationSeries{}));
}

TEST(SeriesChecks, NameWhatIsWrong) {
    EXPECT_FALSE(checkSeries(fiveMeasurements(1, 0)));
    ObservationSeries x = fiveMeasurements(1, 0);
    x.radialDistance = std::numeric_limits<float>::infinity();
    EXPECT_NE(checkSeries(x)->find("radial distance inf"), std::string::npos) << *checkSeries(x);
    x = fiveMeasurements(1, 0);
    x.values[3] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(checkSeries(x)->find("measurement 4 is not a pair of finite numbers"), std::string::npos);
    x = fiveMeasurements(2, 6);
    x.settings.name = "OW-3";
    EXPECT_EQ(*checkSeries(x), "series \"OW-3\": the used range 2 to 6 is not a range of its 5 measurements");
    EXPECT_TRUE(checkWeight(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(checkWeight(0.0));
}

}  // namespace
}  // namespace tolvex
