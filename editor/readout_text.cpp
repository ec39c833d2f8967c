#include "editor/readout_text.h"

#include <cstdio>

#include "engine/bands.h"
#include "common/bands.h"

namespace vorn {

void formatGainReadout(float value, char* text, std::size_t size) {
    const double gain = engine::gainDb(value);
    // Decided on the value, not the gain, so the flat setting reads "+0.0".
    const char* format = value >= kFlatBandValue ? "Gain: +%2.1f dB" : "Gain: %2.1f dB";
    std::snprintf(text, size, format, gain);
}

}  // namespace vorn
