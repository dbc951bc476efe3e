// tolvex-cli plot DOC --out FILE [--size WxH] [--style classic|clear] [--axes auto|loglog|semilog]: a
// picture of the document's plot. The format follows the extension of FILE: .png, .svg, .pdf, .bmp (8 bits
// per pixel) or .emf (enhanced metafile). Without --style or --axes the document's own view is drawn.
#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>
#include <string>

#include "cli/Cli.h"
#include "cli/CliState.h"
#ifdef TOLVEX_HAVE_RENDER
#include "render/PlotExport.h"
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
};

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

int runPlot(const PlotOptions& options) {
    const PictureSize size = pictureSize(options.size);
    AnalysisState probe;
    applyViewOptions(options, probe);  // refuses a wrong name before the document is read
#ifdef TOLVEX_HAVE_RENDER
    if (!render::pictureFormatOf(options.out)) {
        throw CliError{"plot: '" + options.out + "' has no picture extension (.png .svg .pdf .bmp .emf)"};
    }
    AnalysisState state = openDocumentOrThrow(options.document);
    applyViewOptions(options, state);
    const render::PageOptions page{options.titleBlock, render::todayText()};
    if (const auto error = render::exportPlot(state, options.out, size.width, size.height, page)) {
        throw CliError{"plot: " + oneLine(*error)};
    }
    return kExitOk;
#else
    (void)size;
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
    sub->callback([&context, options]() { context.action = [options]() { return runPlot(*options); }; });
}

}  // namespace tolvex::cli
