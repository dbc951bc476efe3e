// Golden documents: files written by an independent writer (tests/reference/document_writer.py) from
// the record list and the table of defaults. The program's file for the same state must equal them
// byte for byte, and loading them must give back every value the writer put in, field by field.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "core/commands/DataForms.h"
#include "core/commands/EstimationCommands.h"
#include "core/commands/InputDrawdowns.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/persist/Document.h"
#include "core/persist/GoldenFiles.h"
#include "core/state/FieldTable.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using namespace tolvex::testing;

// One value of a golden file, in file order: a row of <name>_fields.csv.
struct FileValue {
    std::string field;
    int index = -1;   // -1 for a scalar
    char kind = 'W';  // W word, N float Number, D double Number, T text
    std::string value;

    [[nodiscard]] std::string name() const {
        return index < 0 ? field : field + "[" + std::to_string(index) + "]";
    }
};

std::vector<FileValue> readFileValues(const std::string& documentName) {
    std::istringstream in(readBytes(dataPath("documents/" + documentName + "_fields.csv")));
    std::vector<FileValue> values;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t a = line.find(',');
        const std::size_t b = line.find(',', a + 1);
        const std::size_t c = line.find(',', b + 1);
        FileValue v{line.substr(0, a), -1, line[b + 1], line.substr(c + 1)};
        if (b > a + 1) v.index = std::stoi(line.substr(a + 1, b - a - 1));
        values.push_back(v);
    }
    return values;
}

// Length of the record holding a value of that kind at `offset`.
std::size_t recordLength(std::string_view bytes, std::size_t offset, char kind) {
    if (kind == 'W') return 2;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[offset + i]); };
    const std::size_t length = byte(0);
    if (length < 0xFF) return 1 + length;
    const std::size_t medium = byte(1) | (byte(2) << 8);
    if (medium < 0xFFFE) return 3 + medium;
    return 7 + (byte(3) | (byte(4) << 8) | (byte(5) << 16) | (std::size_t{byte(6)} << 24));
}

// The value whose record holds byte `offset` of the golden file.
std::string recordAt(std::string_view golden, const std::vector<FileValue>& values, std::size_t offset) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < values.size() && start < golden.size(); ++k) {
        const std::size_t end = start + recordLength(golden, start, values[k].kind);
        if (offset < end) {
            return "value " + std::to_string(k + 1) + " of " + std::to_string(values.size()) + ", " +
                   values[k].name() + " (record bytes " + std::to_string(start) + ".." +
                   std::to_string(end - 1) + ")";
        }
        start = end;
    }
    return "past the last record";
}

template <class Values>
double elementAt(const Values& v, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size()
               ? static_cast<double>(v[static_cast<std::size_t>(i)])
               : std::nan("");
}

using ArrayElement = std::function<double(const AnalysisState&, int)>;
#define TOLVEX_ARRAY(name)                                                        \
    {                                                                             \
#name, [](const AnalysisState& s, int i) { return elementAt(s.name, i); } \
    }
const std::map<std::string, ArrayElement> kArrays{
    TOLVEX_ARRAY(paramVector),     TOLVEX_ARRAY(reservedRowsA),   TOLVEX_ARRAY(reservedRowsB),
    TOLVEX_ARRAY(reservedRowsC),   TOLVEX_ARRAY(brTableA),        TOLVEX_ARRAY(brTableB),
    TOLVEX_ARRAY(brTableC),        TOLVEX_ARRAY(brTableLeRw),     TOLVEX_ARRAY(curveX),
    TOLVEX_ARRAY(curveY),          TOLVEX_ARRAY(familyValues),    TOLVEX_ARRAY(reservedList),
    TOLVEX_ARRAY(spareBlock1),     TOLVEX_ARRAY(spareBlock2),     TOLVEX_ARRAY(reservedScale),
    TOLVEX_ARRAY(reservedSeriesA), TOLVEX_ARRAY(reservedSeriesB), TOLVEX_ARRAY(reservedSeriesC),
    TOLVEX_ARRAY(stehfestWeights), TOLVEX_ARRAY(allDrawdowns),    TOLVEX_ARRAY(allTimes),
    TOLVEX_ARRAY(measured),        TOLVEX_ARRAY(calculated),      TOLVEX_ARRAY(times),
    TOLVEX_ARRAY(gaussNodes),      TOLVEX_ARRAY(gaussWeights),    TOLVEX_ARRAY(errorHistory)};
#undef TOLVEX_ARRAY

// What the loaded state holds for one file value, as text (scalars) or number; an empty optional
// names a value the test cannot find in the state.
std::optional<double> loadedNumber(const AnalysisState& s, const FileValue& v) {
    if (v.index >= 0) {
        const auto array = kArrays.find(v.field);
        if (array == kArrays.end()) return std::nullopt;
        return array->second(s, v.index);
    }
    const FieldInfo* field = findField(v.field);
    if (field == nullptr) return std::nullopt;
    if (field->type() == FieldType::Int) return s.*std::get<int AnalysisState::*>(field->member);
    if (field->type() == FieldType::Float) return s.*std::get<float AnalysisState::*>(field->member);
    return std::nullopt;
}

