#include "engine/level_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace vorn::engine {
namespace {

void feed(LevelMeter& meter, const std::vector<float>& left, const std::vector<float>& right,
          int blockSize) {
    const int frames = static_cast<int>(left.size());
    for (int start = 0; start < frames; start += blockSize) {
        meter.update(left.data() + start, right.data() + start, std::min(blockSize, frames - start));
    }
}

void feedSilence(LevelMeter& meter, int frames, int blockSize) {
    const std::vector<float> silence(frames, 0.0f);
    feed(meter, silence, silence, blockSize);
}

TEST(LevelMeter, FullScaleOnEitherChannelReadsJustBelowOne) {
    const std::vector<float> fullScale(256, 1.0f);
    const std::vector<float> silence(256, 0.0f);
    LevelMeter leftOnly;
    feed(leftOnly, fullScale, silence, 256);
    EXPECT_FLOAT_EQ(leftOnly.level(), 0.9999f);
    LevelMeter rightOnly;
    feed(rightOnly, silence, std::vector<float>(256, -1.0f), 64);
    EXPECT_FLOAT_EQ(rightOnly.level(), 0.9999f);
}

TEST(LevelMeter, FallsLinearlyToExactlyZero) {
    for (int blockSize : {1, 64, 512, 10001}) {
        SCOPED_TRACE(blockSize);
        LevelMeter meter;
        const std::vector<float> fullScale(512, 1.0f);
        feed(meter, fullScale, fullScale, 512);
        feedSilence(meter, 5000, blockSize);
        // Each block end rounds the running value to float; with one-sample
        // blocks those roundings add up to a visible drift.
        EXPECT_NEAR(meter.level(), 0.4999f, blockSize == 1 ? 2e-4 : 1e-5);
        feedSilence(meter, 5001, blockSize);
        EXPECT_EQ(meter.level(), 0.0f);
        feedSilence(meter, 1000, blockSize);
        EXPECT_EQ(meter.level(), 0.0f);
    }
}

TEST(LevelMeter, NonFiniteSamplesNeverRaiseIt) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    LevelMeter meter;
    const std::vector<float> half(100, 0.5f);
    feed(meter, half, half, 100);
    const float before = meter.level();
    const std::vector<float> bad = {nan, inf, -inf, nan};
    const std::vector<float> quiet = {0.1f, -inf, nan, 0.2f};
    feed(meter, bad, quiet, 4);
    EXPECT_TRUE(std::isfinite(meter.level()));
    EXPECT_NEAR(meter.level(), before - 4 * 0.0001, 1e-6);
}

TEST(LevelMeter, EmptyOrNegativeBlocksChangeNothing) {
    LevelMeter meter;
    const std::vector<float> half(10, 0.5f);
    feed(meter, half, half, 10);
    const float before = meter.level();
    meter.update(nullptr, nullptr, 0);
    meter.update(nullptr, nullptr, -7);
    EXPECT_EQ(meter.level(), before);
}

}  // namespace
}  // namespace vorn::engine
