#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/persist/Reports.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::ScratchFolder;

// The leaky family r/B = 0.01, 0.1, 1 at 1/u = 1, 10, 100.
AnalysisState leakyFamily() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    s.resultKind = 0;
    s.familyCount = 3;
    s.familyValues[0] = 0.01f;
    s.familyValues[1] = 0.1f;
    s.familyValues[2] = 1.0f;
    s.curveXCount = 4;
    s.curveX = {0.0f, 1.0f, 10.0f, 100.0f};
    s.curveYCount = 10;
    s.curveY = {0.0f, 0.2194f, 1.823f, 4.038f, 0.2f, 1.5f, 2.5f, 0.1f, 0.5f, 0.75f};
    return s;
}

const char* const kLeakyWellFunctionReport =
    "         REPORT FOR THE CALCULATION OF WELL FUNCTIONS\r\n"
    "\r\n"
    "Operator's Name: John Doe\r\n"
    "\r\n"
    "Project Description:\r\n"
    "\r\n"
    "                                                                Theis Type Curve\r\n"
    "\r\n"
    "Constant Discharge From A Well In A Leaky Aquifer\r\n"
    "\r\n"
    "Minimum 1/u =         1.00000e-001\r\n"
    "\r\n"
    "Maximum 1/u =         1.00000e+004\r\n"
    "\r\n"
    "Number of Points (u) =         30\r\n"
    "\r\n"
    "Minimum r/B =         5.00000e-003\r\n"
    "\r\n"
    "Maximum r/B =         5.00000e+000\r\n"
    "\r\n"
    "Number of Points (r/B) =         20\r\n"
    "\r\n"
    "--------------------------------------------------\r\n"
    "       u  |       1/u |W(u,r/B)\r\n"
    " --------- --------- --------- --------- ---------\r\n"
    "                    |r/B=\r\n"
    "                    |1.00e-002|1.00e-001|1.00e+000\r\n"
    " --------- --------- --------- --------- ---------\r\n"
    " 1.00e+000 1.00e+000 2.19e-001 2.00e-001 1.00e-001\r\n"
    " 1.00e-001 1.00e+001 1.82e+000 1.50e+000 5.00e-001\r\n"
    " 1.00e-002 1.00e+002 4.04e+000 2.50e+000 7.50e-001\r\n";

// A Theis fit of two measurements after two iterations.
AnalysisState theisEstimation() {
    AnalysisState s = makeDefaultState();
    s.resultKind = 1;
    s.plotContent = 2;
    s.paramVector[0] = 1e-5f;
    s.paramVector[1] = 10.0f;
    s.usedCount = 2;
    s.times = {5.0, 10.0};
    s.measured = {3.41, 3.58};
    s.calculated = {3.40, 3.60};
    s.rmsError = 0.0158f;
    s.iterationsDone = 2;
    s.errorHistory = {0.5f, 0.0158f};
    return s;
}

const char* const kTheisEstimationReport =
    "         REPORT OF AQUIFER PARAMETER ESTIMATIONS\r\n"
    "\r\n"
    "Operator's Name: John Doe\r\n"
    "\r\n"
    "Project Description: Theis Type Curve\r\n"
    "\r\n"
    "Constant Discharge From A Fully Penetrating Well In A Nonleaky Aquifer\r\n"
    "\r\n"
    "Pumping rate =         7.55300e+001\r\n"
    "Radius distance =         1.54000e+002\r\n"
    "\r\n"
    "Initial Guess: \r\n"
    "\r\n"
    "Transmissivity =         1.00000e+001\r\n"
    "Storotivity =    9.9999997474e-006\r\n"
    "\r\n"
    "Inversion results: \r\n"
    "\r\n"
    "Transmissivity =         8.80000e+000\r\n"
    "Storotivity =    9.9999997474e-006\r\n"
    "\r\n"
    "\r\n"
    "              Time     Measured-Drawdown Calculated-Drawdown Measured-Calculated\r\n"
    "\r\n"
    "           5.0000000           3.4100000           3.4000000      1.0000000e-002\r\n"
    "          10.0000000           3.5800000           3.6000000     -2.0000000e-002\r\n"
    "\r\n"
    "User Specified Root Mean Square Error=       1.0000000e-006\r\n"
    "Final Root Mean Square Error=       1.5799999e-002\r\n"
    "User Specified Number of Iterartions= 20\r\n"
    "Final Number of Iterartions= 2\r\n"
    "\r\n"
    "Iteration No= 1 Error =       5.0000000e-001\r\n"
    "Iteration No= 2 Error =       1.5799999e-002\r\n";

