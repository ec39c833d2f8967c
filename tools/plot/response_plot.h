#pragma once
// The picture of a measured frequency response: frequency on a log axis from
// 20 Hz to 20 kHz, gain from -15 to +15 dB, the left and right channels as two
// coloured curves over a grid of decades, band centres and 3 dB steps.

#include <string>
#include <vector>

#include "common/image.h"
#include "tools/response/response_measure.h"

namespace vorn::plot {

constexpr int kPlotWidth = 760;
constexpr int kPlotHeight = 400;

// `curve` is drawn as lines through its points; `markers` (e.g. the band
// centres) as small squares on the curves. Points that could not be
// measured (NaN) break the line.
raster::Image drawResponsePlot(const std::vector<response::ResponsePoint>& curve,
                                  const std::vector<response::ResponsePoint>& markers,
                                  const std::string& title);

}  // namespace vorn::plot
