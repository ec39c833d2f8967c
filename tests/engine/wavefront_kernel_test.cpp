// The vector kernels on their own, against the plain filter step, with
// operands no designed filter holds: coefficients and histories from zero and
// float's smallest subnormal to its largest value, values whose sums fall on
// rounding ties, infinities and NaN. This is where a fused multiply-add that
// rounded differently from the plain engine's separate addition would show.

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bits.h"
#include "engine/band_filter.h"
#include "engine/equalizer_engine.h"
#include "engine/fast/simd_level.h"
#include "engine/fast/wavefront_kernels.h"
#include "engine/fast/wavefront_state.h"

namespace vorn::engine {
namespace {

using testing::bitsOf;
using testing::sameSample;

// Thirty bands of two channels, as the plain engine would hold them.
struct Cascade {
    BandFilter filters[kBandCount][2];
};

// Floats that make arithmetic interesting: signed zeros, the ends of the
// float range, powers of two that put a sum exactly between two doubles or
// two floats, and ordinary values.
float hostileFloat(std::mt19937& random) {
    static const float palette[] = {0.0f,
                                    -0.0f,
                                    1.0f,
                                    -1.0f,
                                    0.5f,
                                    -2.0f,
                                    FLT_MAX,
                                    -FLT_MAX,
                                    FLT_MIN,
                                    std::numeric_limits<float>::denorm_min(),
                                    -1e-40f,
                                    0x1p-24f,
                                    0x1p-53f,
                                    1.0f + 0x1p-23f,
                                    -(1.0f + 0x1p-22f),
                                    0x1.fffffep-1f,
                                    3.0e38f,
                                    1e10f,
                                    std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity(),
                                    std::numeric_limits<float>::quiet_NaN()};
    const int pick = static_cast<int>(random() % 40);
    if (pick < static_cast<int>(std::size(palette))) return palette[pick];
    // Otherwise any finite float: random bits, NaN and infinity excluded.
    for (;;) {
        const uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) return value;
    }
}

// Terms of very different sizes that cancel (1e9 - 1e9 + 2^-30): the sum
// then depends on the order of its terms, so a kernel that added them in
// another order shows. Coefficients of magnitude one keep the sums within
// the usable history, where they are compared.
float cancellingFloat(std::mt19937& random, bool coefficient) {
    static const float coefficients[] = {1.0f, -1.0f};
    static const float values[] = {1e9f, -1e9f, 0x1p-30f};
    return coefficient ? coefficients[random() % std::size(coefficients)]
                       : values[random() % std::size(values)];
}

enum class Operands { ordinary, hostile, cancelling };

float someFloat(std::mt19937& random, Operands kind, bool coefficient = false) {
    switch (kind) {
    case Operands::hostile: return hostileFloat(random);
    case Operands::cancelling: return cancellingFloat(random, coefficient);
    case Operands::ordinary: break;
    }
    return std::uniform_real_distribution<float>(-1.5f, 1.5f)(random);
}

// Filters of the family asked for; among hostile ones some ordinary ones, so
// that long stretches stay finite.
Cascade randomCascade(std::mt19937& random, Operands family, bool chained) {
    Cascade cascade;
    for (int band = 0; band < kBandCount; ++band) {
        for (int channel = 0; channel < 2; ++channel) {
            BandFilter& f = cascade.filters[band][channel];
            const Operands kind =
                family == Operands::cancelling || random() % 3 != 0 ? family : Operands::ordinary;
            f.b0 = someFloat(random, kind, true);
            f.b1 = someFloat(random, kind, true);
            f.b2 = someFloat(random, kind, true);
            f.a1 = someFloat(random, kind, true);
            f.a2 = someFloat(random, kind, true);
            f.x1 = someFloat(random, kind);
            f.x2 = someFloat(random, kind);
            f.y1 = someFloat(random, kind);
            f.y2 = someFloat(random, kind);
            // As after every block: each band's input history is the output
            // history of the band before it.
            if (chained && band > 0) {
                f.x1 = cascade.filters[band - 1][channel].y1;
                f.x2 = cascade.filters[band - 1][channel].y2;
            }
        }
    }
    return cascade;
}

// The cascade in a kernel's lanes.
WavefrontState stateOf(const Cascade& cascade, const LaneLayout& layout) {
    WavefrontState state;
    clearLanes(state, layout);
    for (int band = 0; band < kBandCount; ++band)
        for (int channel = 0; channel < 2; ++channel)
            placeFilter(state, layout, band, channel, cascade.filters[band][channel]);
    return state;
}

// What the plain engine does with a block once the designs are done.
void runPlain(Cascade& cascade, std::vector<float>& left, std::vector<float>& right) {
    const int frames = static_cast<int>(left.size());
    for (int band = 0; band < kBandCount; ++band) {
        filterBand(cascade.filters[band][0], cascade.filters[band][1], left.data(), right.data(),
                   frames);
        cascade.filters[band][0].discardUnusableHistory();
        cascade.filters[band][1].discardUnusableHistory();
    }
}

std::vector<SimdLevel> offeredLevels() {
    std::vector<SimdLevel> levels;
    for (SimdLevel level : {SimdLevel::sse2, SimdLevel::avx2, SimdLevel::avx512})
        if (simdLevelSupported(level)) levels.push_back(level);
    return levels;
}

class WavefrontKernel : public ::testing::TestWithParam<SimdLevel> {
protected:
    // Runs one block of samples of the family through the kernel and the
    // plain steps, from the same cascade, and reports the first difference.
    ::testing::AssertionResult sameBlock(const Cascade& start, Operands family, int frames) {
        std::vector<float> left(frames), right(frames);
        for (int k = 0; k < frames; ++k) {
            const Operands kind =
                family == Operands::cancelling || random() % 4 == 0 ? family : Operands::ordinary;
            left[k] = someFloat(random, kind);
            right[k] = someFloat(random, kind);
        }
        return sameBlock(start, left, right);
    }