// Whether the loaded value is what the file says. Floats must be the float nearest to the file's
// text exactly; doubles the text's value exactly, except the Stehfest coefficients, which the loader
// recomputes in full precision (the file carries 8 digits).
std::optional<std::string> mismatch(const AnalysisState& s, const FileValue& v) {
    if (v.kind == 'T') {
        const FieldInfo* field = findField(v.field);
        if (field == nullptr || field->type() != FieldType::Text) return "no text field " + v.field;
        const std::string loaded = s.*std::get<std::string AnalysisState::*>(field->member);
        if (loaded == v.value) return std::nullopt;
        return v.name() + " = \"" + loaded + "\", file \"" + v.value + "\"";
    }
    const std::optional<double> loaded = loadedNumber(s, v);
    if (!loaded) return "no field " + v.name() + " in the state";
    const double expected = std::stod(v.value);
    bool same = false;
    if (v.kind == 'N') {
        same = static_cast<float>(*loaded) == static_cast<float>(expected);
    } else if (v.field == "stehfestWeights") {
        same = std::fabs(*loaded - expected) <= 5.01e-8 * std::fabs(expected);
    } else {
        same = *loaded == expected;
    }
    if (same) return std::nullopt;
    std::ostringstream text;
    text.precision(17);
    text << v.name() << " = " << *loaded << ", file " << v.value;
    return text.str();
}

// --- the states the golden documents hold -------------------------------------------------------

AnalysisState defaultDocument() {
    return makeDefaultState();
}

// "Type-curve Calculation" of the leaky model (Hantush 1956): five values of 1/u, three of r/B.
AnalysisState leakyTypeCurvesDocument() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    s.tcLeakyCount = 5;
    s.tcLeakyRbCount = 3;
    ScriptedInteraction ui;
    EXPECT_EQ(typeCurveCalculation(s, ui), CommandOutcome::Done);
    return s;
}

// "Least Square Inversion" of the pumping-test sample set with Theis's solution, from the defaults.
AnalysisState theisFitDocument() {
    AnalysisState s = makeDefaultState();
    ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
    return s;
}

// "Input drawdowns" from a comma-delimited file, the table confirmed as read.
AnalysisState importDocument() {
    AnalysisState s = makeDefaultState();
    s.drawdownInputMode = kInputImport;
    s.importDelimiter = 0;
    ScriptedInteraction ui;
    ui.fileAnswers.push_back(dataPath("documents/import_comma.dat"));
    std::string importPath;
    inputDrawdowns(s, ui, importPath);
    EXPECT_TRUE(ui.messages.empty());
    return s;
}

// Every scalar that the writer script gave a value of its own (all but the counts that size arrays),
// with project texts of 255 and 300 characters, whose lengths take the three-byte prefix (0xFF and a
// 16-bit length). Two records that traded places would show here even where their defaults agree.
AnalysisState changedFieldsDocument() {
    AnalysisState s = makeDefaultState();
    for (const FileValue& v : readFileValues("changed_fields")) {
        const FieldInfo* field = findField(v.field);
        if (v.index >= 0 || field == nullptr || field->access != FieldAccess::Settable) continue;
        if (auto error = setFieldText(s, *field, v.value)) ADD_FAILURE() << *error;
    }
    return s;
}

struct GoldenDocument {
    const char* name;
    AnalysisState (*state)();
};

const GoldenDocument kDocuments[] = {
    {"default", defaultDocument},
    {"typecurves_leaky", leakyTypeCurvesDocument},
    {"fit_pumping_theis", theisFitDocument},
    {"import_comma", importDocument},
    {"changed_fields", changedFieldsDocument},
};

TEST(GoldenDocument, ProgramWritesTheGoldenBytes) {
    for (const GoldenDocument& doc : kDocuments) {
        const std::string path = dataPath(std::string("documents/") + doc.name + ".tvx");
        const std::string bytes = documentBytes(doc.state());
        if (updateGoldenRequested()) {
            writeBytes(path, bytes);
            ADD_FAILURE() << "wrote " << path << "; now run tests/reference/document_writer.py --take-pins";
            continue;
        }
        const std::string golden = readBytes(path);
        ASSERT_FALSE(golden.empty()) << path;
        const std::size_t at = firstDifference(bytes, golden);
        EXPECT_EQ(at, std::string::npos)
            << doc.name << ".tvx: the program's " << bytes.size() << " bytes and the golden " << golden.size()
            << " differ first at byte " << at << ", in " << recordAt(golden, readFileValues(doc.name), at)
            << "\n  program: " << excerpt(bytes, at) << "\n  golden:  " << excerpt(golden, at);
    }
}

TEST(GoldenDocument, LoadingGivesBackEveryValue) {
    for (const GoldenDocument& doc : kDocuments) {
        const std::vector<FileValue> values = readFileValues(doc.name);
        ASSERT_GT(values.size(), 400u) << doc.name;
        // Start from a state that differs from the file wherever the file carries a value.
        AnalysisState loaded = makeDefaultState();
        loaded.modelKind = 7;
        loaded.spareConst = 9;
        loaded.projectDescription = "not from the file";
        loaded.tcBsSigma = 1.5f;
        loaded.gaussCount = 4;
        loaded.stehfestCount = 8;
        buildNumericalTables(loaded);
        const auto error =
            readDocumentBytes(readBytes(dataPath(std::string("documents/") + doc.name + ".tvx")), loaded);
        ASSERT_FALSE(error) << doc.name << ": " << *error;
        int wrong = 0;
        std::string first;
        for (const FileValue& v : values) {
            if (auto why = mismatch(loaded, v)) {
                if (wrong++ == 0) first = *why;
            }
        }
        EXPECT_EQ(wrong, 0) << doc.name << ": " << wrong << " values differ from the file, first " << first;
        EXPECT_EQ(loaded.stehfestWeights.size(), static_cast<std::size_t>(loaded.stehfestCount) + 1)
            << doc.name;
        EXPECT_EQ(loaded.gaussNodes.size(), static_cast<std::size_t>(loaded.gaussCount) + 1) << doc.name;
    }
}

}  // namespace
}  // namespace tolvex
