#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/persist/Document.h"
#include "core/persist/ScratchFolder.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

using testing::ScratchFolder;

// Scalars that the file does not carry (or, for untitled, always writes as 0).
const std::vector<std::string> kNotPersisted{
    "tcTheisUniform",  "tcLeakyUniform",    "tcStorUniform",   "tcAltUniform",
    "uListCount",      "leakyRbCount",      "leakyUCount",     "storBetaCount",
    "storUCount",      "altParamCount",     "altTimeCount",    "dataTimeMin",
    "xAxisLog",        "yAxisLog",          "xLabelHidden",    "yLabelHidden",
    "dataHidden",      "plotFontFace",      "calcTimeMin",     "calcTimeMax",
    "lsParamCapacity", "drawdownInputMode", "importDelimiter", "predefinedSetChoice",
    "untitled",        "accuracy"};

bool persisted(std::string_view name) {
    return std::find(kNotPersisted.begin(), kNotPersisted.end(), name) == kNotPersisted.end();
}

// Floats come back as the float nearest to their 8-digit decimal form, doubles rounded to 8 digits.
void expectNear8Digits(double expected, double actual, const std::string& what) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * 6e-8) << what;
}

template <class Values>
void expectValuesNear(const Values& expected, const Values& actual, std::size_t first, std::size_t end,
                      const std::string& what) {
    ASSERT_GE(actual.size(), end) << what;
    for (std::size_t i = first; i < end; ++i)
        expectNear8Digits(expected[i], actual[i], what + "[" + std::to_string(i) + "]");
}

void expectSameDocument(const AnalysisState& a, const AnalysisState& b) {
    for (const FieldInfo& f : scalarFields()) {
        if (!persisted(f.name)) continue;
        if (f.type() == FieldType::Float) {
            const auto member = std::get<float AnalysisState::*>(f.member);
            expectNear8Digits(a.*member, b.*member, std::string(f.name));
        } else {
            EXPECT_EQ(fieldText(a, f), fieldText(b, f)) << f.name;
        }
    }
    const auto n = [](int count) { return static_cast<std::size_t>(count); };
    expectValuesNear(a.paramVector, b.paramVector, 0, 10, "paramVector");
    expectValuesNear(a.curveX, b.curveX, 1, n(a.curveXCount), "curveX");
    expectValuesNear(a.curveY, b.curveY, 1, n(a.curveYCount), "curveY");
    expectValuesNear(a.familyValues, b.familyValues, 0, n(a.familyCount), "familyValues");
    expectValuesNear(a.allTimes, b.allTimes, 0, n(a.allCount), "allTimes");
    expectValuesNear(a.allDrawdowns, b.allDrawdowns, 0, n(a.allCount), "allDrawdowns");
    expectValuesNear(a.times, b.times, 0, n(a.usedCount), "times");
    expectValuesNear(a.measured, b.measured, 0, n(a.usedCount), "measured");
    expectValuesNear(a.calculated, b.calculated, 0, n(a.usedCount), "calculated");
    expectValuesNear(a.errorHistory, b.errorHistory, 0, n(a.iterationsDone), "errorHistory");
    expectValuesNear(a.gaussNodes, b.gaussNodes, 1, n(a.gaussCount) + 1, "gaussNodes");
    expectValuesNear(a.gaussWeights, b.gaussWeights, 1, n(a.gaussCount) + 1, "gaussWeights");
    expectValuesNear(a.reservedSeriesB, b.reservedSeriesB, 0, 9, "reservedSeriesB");
    expectValuesNear(a.brTableC, b.brTableC, 0, 13, "brTableC");
    expectValuesNear(a.reservedRowsC, b.reservedRowsC, 0, n(a.reservedRowCount), "reservedRowsC");
    EXPECT_EQ(b.stehfestWeights, a.stehfestWeights);  // recomputed, not read
}

AnalysisState roundTrip(const AnalysisState& state) {
    AnalysisState loaded = makeDefaultState();
    loaded.modelKind = 7;  // overwritten by the file
    const auto error = readDocumentBytes(documentBytes(state), loaded);
    EXPECT_FALSE(error) << *error;
    return loaded;
}

