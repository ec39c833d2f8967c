#include "engine/band_filter.h"

#include <cmath>

namespace vorn::engine {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kLn2 = 0.6931471805599453;  // the double nearest ln 2

// The triangle of stable second-order denominators 1 + a1 z^-1 + a2 z^-2,
// checked on the rounded values that will actually run.
bool polesInsideUnitCircle(float a1, float a2) {
    const double da1 = a1;
    const double da2 = a2;
    return std::fabs(da2) < 1.0 && std::fabs(da1) < 1.0 + da2;
}

}  // namespace

BandShape bandShape(double centreHz, double sampleRate, double bandwidthOctaves) {
    BandShape shape;
    if (sampleRate > 0.0 && std::isfinite(sampleRate)) {
        const double w0 = (kTwoPi * centreHz) / sampleRate;
        const double sn = std::sin(w0);
        shape.cs = std::cos(w0);
        // w0 / sn compensates the warping of the digital frequency axis; at a
        // multiple of half the sample rate sn is ~0 and sinh overflows.
        shape.alpha = sn * std::sinh(((kLn2 * 0.5) * bandwidthOctaves * w0) / sn);
        shape.usable = true;
    }
    return shape;
}

void BandFilter::design(const BandShape& shape, double gainDb) {
    if (shape.usable) {
        const double amplitude = std::pow(10.0, 0.025 * gainDb);
        const double alpha = shape.alpha;
        const double a0 = 1.0 + alpha / amplitude;

        const float newB0 = static_cast<float>((1.0 + alpha * amplitude) / a0);
        const float newB1 = static_cast<float>(-2.0 * shape.cs / a0);
        const float newB2 = static_cast<float>((1.0 - alpha * amplitude) / a0);
        const float newA1 = newB1;
        const float newA2 = static_cast<float>((1.0 - alpha / amplitude) / a0);

        if (std::isfinite(newB0) && std::isfinite(newB1) && std::isfinite(newB2) &&
            polesInsideUnitCircle(newA1, newA2)) {
            b0 = newB0;
            b1 = newB1;
            b2 = newB2;
            a1 = newA1;
            a2 = newA2;
            return;
        }
    }
    b0 = 1.0f;
    b1 = b2 = a1 = a2 = 0.0f;
}

}  // namespace vorn::engine
