// The fast meter against the plain one: the same reading, bit for bit,
// after every block, on signals chosen to cross the places where its
// shortcut does not hold (binade edges, the fall to zero and below, samples
// that are not real) as well as plain noise; at each instruction set this
// processor offers.

#include "engine/fast/fast_level_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "bits.h"
#include "levels.h"

namespace vorn::engine {
namespace {

using testing::bitsOf;
using testing::levelName;
using testing::offeredLevels;

class Meters {
public:
    explicit Meters(SimdLevel level) : fast(level) {}

    ::testing::AssertionResult block(const std::vector<float>& left, const std::vector<float>& right) {
        const int frames = static_cast<int>(left.size());
        plain.update(left.data(), right.data(), frames);
        fast.update(left.data(), right.data(), frames);
        ++blocks;
        if (bitsOf(plain.level()) == bitsOf(fast.level())) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "block " << blocks << " (" << frames << " frames): plain "
                                             << plain.level() << ", fast " << fast.level();
    }

    LevelMeter plain;
    FastLevelMeter fast;
    int blocks = 0;
};

// Samples from one of several families, changing every few hundred.
class Source {
public:
    std::vector<float> next(int frames) {
        std::vector<float> samples(frames);
        for (float& sample : samples) {
            if (--left_ <= 0) {
                family_ = static_cast<int>(random_() % 8);
                left_ = 1 + static_cast<int>(random_() % 700);
                amplitude_ = std::ldexp(1.0f, static_cast<int>(random_() % 12) - 10);
            }
            sample = draw();
        }
        return samples;
    }

private:
    float draw() {
        std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
        switch (family_) {
        case 0: return 0.0f;                       // silence: long falls
        case 1: return amplitude_ * unit(random_);  // noise of some size
        case 2: {                                   // just around a power of two
            const float edge = amplitude_ * (random_() % 2 ? 1.0f : -1.0f);
            const int step = static_cast<int>(random_() % 5) - 2;
            return step < 0 ? std::nextafter(edge, 0.0f) : step > 0 ? std::nextafter(edge, 2 * edge) : edge;
        }
        case 3: {                                   // what no meter may show
            const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::max(), 1e30f,
                                 std::numeric_limits<float>::denorm_min()};
            return odd[random_() % 6];
        }
        case 4: return random_() % 50 == 0 ? amplitude_ : 0.0f;  // sparse peaks
        case 5: return 0.0001f * static_cast<float>(random_() % 40);  // around the fall itself
        default: return amplitude_ * unit(random_) * unit(random_);
        }
    }

    std::mt19937 random_{20261208};
    int family_ = 0;
    int left_ = 0;
    float amplitude_ = 1.0f;
};

class FastMeter : public ::testing::TestWithParam<SimdLevel> {
protected:
    const BlockPasses& passes = blockPassesFor(GetParam());
};

TEST_P(FastMeter, ReadsAsThePlainMeterAfterEveryBlock) {
    Source leftSource, rightSource;
    std::mt19937 sizes(7);
    // A loud sample holds the meter up for a long time, so the meters start
    // afresh now and then.
    for (int session = 0; session < 100; ++session) {
        Meters meters(GetParam());
        for (int round = 0; round < 200; ++round) {
            const int frames = round % 5 == 0 ? 1 + static_cast<int>(sizes() % 20)
                                              : 1 + static_cast<int>(sizes() % 600);
            ASSERT_TRUE(meters.block(leftSource.next(frames), rightSource.next(frames)))
                << "session " << session;
        }
    }
}

// The running value itself, which the published float would round away:
// from meters at and around the edges of binades, with samples around the
// meter and around the next binade's edge.
TEST_P(FastMeter, AChunkEndsOnTheSameRunningValueAsFrameByFrame) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr int kChunk = kMeterChunk;
    for (int round = 0; round < 200000; ++round) {
        const double low = std::ldexp(1.0, static_cast<int>(random() % 24) - 14);
        double meter;
        const double fall = 1.5 * low - (1.5 * low - LevelMeter::kFallPerSample);  // in this binade
        switch (random() % 4) {
        case 0: meter = low * (1.0 + unit(random)); break;
        case 1: meter = low + (random() % 40) * 0.0001 * unit(random); break;  // just above the edge
        case 2: meter = low + (kChunk - 1 + random() % 3) * fall; break;      // falls onto the edge
        default: meter = std::nextafter(2 * low, 0.0) - (random() % 1000) * std::ldexp(low, -52);
        }
        float left[kChunk], right[kChunk];
        const bool quiet = random() % 4 == 0;  // the falls alone decide
        for (int k = 0; k < kChunk; ++k) {
            for (float* sample : {&left[k], &right[k]}) {
                switch (quiet ? 5 : random() % 6) {
                case 0: *sample = static_cast<float>(meter * (0.99 + 0.02 * unit(random))); break;
                case 1: *sample = std::nextafter(static_cast<float>(2 * low), random() % 2 ? 0.0f : 1e38f); break;
                case 2: *sample = -static_cast<float>(meter - (random() % 20) * 0.0001); break;
                case 3: *sample = random() % 8 ? std::numeric_limits<float>::quiet_NaN()
                                               : std::numeric_limits<float>::infinity();
                    break;
                default: *sample = static_cast<float>(low * unit(random));
                }
            }
        }
        double expected = meter;
        for (int k = 0; k < kChunk; ++k) expected = LevelMeter::afterFrame(expected, left[k], right[k]);
        const double actual = passes.meterFrames(meter, left, right, kChunk);
        ASSERT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0)
            << "round " << round << ": from " << meter << ", " << expected << " against " << actual;
    }
}