// A state as the type-curve calculation of the leaky model leaves it: three curves of four points.
AnalysisState afterTypeCurves() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    s.familyCount = 3;
    s.familyValues[0] = 0.01f;
    s.familyValues[1] = 0.1f;
    s.familyValues[2] = 1.0f;
    s.curveXCount = 5;
    s.curveYCount = 13;
    s.curveX = {0.0f, 0.1f, 1.0f, 10.0f, 100.0f};
    s.curveY.assign(13, 0.0f);
    for (int k = 1; k < 13; ++k) s.curveY[k] = 1.0f / static_cast<float>(k * 7);
    s.typeCurvesReady = 1;
    s.modified = 1;
    s.newRequested = 1;
    s.tcLeakyRbCount = 3;
    s.projectDescription = "Leaky test\r\nsecond line";
    return s;
}

// A state as a least-squares run of the leaky model leaves it.
AnalysisState afterEstimation() {
    AnalysisState s = afterTypeCurves();
    s.plotContent = 2;
    s.resultKind = 1;
    s.paramCount = 4;
    s.paramVector = {1e-4f, 10.0f, 500.0f, 21.0f, 0, 0, 0, 0, 0, 0};
    s.transmissivity = 7.123457f;
    s.storativity = 1.2345678e-5f;
    s.upperBedConductivity = 0.0372f;
    s.useFrom = 2;
    s.useTo = 13;
    s.usedCount = 12;
    s.times.assign(s.allTimes.begin() + 1, s.allTimes.begin() + 13);
    s.measured.assign(s.allDrawdowns.begin() + 1, s.allDrawdowns.begin() + 13);
    s.calculated.clear();
    for (double m : s.measured) s.calculated.push_back(m * 1.0123456789);
    s.iterationsDone = 5;
    s.maxIterations = 20;
    s.errorHistory = {0.5f, 0.25f, 0.125f, 0.0625f, 0.03125f};
    s.rmsError = 0.03125f;
    s.lsSumSquares = 0.0117f;
    s.gaussCount = 8;
    s.stehfestCount = 16;
    buildNumericalTables(s);
    return s;
}

TEST(DocumentBytes, SaveAsRightAfterStart) {
    const std::string bytes = documentBytes(makeDefaultState());
    ASSERT_GT(bytes.size(), 6u + 10u * 21u + 2u + 2u * 21u);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\x64\x00\x00\x00\x00\x00", 6));
    const std::string one = "\x14      1.0000000e+000";
    const std::string zero = "\x14      0.0000000e+000";
    EXPECT_EQ(bytes.substr(6, 21), one);
    EXPECT_EQ(bytes.substr(27, 21), one);
    for (int k = 2; k < 10; ++k) EXPECT_EQ(bytes.substr(6 + 21 * k, 21), zero) << k;
    EXPECT_EQ(bytes.substr(216, 2), std::string("\x02\x00", 2));   // paramCount
    EXPECT_EQ(bytes.substr(218, 21), "\x14      7.5529999e+001");  // pumpingRate
    EXPECT_EQ(bytes.substr(239, 21), "\x14      1.5400000e+002");  // radialDistance
    EXPECT_NE(bytes.find("\x08test.out"), std::string::npos);
}

TEST(DocumentBytes, NothingFollowsTheGaussTablesWithoutIterations) {
    AnalysisState s = makeDefaultState();
    const std::string bytes = documentBytes(s);
    // The last Gauss weight of the 20-point rule ends the file.
    EXPECT_EQ(bytes.substr(bytes.size() - 21, 1), "\x14");
    s.iterationsDone = 2;
    s.errorHistory = {0.5f, 0.25f};
    EXPECT_EQ(documentBytes(s).size(), bytes.size() + 2 * 21);
}

TEST(DocumentRoundTrip, DefaultState) {
    const AnalysisState s = makeDefaultState();
    const AnalysisState loaded = roundTrip(s);
    expectSameDocument(s, loaded);
    EXPECT_EQ(loaded.allCount, 14);
    EXPECT_EQ(loaded.useFrom, 1);
    EXPECT_EQ(loaded.useTo, 14);
    EXPECT_EQ(loaded.untitled, 0);
}

TEST(DocumentRoundTrip, AfterTypeCurves) {
    const AnalysisState s = afterTypeCurves();
    const AnalysisState loaded = roundTrip(s);
    expectSameDocument(s, loaded);
    EXPECT_EQ(loaded.projectDescription, "Leaky test\r\nsecond line");
    EXPECT_EQ(loaded.curveX.size(), 6u);
}

