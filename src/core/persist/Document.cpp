#include "core/persist/Document.h"

#include <cmath>

#include "core/estimation/JointSeries.h"
#include "core/io/FileBytes.h"
#include "core/persist/Archive.h"
#include "core/persist/DocumentExtension.h"
#include "core/persist/DocumentLimits.h"
#include "core/persist/DocumentRecords.h"
#include "core/persist/ExtensionBlock.h"
#include "core/persist/FileReplace.h"
#include "core/solutions/GaussLegendre.h"
#include "core/solutions/Stehfest.h"

namespace tolvex {
namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The weights of a Gauss-Legendre rule on [-1, 1] add up to 2, and its nodes lie inside the interval.
bool gaussTableUsable(const AnalysisState& s) {
    double sum = 0.0;
    for (int j = 1; j <= s.gaussCount; ++j) {
        const double node = s.gaussNodes[static_cast<std::size_t>(j)];
        const double weight = s.gaussWeights[static_cast<std::size_t>(j)];
        if (!std::isfinite(node) || !std::isfinite(weight) || std::fabs(node) > 1.0 || weight <= 0.0)
            return false;
        sum += weight;
    }
    return std::fabs(sum - 2.0) < 1e-5;
}

void restoreNumericalTables(AnalysisState& s) {
    s.stehfestWeights.assign(static_cast<std::size_t>(s.stehfestCount) + 1, 0.0);
    if (s.stehfestCount > 0) stehfestCoefficients(s.stehfestCount, s.stehfestWeights);
    if (s.gaussCount > 0 && !gaussTableUsable(s)) {
        gaussLegendreRule(-1.0, 1.0, s.gaussNodes, s.gaussWeights, s.gaussCount);
    }
}

// A saved fit keeps the further series' measurements and settings but not their calculated drawdowns (the
// results of a run): after an estimation they are the model at the saved parameters, computed again here
// so that a reopened joint fit draws every series' curve, not only the first one's.
void restoreFurtherSeriesDrawdowns(AnalysisState& state) {
    if (state.plotContent != 2 || state.extraSeries.empty()) return;
    calculateFurtherSeries(state);
    for (ObservationSeries& x : state.extraSeries) {
        if (!x.settings.on || !(x.settings.weight > 0.0)) x.calculated.clear();
    }
}

}  // namespace

std::string documentBytes(const AnalysisState& state) {
    AnalysisState copy = state;  // the record description sizes the arrays it writes
    copy.untitled = 0;
    ArchiveWriter writer;
    documentRecords(writer, copy);
    std::string bytes = writer.bytes();
    const std::string payload = extensionPayload(state);
    if (!payload.empty()) bytes += extensionBlock(bytes, payload);
    return bytes;
}

std::optional<std::string> readDocumentBytes(std::string_view bytes, AnalysisState& state) {
    AnalysisState fresh = state;
    fresh.typeCurvesReady = 0;
    try {
        ArchiveReader reader(bytes, checkDocumentWord);
        documentRecords(reader, fresh);
        resetExtensionFields(fresh);
        if (reader.remaining() != 0) {
            const ExtensionRead block = readExtensionBlock(bytes, bytes.size() - reader.remaining());
            if (!block.payload) return block.error;
            if (auto error = applyExtensionPayload(*block.payload, fresh)) return error;
        }
    } catch (const ArchiveError& e) {
        return e.what();
    }
    restoreNumericalTables(fresh);
    restoreFurtherSeriesDrawdowns(fresh);
    state = std::move(fresh);
    return std::nullopt;
}

std::optional<std::string> saveDocument(const AnalysisState& state, const std::string& path) {
    std::string bytes;
    try {
        bytes = documentBytes(state);
    } catch (const ArchiveError& e) {
        return "Not able to create file.\n" + quoted(path) + ": " + e.what();
    }
    return writeFileOrMessage(path, bytes);
}

std::optional<std::string> loadDocument(const std::string& path, AnalysisState& state) {
    const FileRead file = readFileBytes(path, kMaxDocumentBytes);
    if (!file.bytes) return "Not able to open file.\n" + quoted(path) + ": " + file.error;
    if (auto error = readDocumentBytes(*file.bytes, state)) {
        return "Not able to read file.\n" + quoted(path) + " is not a valid Tolvex document: " + *error;
    }
    return std::nullopt;
}

}  // namespace tolvex