// Quiet chunks, decided by their last frame: silence with and without the
// guard offsets, tiny noise, a lone NaN or a sample just too loud among them,
// from meters around zero and just below one fall-back.
TEST_P(FastMeter, AQuietChunkEndsOnTheSameRunningValueAsFrameByFrame) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr int kChunk = kMeterChunk;
    const double fall = LevelMeter::kFallPerSample;
    for (int round = 0; round < 100000; ++round) {
        double meter;
        switch (random() % 5) {
        case 0: meter = 0.0; break;
        case 1: meter = -fall * unit(random); break;
        case 2: meter = fall * unit(random); break;
        case 3: meter = std::nextafter(fall, 0.0); break;
        default: meter = fall * (1.0 + unit(random));  // not quiet: the other paths
        }
        float left[kChunk], right[kChunk];
        const int kind = static_cast<int>(random() % 4);
        for (int k = 0; k < kChunk; ++k) {
            for (float* sample : {&left[k], &right[k]}) {
                switch (kind) {
                case 0: *sample = 0.0f; break;
                case 1: *sample = k % 2 ? -1e-25f : 1e-25f; break;
                default: *sample = static_cast<float>(2e-4 * (unit(random) - 0.5)); break;
                }
            }
        }
        if (kind == 3) {  // one odd sample somewhere
            float* where = (random() % 2 ? left : right) + random() % kChunk;
            *where = random() % 2 ? std::numeric_limits<float>::quiet_NaN() : 0x1p-14f;
        }
        if (random() % 3 == 0) left[kChunk - 1] = right[kChunk - 1] = 0.0f;
        double expected = meter;
        for (int k = 0; k < kChunk; ++k) expected = LevelMeter::afterFrame(expected, left[k], right[k]);
        const double actual = passes.meterFrames(meter, left, right, kChunk);
        ASSERT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0)
            << "round " << round << ": from " << meter << ", " << expected << " against " << actual;
    }
}

// A peak and then the whole fall through every binade to zero and below,
// in chunk-sized and odd blocks.
TEST_P(FastMeter, FallsAsThePlainMeterThroughEveryBinade) {
    for (float peak : {1.0f, 0.75f, 2.0f, 1e6f, std::numeric_limits<float>::max()}) {
        for (int blockSize : {16, 17, 64, 4096}) {
            Meters meters(GetParam());
            ASSERT_TRUE(meters.block({peak}, {0.0f}));
            const std::vector<float> silence(blockSize, 0.0f);
            for (int block = 0; block < 12000 / blockSize + 2; ++block)
                ASSERT_TRUE(meters.block(silence, silence)) << peak << " in blocks of " << blockSize;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachOfferedLevel, FastMeter, ::testing::ValuesIn(offeredLevels()), levelName);

}  // namespace
}  // namespace vorn::engine