TEST(DocumentRoundTrip, AfterAnEstimation) {
    const AnalysisState s = afterEstimation();
    const AnalysisState loaded = roundTrip(s);
    expectSameDocument(s, loaded);
    ASSERT_EQ(loaded.errorHistory.size(), 20u);  // room for the next run
    EXPECT_EQ(loaded.calculated.size(), 12u);
    EXPECT_EQ(documentBytes(roundTrip(loaded)), documentBytes(loaded));
}

TEST(DocumentRoundTrip, NonPersistedFieldsKeepTheirValues) {
    AnalysisState target = makeDefaultState();
    target.tcTheisUniform = 1;
    target.drawdownInputMode = 2;
    target.yAxisLog = 1;
    ASSERT_FALSE(readDocumentBytes(documentBytes(afterEstimation()), target));
    EXPECT_EQ(target.tcTheisUniform, 1);
    EXPECT_EQ(target.drawdownInputMode, 2);
    EXPECT_EQ(target.yAxisLog, 1);
    EXPECT_EQ(target.uList144.size(), 144u);
}

TEST(DocumentTables, LastStehfestCoefficientIsRestored) {
    AnalysisState s = makeDefaultState();
    s.stehfestWeights[12] = 0.0;
    const AnalysisState loaded = roundTrip(s);
    const AnalysisState reference = makeDefaultState();
    ASSERT_EQ(loaded.stehfestWeights.size(), 13u);
    EXPECT_EQ(loaded.stehfestWeights[12], reference.stehfestWeights[12]);
    EXPECT_NE(loaded.stehfestWeights[12], 0.0);
}

TEST(DocumentTables, UnusableGaussValuesAreRecomputed) {
    AnalysisState s = makeDefaultState();
    std::fill(s.gaussWeights.begin(), s.gaussWeights.end(), 0.0);
    s.gaussNodes[3] = std::nan("");
    const AnalysisState loaded = roundTrip(s);
    const AnalysisState reference = makeDefaultState();
    EXPECT_EQ(loaded.gaussNodes, reference.gaussNodes);
    EXPECT_EQ(loaded.gaussWeights, reference.gaussWeights);
}

TEST(DocumentTables, UsableGaussValuesAreTakenFromTheFile) {
    AnalysisState s = makeDefaultState();
    const AnalysisState loaded = roundTrip(s);
    EXPECT_NE(loaded.gaussNodes[1], s.gaussNodes[1]);  // 8 digits, not the computed value
    expectNear8Digits(s.gaussNodes[1], loaded.gaussNodes[1], "gaussNodes[1]");
}

// The offset of the Word of `field`: the first byte in which two documents differ when only that
// count differs (by one, with one more element in the list it governs).
std::size_t offsetOfCount(const std::function<void(AnalysisState&)>& grow) {
    const AnalysisState a = makeDefaultState();
    AnalysisState b = a;
    grow(b);
    const std::string x = documentBytes(a);
    const std::string y = documentBytes(b);
    std::size_t i = 0;
    while (i < x.size() && x[i] == y[i]) ++i;
    return i;
}

void expectRefused(const std::string& bytes, const std::string& reason) {
    AnalysisState state = afterTypeCurves();
    const std::string before = documentBytes(state);
    const auto error = readDocumentBytes(bytes, state);
    ASSERT_TRUE(error) << reason;
    EXPECT_NE(error->find(reason), std::string::npos) << *error;
    EXPECT_EQ(documentBytes(state), before);
    EXPECT_EQ(state.typeCurvesReady, 1);
}

TEST(DocumentFaults, EveryTruncationIsRefusedAndChangesNothing) {
    const std::string bytes = documentBytes(afterEstimation());
    for (std::size_t length = 0; length < bytes.size(); length += 1 + length % 13) {
        expectRefused(bytes.substr(0, length), "ends early");
    }
    expectRefused(bytes.substr(0, bytes.size() - 1), "ends early");
}

TEST(DocumentFaults, DataAfterTheLastRecordIsRefused) {
    expectRefused(documentBytes(makeDefaultState()) + "x", "1 bytes follow");
}