TEST(WellFunctionReport, LeakyFamilyOfThreeCurves) {
    EXPECT_EQ(reportText(leakyFamily()), kLeakyWellFunctionReport);
}

TEST(WellFunctionReport, SingleCurveHasThreeColumnsAndNoFamilyRows) {
    AnalysisState s = leakyFamily();
    s.modelKind = 0;
    s.familyCount = 1;
    const std::string text = reportText(s);
    EXPECT_THAT(text, HasSubstr("Number of Points =         50\r\n\r\n"
                                "------------------------------\r\n"
                                "       u  |       1/u |W(u)\r\n"
                                " --------- --------- ---------\r\n"
                                " 1.00e+000 1.00e+000 2.19e-001\r\n"));
    EXPECT_THAT(text, Not(HasSubstr("|1.00e")));
}

TEST(WellFunctionReport, GeometryLinesFollowTheObservationKind) {
    AnalysisState s = leakyFamily();
    s.modelKind = 3;
    s.lppObsKind = 1;
    const std::string text = reportText(s);
    EXPECT_THAT(
        text, HasSubstr("Number of Points (beta) =         20\r\n\r\n"
                        "Screen Top Depth of Pumping well (d/b) =         2.50000e-001\r\n\r\n"
                        "Screen Bottom Depth of Pumping well (l/b) =         7.50000e-001\r\n\r\n"
                        "Screen Top Depth of Observation well (d'/b) =         2.50000e-001\r\n\r\n"
                        "Screen Bottom Depth of Observation well (l'/b) =         7.50000e-001\r\n\r\n"
                        "Anisotropy Ratio of Hydraulic Conductivity (ar/b) =         1.00000e-001\r\n\r\n"));
    EXPECT_THAT(text, HasSubstr("|W(u,beta)+f(u,ar/b,l/b,d/b,l'/b,d'/b)\r\n"));
    s.modelKind = 6;
    EXPECT_THAT(reportText(s), HasSubstr("Unconfined aquifer (moench, 1993)\r\n\r\nMinimum td = "));
    EXPECT_THAT(reportText(s), HasSubstr("Observation: Fully penetrating observation well\r\n\r\n---"));
    s.modelKind = 5;
    EXPECT_THAT(reportText(s), HasSubstr("Number of Points (beta)=         20\r\n"));
}

TEST(WellFunctionReport, UnknownModelHasDefaultTitleAndEmptyLabels) {
    AnalysisState s = leakyFamily();
    s.modelKind = 9;
    const std::string text = reportText(s);
    EXPECT_THAT(text, HasSubstr("\r\nDefault one\r\n\r\n----------"));
    EXPECT_THAT(text, HasSubstr("       u  |       1/u |\r\n"));
    EXPECT_THAT(text, HasSubstr("                    |=\r\n"));
}

TEST(WellFunctionReport, ShortCurveArraysPrintZeros) {
    AnalysisState s = leakyFamily();
    s.curveXCount = 6;
    s.curveY.resize(4);
    const std::string text = reportText(s);
    EXPECT_THAT(text, HasSubstr("       inf 0.00e+000 0.00e+000 0.00e+000 0.00e+000\r\n"));
}

