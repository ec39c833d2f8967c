#pragma once
// Where the sliders are and what a height means: the mapping between pointer
// rows, band values and thumb positions, and the zones the mouse tests
// against. Pure arithmetic on the layout's numbers, so paint and mouse agree.

#include "common/editor_layout.h"

namespace vorn::slider {

// A slider's zone covers its thumb's columns plus one to the right, so the
// column where a band's left and right thumbs meet belongs to both.
constexpr layout::Zone leftZone(int band) {
    return {layout::leftThumbX(band), layout::kSliderZoneTop,
            layout::leftThumbX(band) + layout::kThumbWidth, layout::kSliderZoneBottom};
}
constexpr layout::Zone rightZone(int band) {
    return {layout::rightThumbX(band), layout::kSliderZoneTop,
            layout::rightThumbX(band) + layout::kThumbWidth, layout::kSliderZoneBottom};
}
constexpr layout::Zone linkedZone(int band) {
    return {layout::leftThumbX(band), layout::kSliderZoneTop,
            layout::rightThumbX(band) + layout::kThumbWidth, layout::kSliderZoneBottom};
}

// The band value a pointer row stands for: the index line's row for that
// value, clamped to 0..1. Rows are unsigned because positions above the window
// arrive as large numbers while the mouse is captured.
float valueForRow(unsigned row);

// The row of a thumb's top edge for a band value. The product is truncated,
// not rounded, so a value stored just below a whole step sits one row lower.
int thumbTopForValue(float value);

}  // namespace vorn::slider
