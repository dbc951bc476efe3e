// What makes an observation series unusable: a distance or weight no well can have, measurements that
// do not pair up, a used range outside them. One check serves the document reader, the command line
// and the window, so each refuses the same series with the same words.
#pragma once

#include <optional>
#include <string>

#include "core/series/ObservationSeries.h"

namespace tolvex {

// Why the radial distance cannot be a well's distance from the pumping well (not a positive finite
// number), or nothing.
[[nodiscard]] std::optional<std::string> checkRadialDistance(double r);

// Why the weight cannot weigh squared residuals (negative or not finite), or nothing.
[[nodiscard]] std::optional<std::string> checkWeight(double weight);

// Why the series cannot stand, naming the fault, or nothing: the checks above, as many times as
// values, a time or value that is not a finite number, a used range beyond the measurements.
[[nodiscard]] std::optional<std::string> checkSeries(const ObservationSeries& series);

}  // namespace tolvex
