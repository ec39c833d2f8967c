#pragma once

// Named band settings for trying the equalizer from the command line.

#include <string>

#include "engine/band_values.h"

namespace vorn::response {

// Sets both channels of `program` to the named preset: "flat" (all 0.5),
// "zigzag" (even bands +6 dB, odd bands -6 dB) or "smile" (both ends raised,
// the middle lowered). Returns false for an unknown name.
bool applyPreset(const std::string& name, engine::BandValues& program);

}  // namespace vorn::response
