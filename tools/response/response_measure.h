#pragma once

// Frequency response of a program, measured by running sines through the
// real engine rather than evaluated from the filter formulas, so that it shows
// what a listener gets: float rounding, band interaction, the fallbacks.

#include <vector>

#include "engine/band_values.h"

namespace vorn::response {

struct ResponsePoint {
    double hz;
    double leftDb;   // NaN where the frequency cannot be measured (not below half the rate)
    double rightDb;
};

std::vector<ResponsePoint> measureResponse(const engine::BandValues& program, double sampleRate,
                                           const std::vector<double>& frequencies);

// Log-spaced frequencies from `lowHz` up to `highHz` inclusive.
std::vector<double> logSweep(double lowHz, double highHz, int pointsPerOctave);

// The thirty band centres, band 0 first.
std::vector<double> bandCentres();

}  // namespace vorn::response
