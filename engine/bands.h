#pragma once

#include "common/bands.h"

namespace vorn::engine {

// Centre frequency of each band in hertz, band 0 first. A few entries are
// deliberately off the nominal third-octave series (31, 62, 320, 640, 1300,
// 6200, 13000); they are part of the product's sound and must stay as listed.
// The frequencies are absolute: they do not follow the sample rate.
extern const double bandCentreHz[kBandCount];

// Every band is one third of an octave wide, on both channels.
constexpr double bandwidthOctaves = 1.0 / 3.0;

constexpr double kMinGainDb = -12.0;
constexpr double kGainRangeDb = 24.0;  // band value 0 -> -12 dB, 1 -> +12 dB

// The gain law, linear in decibels. The value is not clamped: the editor keeps
// it in 0..1, and a stray value only produces an unusual (still sane) design.
inline double gainDb(float bandValue) {
    return kMinGainDb + kGainRangeDb * static_cast<double>(bandValue);
}

}  // namespace vorn::engine
