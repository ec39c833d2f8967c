#pragma once

#include <atomic>

#include "common/bands.h"

namespace vorn::engine {

// One band value (0..1, 0.5 flat) per band and channel. The editor writes
// them on the user-interface thread and the engine reads them on the audio
// thread, hence one relaxed atomic each.
struct BandValues {
    std::atomic<float> left[kBandCount];
    std::atomic<float> right[kBandCount];

    BandValues() {
        for (int band = 0; band < kBandCount; ++band) {
            left[band].store(kFlatBandValue, std::memory_order_relaxed);
            right[band].store(kFlatBandValue, std::memory_order_relaxed);
        }
    }
    BandValues(const BandValues&) = delete;
    BandValues& operator=(const BandValues&) = delete;
};

}  // namespace vorn::engine
