#include "engine/level_meter.h"

#include <cmath>
#include <limits>

namespace vorn::engine {

namespace {

constexpr double kLargestFinite = std::numeric_limits<float>::max();

// Strictly louder than the meter, and a real sample: NaN fails the comparison
// by itself, infinity is refused explicitly so that one bad sample cannot pin
// the bar at the top for good.
bool raises(double magnitude, double meter) {
    return magnitude > meter && magnitude <= kLargestFinite;
}

}  // namespace

double LevelMeter::afterFrame(double meter, float left, float right) {
    const double leftMagnitude = std::fabs(left);
    if (raises(leftMagnitude, meter)) {
        meter = leftMagnitude;
    }
    const double rightMagnitude = std::fabs(right);
    if (raises(rightMagnitude, meter)) {
        meter = rightMagnitude;
    }
    // The fall-back acts in the very sample that set the peak, so a steady
    // peak p reads p - 0.0001; a value that dips below zero is replaced by
    // the next sample's magnitude.
    if (meter > 0.0) {
        meter -= kFallPerSample;
    }
    return meter;
}

void LevelMeter::update(const float* left, const float* right, int32_t frames) {
    if (frames <= 0) {
        return;
    }
    double meter = level();
    for (int32_t k = 0; k < frames; ++k) {
        meter = afterFrame(meter, left[k], right[k]);
    }
    publish(meter);
}

}  // namespace vorn::engine
