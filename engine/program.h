#pragma once

#include <atomic>
#include <cstdint>

namespace vorn {

constexpr int kBandCount = 30;
constexpr int kProgramNameSize = 32;  // 31 characters and the NUL
constexpr float kFlatBandValue = 0.5f;

// One user setting: a name and a band value (0..1, 0.5 flat) per band and
// channel. Band values are written by the editor on the user-interface thread
// and read by the engine on the audio thread, hence one relaxed atomic each.
struct Program {
    char name[kProgramNameSize] = {};
    std::atomic<float> left[kBandCount];
    std::atomic<float> right[kBandCount];

    Program() {
        for (int band = 0; band < kBandCount; ++band) {
            left[band].store(kFlatBandValue, std::memory_order_relaxed);
            right[band].store(kFlatBandValue, std::memory_order_relaxed);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
};

}  // namespace vorn
