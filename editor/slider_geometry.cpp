#include "editor/slider_geometry.h"

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
    const double steps = static_cast<double>(layout::kTravel) * static_cast<double>(value);
    return layout::kThumbTopAtZero - static_cast<int>(steps);
}

}  // namespace vorn::slider
