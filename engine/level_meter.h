#pragma once

#include <atomic>
#include <cstdint>

namespace vorn::engine {

// A peak meter over both channels with a linear fall-back of 0.0001 per
// sample (1.0 to 0 in 10000 samples). Written by the audio thread once per
// block, read by the editor at any time: one relaxed atomic float.
class LevelMeter {
public:
    static constexpr double kFallPerSample = 0.0001;

    float level() const { return level_.load(std::memory_order_relaxed); }

    // Does nothing for frames <= 0 (the arrays are then not read).
    void update(const float* left, const float* right, int32_t frames);

    // The running value after one more frame.
    static double afterFrame(double meter, float left, float right);

protected:
    // The running value is carried in double through a block and published
    // once at its end, so the editor never sees half a block's fall-back.
    void publish(double meter) { level_.store(static_cast<float>(meter), std::memory_order_relaxed); }

private:
    std::atomic<float> level_{0.0f};
};

}  // namespace vorn::engine
