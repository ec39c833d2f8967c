#include "editor/slider_geometry.h"

#include <algorithm>
#include <cmath>

namespace vorn::slider {

float valueForRow(unsigned row) {
    constexpr double kValuePerRow = 1.0 / layout::kTravel;
    double value = (static_cast<double>(layout::kZeroRow) - static_cast<double>(row)) * kValuePerRow;
    if (value < 0.0)
        value = 0.0;
    else if (value > 1.0)
        value = 1.0;
    return static_cast<float>(value);
}

int thumbTopForValue(float value) {
    double steps = static_cast<double>(layout::kTravel) * static_cast<double>(value);
    // The editor only ever stores 0..1, but the conversion to int below must
    // stay defined for anything: a value that is not a number is drawn where
    // the engine plays it, flat, and a far-off one just outside the window,
    // where it would have been invisible anyway.
    if (std::isnan(steps)) steps = layout::kTravel * static_cast<double>(kFlatBandValue);
    steps = std::clamp(steps, -static_cast<double>(layout::kHeight),
                       static_cast<double>(layout::kHeight));
    return layout::kThumbTopAtZero - static_cast<int>(steps);
}

}  // namespace vorn::slider
