#include "core/plot/TitleBlock.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <variant>

#include "core/persist/Archive.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

constexpr int kRowHeight = 30;    // a text cell of 22 units and the gap below it
constexpr int kMargin = 15;       // between the page edge and the frame, and inside the frame
constexpr int kGapToPlot = 10;    // between the frame and the plot above it
constexpr int kDigits = 5;        // significant digits of the parameters and the RMS
constexpr int kTextHeight = 22;   // a little smaller than the plot's labels
constexpr int kTextWidth = 9;     // average character width
constexpr int kTextWeight = 400;  // regular: the block must not compete with the plot
constexpr int kLeftShare = 62;    // per cent of the width for the names
constexpr std::string_view kEllipsis = "...";

struct Symbol {
    std::string_view field;
    std::string_view symbol;
};

constexpr std::array<Symbol, 13> kSymbols{{
    {"storativity", "S"},
    {"transmissivity", "T"},
    {"verticalConductivity", "Kz"},
    {"upperBedConductivity", "K'"},
    {"lowerBedConductivity", "K''"},
    {"upperBedStorativity", "S'"},
    {"lowerBedStorativity", "S''"},
    {"specificYield", "Sy"},
    {"fractureStorativity", "Sf"},
    {"fractureTransmissivity", "Tf"},
    {"matrixStorativity", "Sm"},
    {"matrixTransmissivity", "Tm"},
    {"hydraulicConductivity", "K"},
}};

// "value unit" in the document's units, or the value alone when the quantity has no unit to show.
std::string quantityText(double stored, Dimension dimension, const DisplayUnits& units) {
    std::string text = formatGeneral(fromSI(stored, dimension, units), kDigits);
    const std::string unit = unitLabel(dimension, units);
    if (!unit.empty()) text += " " + unit;
    return text;
}

std::string fieldValueText(const AnalysisState& state, const FieldInfo& field) {
    if (const auto* member = std::get_if<float AnalysisState::*>(&field.member))
        return quantityText(static_cast<double>(state.**member), field.dimension, state.units);
    if (const auto* member = std::get_if<int AnalysisState::*>(&field.member))
        return std::to_string(state.**member);
    return {};
}

std::vector<std::string> parameterLines(const AnalysisState& state) {
    std::vector<std::string> lines;
    for (std::string_view name : fittedFieldNames(state.modelKind)) {
        const FieldInfo* field = findField(name);
        if (field == nullptr) continue;
        lines.push_back(parameterSymbol(std::string(name)) + " = " + fieldValueText(state, *field));
    }
    return lines;
}

// "Well: H30", or every series named when the document holds several ("Wells: H30, H90, H215").
std::string wellLine(const AnalysisState& state) {
    const auto named = [](const std::string& name) {
        return name.empty() ? std::string("(not named)") : name;
    };
    std::string names = named(state.firstSeries.name);
    for (const ObservationSeries& series : state.extraSeries) names += ", " + named(series.settings.name);
    return (state.extraSeries.empty() ? "Well: " : "Wells: ") + names;
}

// Shift of every point of a primitive: the plot moves up to make room for the band.
struct MoveUp {
    int by;
    void operator()(Line& line) const {
        line.from.y += by;
        line.to.y += by;
    }
    void operator()(Polyline& polyline) const {
        for (Point& point : polyline.points) point.y += by;
    }
    void operator()(Ellipse& ellipse) const {
        ellipse.lowerLeft.y += by;
        ellipse.upperRight.y += by;
    }
    void operator()(Text& text) const { text.anchor.y += by; }
};

// The longest start of `text` that fits `width` with an ellipsis, or the text itself when it fits.
std::string fitted(const std::string& text, int width, const PlotCanvas& canvas) {
    if (canvas.textWidth(text) <= width) return text;
    std::string shorter = text;
    while (!shorter.empty()) {
        shorter.pop_back();
        // Never cut a UTF-8 sequence in two.
        while (!shorter.empty() && (static_cast<unsigned char>(shorter.back()) & 0xC0) == 0x80)
            shorter.pop_back();
        if (!shorter.empty() && static_cast<unsigned char>(shorter.back()) >= 0xC0) shorter.pop_back();
        const std::string candidate = shorter + std::string(kEllipsis);
        if (canvas.textWidth(candidate) <= width) return candidate;
    }
    return std::string(kEllipsis);
}

void drawFrame(PlotCanvas& canvas, int left, int lower, int right, int upper, int middle) {
    canvas.line({left, lower}, {right, lower});
    canvas.line({right, lower}, {right, upper});
    canvas.line({right, upper}, {left, upper});
    canvas.line({left, upper}, {left, lower});
    canvas.line({middle, lower}, {middle, upper});
}

void drawColumn(PlotCanvas& canvas, const std::vector<std::string>& lines, int left, int right, int top) {
    const int width = right - left - 2 * kMargin;
    int y = top - kMargin;
    for (const std::string& line : lines) {
        canvas.text({left + kMargin, y}, fitted(line, width, canvas));
        y -= kRowHeight;
    }
}

}  // namespace

std::string parameterSymbol(const std::string& fieldName) {
    for (const Symbol& entry : kSymbols)
        if (entry.field == fieldName) return std::string(entry.symbol);
    return fieldName;
}

TitleBlockTexts titleBlockTexts(const AnalysisState& state, const std::string& date) {
    TitleBlockTexts texts;
    // The document keeps its texts as Latin-1 bytes; a scene holds UTF-8.
    texts.left.push_back("Project: " + latin1ToUtf8(state.projectDescription));
    texts.left.push_back("Operator: " + latin1ToUtf8(state.operatorName));
    texts.left.push_back(wellLine(state));
    texts.left.push_back("Model: " + std::string(modelName(state.modelKind)));
    if (state.resultKind != 0) {
        texts.right = parameterLines(state);
        texts.right.push_back("RMS = " + quantityText(static_cast<double>(state.rmsError),
                                                      fitErrorDimension(state.modelKind), state.units));
    } else {
        texts.right.push_back("No estimation yet");
    }
    texts.right.push_back("Date: " + date);
    return texts;
}

int titleBlockHeight(const TitleBlockTexts& texts) {
    const auto rows = static_cast<int>(std::max(texts.left.size(), texts.right.size()));
    return kGapToPlot + 2 * kMargin + rows * kRowHeight + kMargin;
}

Scene withTitleBlock(Scene plot, const TitleBlockTexts& texts, const std::string& fontFace,
                     const TextMeasure& measure) {
    const int band = titleBlockHeight(texts);
    for (Primitive& primitive : plot.primitives) std::visit(MoveUp{band}, primitive);
    plot.height += band;

    PlotCanvas canvas{plot, kPlotFrame, PlotFont{fontFace, kTextHeight, kTextWidth, kTextWeight}, measure};
    const int left = kMargin;
    const int right = plot.width - kMargin;
    const int lower = kMargin;
    const int upper = band - kGapToPlot;
    // The names (the model's is up to 73 characters) need more room than the numbers.
    const int middle = left + (right - left) * kLeftShare / 100;
    drawFrame(canvas, left, lower, right, upper, middle);
    drawColumn(canvas, texts.left, left, middle, upper);
    drawColumn(canvas, texts.right, middle, right, upper);
    return plot;
}

}  // namespace tolvex::plot
