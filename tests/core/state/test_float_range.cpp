// A number stored into a float field must keep the float range: 1e39 would silently become infinity.
// --set (setFieldText) refuses it naming the field, like text that is no number.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

TEST(FloatRange, TheEdgeIsWhereRoundingGivesInfinity) {
    EXPECT_TRUE(fitsFloat(FLT_MAX));
    EXPECT_TRUE(fitsFloat(-FLT_MAX));
    EXPECT_TRUE(fitsFloat(3.4028235e38));  // above FLT_MAX, but rounds down to it
    EXPECT_FALSE(fitsFloat(3.4028236e38));
    EXPECT_FALSE(fitsFloat(-1e39));
    EXPECT_FALSE(fitsFloat(HUGE_VAL));
    EXPECT_FALSE(fitsFloat(std::nan("")));
    EXPECT_TRUE(overflowsFloat(1e39));
    EXPECT_FALSE(overflowsFloat(HUGE_VAL));
    EXPECT_FALSE(overflowsFloat(FLT_MAX));
}

TEST(FloatRange, SettingAFloatFieldRefusesValuesBeyondItByName) {
    const std::string beyond = "is beyond the float range (magnitude at most 3.40282e+38)";
    struct Row {
        const char* field;
        const char* text;
        std::string error;  // empty: stored
    };
    const std::vector<Row> rows{
        {"storativity", "1e39", "storativity: '1e39' " + beyond},
        {"casingRadius", "1e40", "casingRadius: '1e40' " + beyond},
        {"plotXMin", "-1e39", "plotXMin: '-1e39' " + beyond},
        {"plotXMin", "inf", "plotXMin: 'inf' " + beyond},
        {"plotXMin", "nan", "plotXMin: 'nan' is not a number"},
        {"plotXMin", "1e400", "plotXMin: '1e400' is not a number"},
        {"storativity", "-1e39", "storativity: '-1e39' " + beyond},
        {"plotXMin", "3.4028235e38", ""},
        {"transmissivity", "3e38", ""},
    };
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        const FieldInfo& field = *findField(row.field);
        const std::string before = fieldText(s, field);
        const auto error = setFieldText(s, field, row.text);
        EXPECT_EQ(error.value_or(""), row.error) << row.field << " = " << row.text;
        if (error) {
            EXPECT_EQ(fieldText(s, field), before) << row.field << ": the state changed";
        } else {
            EXPECT_TRUE(std::isfinite(std::stod(fieldText(s, field)))) << row.field;
        }
    }
}

}  // namespace
}  // namespace tolvex
