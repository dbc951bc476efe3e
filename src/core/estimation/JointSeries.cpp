#include "core/estimation/JointSeries.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

#include "core/series/SlugHeads.h"
#include "core/series/UsedRange.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

bool firstTakesPart(const AnalysisState& s) {
    return s.firstSeries.on && s.firstSeries.weight > 0.0 && s.usedCount > 0;
}

// Appends one series' used measurements to the joined arrays.
void append(AnalysisState& s, JointLayout& layout, int series, std::span<const double> times,
            std::span<const double> values, double weight) {
    const auto offset = static_cast<int>(s.times.size());
    s.times.insert(s.times.end(), times.begin(), times.end());
    s.measured.insert(s.measured.end(), values.begin(), values.end());
    layout.rootWeights.insert(layout.rootWeights.end(), times.size(), std::sqrt(weight));
    layout.segments.push_back({series, offset, static_cast<int>(times.size()), weight});
}

void appendExtra(AnalysisState& s, JointLayout& layout, std::size_t k) {
    const ObservationSeries& x = s.extraSeries[k];
    const UsedRange used = usedRange(x);
    const bool slug = s.modelKind == static_cast<int>(ModelKind::SlugTest);
    const std::vector<double> values = slug ? normalisedHeads(x.values, x.settings.head) : x.values;
    append(s, layout, static_cast<int>(k) + 1,
           std::span<const double>(x.times).subspan(used.first, used.count),
           std::span<const double>(values).subspan(used.first, used.count), x.settings.weight);
}

// The model at the state's parameters for the first series when it took no part in the fit.
void computeFirstSeries(AnalysisState& s) {
    if (s.modelKind < 0 || s.modelKind > kLastTypeCurveModel) return;
    std::vector<float> p = buildParameterVector(s);
    evaluateForward(s, p, s.modelKind);
}

}  // namespace

bool jointFitWanted(const AnalysisState& s) {
    if (!s.firstSeries.on || s.firstSeries.weight != 1.0) return true;
    return std::any_of(s.extraSeries.begin(), s.extraSeries.end(), takesPart);
}

void joinSeries(AnalysisState& s) {
    if (s.joint.joined() || !jointFitWanted(s)) return;
    JointLayout layout;
    layout.firstTimes = std::move(s.times);
    layout.firstMeasured = std::move(s.measured);
    layout.firstCalculated = std::move(s.calculated);
    layout.firstUsedCount = s.usedCount;
    s.times.clear();
    s.measured.clear();
    if (firstTakesPart(s)) {
        const auto n = static_cast<std::size_t>(s.usedCount);
        append(s, layout, 0, std::span<const double>(layout.firstTimes).first(n),
               std::span<const double>(layout.firstMeasured).first(n), s.firstSeries.weight);
    }
    for (std::size_t k = 0; k < s.extraSeries.size(); ++k) {
        if (takesPart(s.extraSeries[k])) appendExtra(s, layout, k);
    }
    s.usedCount = static_cast<int>(s.times.size());
    s.calculated.assign(s.times.size(), 0.0);
    if (layout.segments.empty()) layout.segments.push_back({0, 0, 0, 0.0});  // joined, but nothing in it
    s.joint = std::move(layout);
}

void splitSeries(AnalysisState& s) {
    if (!s.joint.joined()) return;
    JointLayout layout = std::move(s.joint);
    s.joint = JointLayout{};
    const std::vector<double> joined = std::move(s.calculated);
    s.times = std::move(layout.firstTimes);
    s.measured = std::move(layout.firstMeasured);
    s.calculated = std::move(layout.firstCalculated);
    s.usedCount = layout.firstUsedCount;
    for (ObservationSeries& x : s.extraSeries) x.calculated.clear();
    bool firstComputed = false;
    for (const JointSegment& segment : layout.segments) {
        if (segment.count == 0) continue;
        const auto from = joined.begin() + std::min<std::ptrdiff_t>(segment.offset, std::ssize(joined));
        const auto to =
            joined.begin() + std::min<std::ptrdiff_t>(segment.offset + segment.count, std::ssize(joined));
        if (segment.series == 0) {
            if (s.calculated.size() < static_cast<std::size_t>(to - from)) s.calculated.resize(to - from);
            std::copy(from, to, s.calculated.begin());
            firstComputed = true;
        } else {
            s.extraSeries[static_cast<std::size_t>(segment.series - 1)].calculated.assign(from, to);
        }
    }
    if (!firstComputed) computeFirstSeries(s);
}

void calculateFurtherSeries(AnalysisState& s) {
    const int kind = s.modelKind;
    for (ObservationSeries& x : s.extraSeries) x.calculated.clear();
    if (kind < 0 || kind > kLastTypeCurveModel) return;
    std::vector<float> p = buildParameterVector(s);
    clampParameters(p, kind);
    const std::vector<double> q(p.begin(), p.end());
    for (ObservationSeries& x : s.extraSeries) {
        const UsedRange used = usedRange(x);
        x.calculated.assign(used.count, 0.0);
        computeDrawdownsAt(s, seriesSite(x), kind, q,
                           std::span<const double>(x.times).subspan(used.first, used.count), x.calculated);
    }
}

AnalysisState joinedCopy(const AnalysisState& state) {
    AnalysisState copy = state;
    joinSeries(copy);
    return copy;
}

const JointSegment* segmentOf(const AnalysisState& s, int index) {
    for (const JointSegment& segment : s.joint.segments) {
        if (index >= segment.offset && index < segment.offset + segment.count) return &segment;
    }
    return nullptr;
}

std::string seriesLabel(const AnalysisState& s, int series) {
    const std::string& name =
        series == 0 ? s.firstSeries.name : s.extraSeries[static_cast<std::size_t>(series - 1)].settings.name;
    return name.empty() ? "series " + std::to_string(series + 1) : name;
}

std::vector<double> pointRadiiSquared(const AnalysisState& s) {
    const auto n = static_cast<std::size_t>(std::max(s.usedCount, 0));
    const double first = static_cast<double>(s.radialDistance) * s.radialDistance;
    std::vector<double> r2(n, first);
    for (const JointSegment& segment : s.joint.segments) {
        if (segment.series == 0) continue;
        const double r = s.extraSeries[static_cast<std::size_t>(segment.series - 1)].radialDistance;
        for (int i = segment.offset; i < segment.offset + segment.count && i < static_cast<int>(n); ++i)
            r2[static_cast<std::size_t>(i)] = r * r;
    }
    return r2;
}

double pointWeight(const AnalysisState& s, int index) {
    const JointSegment* segment = segmentOf(s, index);
    return segment == nullptr ? 1.0 : segment->weight;
}

}  // namespace tolvex