    ::testing::AssertionResult sameBlock(const Cascade& start, std::vector<float> left,
                                         std::vector<float> right) {
        const LaneLayout layout = LaneLayout::forLanes(wavefront::lanesFor(GetParam()));
        const int frames = static_cast<int>(left.size());
        std::vector<float> kernelLeft = left, kernelRight = right;
        Cascade plain = start;
        runPlain(plain, left, right);
        WavefrontState state = stateOf(start, layout);
        wavefront::kernelFor(GetParam())(state, kernelLeft.data(), kernelRight.data(), frames,
                                         false);

        for (int k = 0; k < frames; ++k) {
            if (!sameSample(left[k], kernelLeft[k]) || !sameSample(right[k], kernelRight[k]))
                return ::testing::AssertionFailure()
                       << frames << " frames, frame " << k << ": plain " << left[k] << "/"
                       << right[k] << ", kernel " << kernelLeft[k] << "/" << kernelRight[k];
        }
        for (int band = 0; band < kBandCount; ++band) {
            for (int channel = 0; channel < 2; ++channel) {
                const BandFilter& f = plain.filters[band][channel];
                const int lane = layout.laneOf(band, channel);
                const float held[] = {static_cast<float>(state.x1[lane]), static_cast<float>(state.x2[lane]),
                                      static_cast<float>(state.y1[lane]), static_cast<float>(state.y2[lane])};
                const float expected[] = {f.x1, f.x2, f.y1, f.y2};
                for (int h = 0; h < 4; ++h) {
                    if (bitsOf(held[h]) != bitsOf(expected[h]))
                        return ::testing::AssertionFailure()
                               << frames << " frames: band " << band << " channel " << channel
                               << " history " << h << ": plain " << expected[h] << ", kernel "
                               << held[h];
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::mt19937 random{20270114};
};

TEST_P(WavefrontKernel, HostileOperandsGiveThePlainStepsBits) {
    for (Operands family : {Operands::hostile, Operands::cancelling}) {
        for (int trial = 0; trial < 60; ++trial) {
            const bool chained = trial % 2 == 0;  // the usual path, then the careful one
            const Cascade cascade = randomCascade(random, family, chained);
            for (int frames : {1, 2, 7, 31, 32, 64, 301})
                ASSERT_TRUE(sameBlock(cascade, family, frames))
                    << (family == Operands::hostile ? "hostile" : "cancelling") << " trial "
                    << trial << (chained ? ", chained" : ", not chained");
        }
    }
}

// One unusable value among a band's four history values, while its outputs
// are usable: the kernels must find it wherever it sits. A band that delays
// its input by one or two samples puts a huge input sample into its own y2
// (and the next band's x2) or y1 alone; a band that outputs nothing leaves a
// NaN in its input history only.
TEST_P(WavefrontKernel, AHistoryWithOneUnusableValueRestarts) {
    BandFilter silent;  // all zero: outputs nothing, keeps its inputs
    BandFilter oneLate = silent, twoLate = silent;
    oneLate.b1 = 1.0f;
    twoLate.b2 = 1.0f;
    struct Case {
        const char* what;
        BandFilter firstBand;
        int unusableFrame;  // counted back from the block's end
        float unusable;
    };
    const Case cases[] = {{"y2, and the next band's x2", oneLate, 3, 1e12f},
                          {"y1 and y2 of a band two samples late", twoLate, 3, 1e12f},
                          {"x1 of the first band", silent, 1, std::numeric_limits<float>::quiet_NaN()},
                          {"x2 of the first band", silent, 2, 1e12f}};
    for (const Case& c : cases) {
        Cascade cascade;
        for (int band = 0; band < kBandCount; ++band)
            for (int channel = 0; channel < 2; ++channel)
                cascade.filters[band][channel] = band == 0 ? c.firstBand : silent;
        for (int frames : {31, 32, 40, 63, 64, 100, 3}) {
            std::vector<float> left(frames, 0.25f), right(frames, -0.5f);
            left[frames - c.unusableFrame] = c.unusable;
            ASSERT_TRUE(sameBlock(cascade, left, right)) << c.what << ", " << frames << " frames";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachOfferedLevel, WavefrontKernel, ::testing::ValuesIn(offeredLevels()),
                         [](const ::testing::TestParamInfo<SimdLevel>& info) {
                             std::string name = simdLevelName(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

}  // namespace
}  // namespace vorn::engine
