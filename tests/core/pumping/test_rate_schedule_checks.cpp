// A rate schedule's checks: each bad step is named by its row, with what is wrong with it.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/pumping/RateScheduleChecks.h"

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
    std::vector<RateStep> steps;
    const char* message;  // a part of the message, or nullptr for a good schedule
};

TEST(RateScheduleChecks, NameTheFirstBadStep) {
    const Case cases[] = {
        {{}, nullptr},
        {{{0.0, 5.0}}, nullptr},
        {{{-60.0, 5.0}, {0.0, -2.0}, {1e4, 0.0}}, nullptr},  // injection and a start before the clock's 0
        {{{0.0, 5.0}, {100.0, 0.0}, {100.0, 3.0}},
         "Rate step 3 starts at the time 100, not after step 2 (100)"},
        {{{0.0, 5.0}, {100.0, 0.0}, {50.5, 3.0}}, "Rate step 3 starts at the time 50.5, not after step 2"},
        {{{0.0, 5.0}, {kNaN, 0.0}}, "Rate step 2 has the time nan"},
        {{{kInf, 5.0}}, "Rate step 1 has the time inf"},
        {{{0.0, 5.0}, {10.0, -kInf}}, "Rate step 2 has the rate -inf"},
        {{{0.0, kNaN}, {10.0, kNaN}}, "Rate step 1 has the rate nan"},
    };
    for (const Case& c : cases) {
        const auto error = checkRateSchedule(c.steps);
        if (c.message == nullptr) {
            EXPECT_FALSE(error) << *error;
            continue;
        }
        ASSERT_TRUE(error) << c.message;
        EXPECT_NE(error->find(c.message), std::string::npos) << *error;
    }
}

}  // namespace
}  // namespace tolvex