TEST(EstimationReport, TheisFit) {
    EXPECT_EQ(reportText(theisEstimation()), kTheisEstimationReport);
}

TEST(EstimationReport, ModelBlocksPrintStartingValuesInTheirSlots) {
    AnalysisState s = theisEstimation();
    s.modelKind = 4;
    s.paramVector = {1, 2, 3, 4, 5, 6, 0, 0, 0, 0};
    const std::string text = reportText(s);
    EXPECT_THAT(
        text,
        HasSubstr("thickness of the lower layer =         2.10000e+001\r\n\r\nInitial Guess: \r\n\r\n"
                  "Transmissivity =         2.00000e+000\r\n"
                  "Storotivity =    1.0000000000e+000\r\n"
                  "Vertical hydraulic conductivity of the upper confining layer =    3.0000000000e+000\r\n"
                  "Storotivity =    5.0000000000e+000\r\n"
                  "Vertical hydraulic conductivity of the lower confining layer =    4.0000000000e+000\r\n"
                  "Storotivity =    6.0000000000e+000\r\n\r\n"
                  "Inversion results: \r\n\r\n"));
    s.modelKind = 6;
    s.mnObsKind = 2;
    EXPECT_THAT(reportText(s),
                HasSubstr("Observation: Observation well screened from z1/b to z2/b\r\n"
                          "Screen bottom Coordinate of observation well (z1/b) =         0.00000e+000\r\n"
                          "Screen top of Coordinate observation well (z2/b) =         1.00000e+000\r\n"
                          "Thickness of the aquifer =         1.00000e+001\r\n\r\n"));
    s.modelKind = 8;
    EXPECT_THAT(reportText(s),
                HasSubstr("Boulton and Streltsova double porosity model (Kazemi etal., 1969; and "
                          "Moench, 1984)\r\n\r\nPumping rate"));
    EXPECT_THAT(reportText(s), HasSubstr("Storotivity(m) =    1.0000000149e-001\r\n\r\n\r\n"));
    s.modelKind = 5;
    EXPECT_THAT(reportText(s), HasSubstr("Slug Test For A Finite Diameter Well  In A Nonleaky Aquifer\r\n\r\n"
                                         "Radius of the well =         7.60000e+000\r\n"));
}

TEST(EstimationReport, JacobHasATitleButNoModelBlock) {
    AnalysisState s = theisEstimation();
    s.modelKind = 9;
    EXPECT_THAT(reportText(s), HasSubstr("Jacob's straight line\r\n\r\n\r\n              Time  "));
    s.iterationsDone = 0;
    EXPECT_THAT(reportText(s), Not(HasSubstr("Iteration No=")));
}

TEST(Reports, KindTwoWritesBothAndOtherKindsNothing) {
    AnalysisState s = theisEstimation();
    s.resultKind = 2;
    const std::string both = reportText(s);
    s.resultKind = 0;
    const std::string wells = reportText(s);
    s.resultKind = 1;
    EXPECT_EQ(both, wells + reportText(s));
    s.resultKind = 3;
    EXPECT_EQ(reportText(s), "");
}

TEST(Reports, ProjectTextLineEndsBecomeCrLfOnce) {
    AnalysisState s = theisEstimation();
    s.projectDescription = "a\r\nb\nc";
    EXPECT_THAT(reportText(s), HasSubstr("Project Description: a\r\nb\r\nc\r\n"));
}

TEST(ReportFile, WrittenWholeOrNotAtAll) {
    ScratchFolder folder;
    const std::string path = folder.file("test.out");
    ASSERT_FALSE(writeReportFile(theisEstimation(), path));
    EXPECT_EQ(ScratchFolder::read(path), kTheisEstimationReport);

    const std::string missing = folder.file("no/such/folder/test.out");
    const auto error = writeReportFile(theisEstimation(), missing);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->substr(0, error->find('\n')), "Not able to create file.");
    EXPECT_THAT(*error, HasSubstr(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace tolvex