TEST(DocumentFaults, CountsAboveTheirCapacity) {
    std::string bytes = documentBytes(makeDefaultState());
    const std::size_t family = offsetOfCount([](AnalysisState& s) { s.familyCount = 1; });
    ASSERT_EQ(bytes[family], '\0');
    bytes[family] = 101;
    expectRefused(bytes, "familyCount = 101");

    bytes = documentBytes(makeDefaultState());
    const std::size_t reserved = offsetOfCount([](AnalysisState& s) { s.reservedListCount = 1; });
    bytes[reserved] = static_cast<char>(201);
    expectRefused(bytes, "reservedListCount = 201");

    bytes = documentBytes(makeDefaultState());
    bytes[216] = 11;  // paramCount
    expectRefused(bytes, "paramCount = 11");
}

TEST(DocumentFaults, HugeCountsFailWithoutWaitingForData) {
    std::string bytes = documentBytes(makeDefaultState());
    const std::size_t curves = offsetOfCount([](AnalysisState& s) { s.curveYCount = 21; });
    bytes[curves] = static_cast<char>(0xFF);
    bytes[curves + 1] = static_cast<char>(0xFF);
    expectRefused(bytes, "curveY");
}

TEST(DocumentFaults, OverlongNumberAndHugeTextLength) {
    std::string bytes = documentBytes(makeDefaultState());
    bytes.replace(6, 21, std::string(1, static_cast<char>(84)) + std::string(80, ' ') + "1.0e+00");
    expectRefused(bytes, "84 characters");

    bytes = documentBytes(makeDefaultState());
    const std::size_t text = bytes.find("\x08test.out");
    bytes.replace(text, 9, std::string("\xFF\xFF\xFF\xF0\xFF\xFF\x7F", 7));
    expectRefused(bytes, "ends early, in reportFileName");
}

TEST(DocumentFaults, StatesTheFileCannotHoldAreNotWritten) {
    AnalysisState s = makeDefaultState();
    s.allCount = 70000;
    EXPECT_THROW((void)documentBytes(s), std::exception);
    s = makeDefaultState();
    s.familyCount = 101;
    EXPECT_THROW((void)documentBytes(s), std::exception);
    s = makeDefaultState();
    s.curveXCount = 40;  // arrays shorter than their counts are written as zeros
    s.curveX.resize(3);
    const AnalysisState loaded = roundTrip(s);
    EXPECT_EQ(loaded.curveX.size(), 41u);
    EXPECT_EQ(loaded.curveX[39], 0.0f);
}

TEST(DocumentFiles, SaveAndLoad) {
    ScratchFolder folder;
    const std::string path = folder.file("analysis.tvx");
    ASSERT_FALSE(saveDocument(afterEstimation(), path));
    AnalysisState loaded = makeDefaultState();
    ASSERT_FALSE(loadDocument(path, loaded));
    expectSameDocument(afterEstimation(), loaded);
    EXPECT_EQ(std::filesystem::directory_iterator(folder.file("")) == std::filesystem::directory_iterator(),
              false);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.file(""))) ++files;
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST(DocumentFiles, FailedSaveKeepsTheOldFileAndSaysWhy) {
    ScratchFolder folder;
    const std::string path = folder.file("analysis.tvx");
    ASSERT_FALSE(saveDocument(makeDefaultState(), path));
    const std::string old = ScratchFolder::read(path);
    AnalysisState bad = makeDefaultState();
    bad.usedCount = 70000;
    const auto error = saveDocument(bad, path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->substr(0, error->find('\n')), "Not able to create file.");
    EXPECT_NE(error->find("analysis.tvx"), std::string::npos);
    EXPECT_NE(error->find("usedCount"), std::string::npos);
    EXPECT_EQ(ScratchFolder::read(path), old);

    EXPECT_TRUE(saveDocument(makeDefaultState(), folder.file("missing/analysis.tvx")));
    EXPECT_TRUE(saveDocument(makeDefaultState(), folder.file("")));
}

TEST(DocumentFiles, LoadFailuresNameTheFileAndChangeNothing) {
    ScratchFolder folder;
    AnalysisState state = afterTypeCurves();
    const std::string before = documentBytes(state);
    const auto missing = loadDocument(folder.file("none.tvx"), state);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->substr(0, missing->find('\n')), "Not able to open file.");
    EXPECT_NE(missing->find("none.tvx"), std::string::npos);
    const auto invalid = loadDocument(folder.write("text.tvx", "Tolvex\n"), state);
    ASSERT_TRUE(invalid);
    EXPECT_NE(invalid->find("text.tvx"), std::string::npos);
    EXPECT_TRUE(loadDocument(folder.file(""), state));
    EXPECT_EQ(documentBytes(state), before);
}

}  // namespace
}  // namespace tolvex
