#pragma once
// The read-out line shown while a slider is dragged.

#include <cstddef>

namespace vorn {

// Writes the gain that a band value stands for, with one decimal and an
// explicit plus sign from the flat setting upwards, e.g. "Gain: +6.0 dB".
void formatGainReadout(float value, char* text, std::size_t size);

}  // namespace vorn
