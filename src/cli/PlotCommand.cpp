// tolvex-cli plot DOC --out FILE [--size WxH] [--style classic|clear] [--axes auto|loglog|semilog]: a
// picture of the document's plot. The format follows the extension of FILE: .png, .svg, .pdf, .bmp (8 bits
// per pixel) or .emf (enhanced metafile). Without --style or --axes the document's own view is drawn.
// --view draws a diagnostic view instead of the main plot: the residuals of the last estimation or a
// straight-line plot of the measured data. --derivative [L|window:N] adds the logarithmic derivative
// of the measurements and of the model to the data plot.
#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>
#include <optional>
#include <string>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "cli/DerivativeOption.h"
#include "core/plot/DiagnosticViews.h"
#ifdef TOLVEX_HAVE_RENDER
#include "render/HeadlessGui.h"
#include "render/PlotExport.h"
#include "render/ScenePainter.h"
#endif

namespace tolvex::cli {
namespace {

struct PlotOptions {
    std::string document;
    std::string out;
    std::string size = "1200x1000";  // one pixel per logical unit
    bool titleBlock = false;         // a band below the plot, the page taller by its height
    std::string style;               // empty: the document's
    std::string axes;
    std::string view;                     // empty: the main plot
    std::vector<std::string> derivative;  // --derivative [L]
};

constexpr const char* kViewNames = "residuals-time, residuals-calculated, normal, semilog, sqrt or quarter";

std::optional<plot::DiagnosticView> diagnosticView(const PlotOptions& options) {
    if (options.view.empty()) return std::nullopt;
    const auto view = plot::diagnosticViewFromName(options.view);
    if (!view) throw CliError{"plot: --view '" + options.view + "' is not " + kViewNames};
    if (options.titleBlock) throw CliError{"plot: --title-block goes with the main plot, not with --view"};
    return view;
}

// The view the picture is drawn in: the document's, with what the options ask instead.
void applyViewOptions(const PlotOptions& options, AnalysisState& state) {
    if (!options.style.empty()) {
        const auto style = plotStyleFromName(options.style);
        if (!style) throw CliError{"plot: --style '" + options.style + "' is not classic or clear"};
        state.view.style = *style;
    }
    if (!options.axes.empty()) {
        const auto axes = axesChoiceFromName(options.axes);
        if (!axes) throw CliError{"plot: --axes '" + options.axes + "' is not auto, loglog or semilog"};
        state.view.axes = *axes;
    }
    if (const auto smoothing = derivativeArgument("plot", options.derivative)) {
        state.view.derivative = true;
        const bool window = smoothing->kind == DerivativeSmoothing::Kind::MovingWindow;
        state.view.derivativeWindow = window ? smoothing->window : 0;
        if (!window) state.view.derivativeLSpacing = smoothing->lSpacing;
    }
}

struct PictureSize {
    int width = 0;
    int height = 0;
};

bool readSide(std::string_view text, int& side) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    return error == std::errc{} && end == text.data() + text.size() && side > 0;
}

PictureSize pictureSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    PictureSize size;
    if (x == std::string::npos || !readSide(std::string_view(text).substr(0, x), size.width) ||
        !readSide(std::string_view(text).substr(x + 1), size.height)) {
        throw CliError{"plot: --size '" + text + "' is not WIDTHxHEIGHT in pixels, e.g. 1200x1000"};
    }
    return size;
}

#ifdef TOLVEX_HAVE_RENDER
int writeDiagnosticView(const AnalysisState& state, plot::DiagnosticView view, const std::string& out,
                        PictureSize size) {
    plot::Scene scene;
    {
        const render::GuiSession session;  // the texts are measured with the fonts that draw them
        scene = plot::buildDiagnosticScene(state, view, render::sceneTextMeasure());
    }
    if (const auto error = render::exportScene(scene, out, size.width, size.height)) {
        throw CliError{"plot: " + oneLine(*error)};
    }
    return kExitOk;
}
#endif

int runPlot(const PlotOptions& options) {
    const PictureSize size = pictureSize(options.size);
    AnalysisState probe;
    applyViewOptions(options, probe);  // refuses a wrong name before the document is read
    const std::optional<plot::DiagnosticView> view = diagnosticView(options);
#ifdef TOLVEX_HAVE_RENDER
    if (!render::pictureFormatOf(options.out)) {
        throw CliError{"plot: '" + options.out + "' has no picture extension (.png .svg .pdf .bmp .emf)"};
    }
    AnalysisState state = openDocumentOrThrow(options.document);
    applyViewOptions(options, state);
    if (view) return writeDiagnosticView(state, *view, options.out, size);
    const render::PageOptions page{options.titleBlock, render::todayText()};
    if (const auto error = render::exportPlot(state, options.out, size.width, size.height, page)) {
        throw CliError{"plot: " + oneLine(*error)};
    }
    return kExitOk;
#else
    (void)size;
    (void)view;
    throw CliError{"plot: this build has no picture output (it was built without Qt)"};
#endif
}

}  // namespace

void addPlotCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<PlotOptions>();
    CLI::App* sub = app.add_subcommand("plot", "Picture of a document's plot (.png .svg .pdf .bmp .emf)");
    sub->add_option("document", options->document, "DOC, the document file")
        ->required()
        ->check(nonEmptyFileName());
    sub->add_option("--out", options->out, "FILE; the extension chooses the format")
        ->required()
        ->check(nonEmptyFileName());
    sub->add_option("--size", options->size, "WxH, the picture size in pixels")->capture_default_str();
    sub->add_flag("--title-block", options->titleBlock,
                  "add a title block below the plot (project, operator, well, model, parameters, RMS, "
                  "date); the picture grows taller by it");
    sub->add_option("--style", options->style,
                    "classic (the plot as always drawn) or clear (sans-serif, light grid, colour-blind-safe "
                    "palette, units in the axis titles, a legend); default: the document's");
    sub->add_option("--axes", options->axes,
                    "auto, loglog or semilog (log time, linear values); default: the document's");
    sub->add_option("--view", options->view,
                    "a diagnostic view instead of the main plot: residuals-time, residuals-calculated "
                    "(residuals of the last estimation), normal (normal probability plot of the residuals), "
                    "semilog, sqrt or quarter (drawdown against log t, sqrt t or t^1/4)");
    addDerivativeOption(*sub, options->derivative);
    sub->callback([&context, options]() { context.action = [options]() { return runPlot(*options); }; });
}

}  // namespace tolvex::cli
