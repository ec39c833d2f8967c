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

void LevelMeter::update(const float* left, const float* right, int32_t frames) {
    if (frames <= 0) {
        return;
    }
    // Carried in double through the block and published once at its end, so
    // the editor never sees half a block's fall-back.
    double meter = level_.load(std::memory_order_relaxed);
    for (int32_t k = 0; k < frames; ++k) {
        const double leftMagnitude = std::fabs(left[k]);
        if (raises(leftMagnitude, meter)) {
            meter = leftMagnitude;
        }
        const double rightMagnitude = std::fabs(right[k]);
        if (raises(rightMagnitude, meter)) {
            meter = rightMagnitude;
        }
        // The fall-back acts in the very sample that set the peak, so a steady
        // peak p reads p - 0.0001; a value that dips below zero is replaced by
        // the next sample's magnitude.
        if (meter > 0.0) {
            meter -= kFallPerSample;
        }
    }
    level_.store(static_cast<float>(meter), std::memory_order_relaxed);
}

}  // namespace vorn::engine
