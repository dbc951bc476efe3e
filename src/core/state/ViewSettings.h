// How the plot looks: the plot style and the choice of axes, kept in the document's extension block, and
// the size and style of the plot font, which belong to the view like its face and are never saved.
#pragma once

#include <optional>
#include <string_view>

namespace tolvex {

// Classic: the plot as the program always drew it (the default, for pictures that print as before).
// Clear: sans-serif labels, a lighter grid, a colour-blind-safe palette, a marker shape per series, axis
// titles with units, a legend of every series, and axis ranges exactly as the Plotting Options ask.
enum class PlotStyle { Classic, Clear };

// Auto: in the classic style the axis types of the Plotting Options; in the clear style semi-log (log
// time, linear values) for slug tests and Jacob's straight line, log-log elsewhere. LogLog and SemiLog
// hold in either style.
enum class AxesChoice { Auto, LogLog, SemiLog };

// The smoothing a derivative starts with: 0.2 log cycles, the usual compromise between noise and
// distortion (Bourdet, Ayoub and Pirard 1989).
inline constexpr double kDefaultDerivativeLSpacing = 0.2;

struct ViewSettings {
    PlotStyle style = PlotStyle::Classic;
    AxesChoice axes = AxesChoice::Auto;
    // The Font dialog's size and style, used by the clear style; 0 points: the plot's own size.
    int fontPoints = 0;
    bool fontBold = false;
    bool fontItalic = false;
    // The logarithmic derivative on the data plot, smoothed by Bourdet's L-spacing (log10 cycles) or,
    // with derivativeWindow >= 3 points, by Spane and Wurstner's moving window.
    bool derivative = false;
    double derivativeLSpacing = kDefaultDerivativeLSpacing;
    int derivativeWindow = 0;

    [[nodiscard]] bool classic() const {
        return style == PlotStyle::Classic && axes == AxesChoice::Auto && !derivative &&
               derivativeLSpacing == kDefaultDerivativeLSpacing && derivativeWindow == 0;
    }
    friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

// The names the command line and the extension block use.
[[nodiscard]] constexpr std::string_view plotStyleName(PlotStyle style) {
    return style == PlotStyle::Clear ? "clear" : "classic";
}
[[nodiscard]] constexpr std::string_view axesChoiceName(AxesChoice axes) {
    switch (axes) {
        case AxesChoice::LogLog:
            return "loglog";
        case AxesChoice::SemiLog:
            return "semilog";
        default:
            return "auto";
    }
}
[[nodiscard]] constexpr std::optional<PlotStyle> plotStyleFromName(std::string_view name) {
    if (name == "classic") return PlotStyle::Classic;
    if (name == "clear") return PlotStyle::Clear;
    return std::nullopt;
}
[[nodiscard]] constexpr std::optional<AxesChoice> axesChoiceFromName(std::string_view name) {
    if (name == "auto") return AxesChoice::Auto;
    if (name == "loglog") return AxesChoice::LogLog;
    if (name == "semilog") return AxesChoice::SemiLog;
    return std::nullopt;
}

}  // namespace tolvex
