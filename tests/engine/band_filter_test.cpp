#include "engine/band_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

#include "engine/bands.h"
#include "signals.h"

namespace vorn::engine {
namespace {

using testing::noise;

struct Coefficients {
    double b0, b1, b2, a2;
};

void expectCoefficients(const BandFilter& f, const Coefficients& expected) {
    EXPECT_NEAR(f.b0, expected.b0, 1e-6 * std::fabs(expected.b0));
    EXPECT_NEAR(f.b1, expected.b1, 1e-6 * std::fabs(expected.b1));
    EXPECT_EQ(f.a1, f.b1);
    EXPECT_NEAR(f.b2, expected.b2, 1e-6 * std::fabs(expected.b2));
    EXPECT_NEAR(f.a2, expected.a2, 1e-6 * std::fabs(expected.a2));
}

TEST(BandFilterDesign, MatchesWorkedValues) {
    BandFilter f;
    f.design(1000.0, 44100.0, bandwidthOctaves, +12.0);
    expectCoefficients(f, {1.024445, -1.963501, 0.9591554, 0.9836001});
    f.design(1000.0, 44100.0, bandwidthOctaves, 0.0);
    expectCoefficients(f, {1.0, -1.947607, 0.9675428, 0.9675428});
    EXPECT_EQ(f.b0, 1.0f);
    EXPECT_EQ(f.b2, f.a2);
    f.design(1000.0, 44100.0, bandwidthOctaves, -12.0);
    expectCoefficients(f, {0.9761386, -1.916649, 0.9601300, 0.9362686});
    f.design(25.0, 44100.0, bandwidthOctaves, +12.0);
    expectCoefficients(f, {1.000616, -1.999574, 0.9989707, 0.9995867});
}

TEST(BandFilterDesign, NeverTouchesHistory) {
    BandFilter f;
    f.y1 = 0.5f;
    f.y2 = -0.25f;
    f.x1 = 0.125f;
    f.x2 = std::numeric_limits<float>::quiet_NaN();
    f.design(1000.0, 48000.0, bandwidthOctaves, 6.0);
    f.design(16000.0, 32000.0, bandwidthOctaves, 6.0);
    EXPECT_EQ(f.y1, 0.5f);
    EXPECT_EQ(f.y2, -0.25f);
    EXPECT_EQ(f.x1, 0.125f);
    EXPECT_TRUE(std::isnan(f.x2));
}

bool isIdentity(const BandFilter& f) {
    return f.b0 == 1.0f && f.b1 == 0.0f && f.b2 == 0.0f && f.a1 == 0.0f && f.a2 == 0.0f;
}

TEST(BandFilterDesign, UnusableDesignsBecomeTheIdentity) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double centreHz, sampleRate, gainDb;
    };
    const Case cases[] = {
        {16000.0, 32000.0, 12.0}, {20000.0, 40000.0, -12.0}, {8000.0, 16000.0, 12.0},
        {4000.0, 8000.0, 12.0},   {16000.0, 8000.0, 12.0},   {1000.0, 0.0, 12.0},
        {1000.0, -44100.0, 12.0}, {1000.0, nan, 12.0},       {1000.0, inf, 12.0},
        {1000.0, 44100.0, nan},   {1000.0, 44100.0, 1e6},
    };
    for (const Case& c : cases) {
        BandFilter f;
        f.design(1000.0, 44100.0, bandwidthOctaves, 12.0);  // a normal filter first
        f.design(c.centreHz, c.sampleRate, bandwidthOctaves, c.gainDb);
        EXPECT_TRUE(isIdentity(f)) << c.centreHz << " Hz at " << c.sampleRate << " Hz, "
                                   << c.gainDb << " dB";
    }
}

// Largest pole magnitude of 1 + a1 z^-1 + a2 z^-2, from the roots themselves.
double largestPoleRadius(const BandFilter& f) {
    const std::complex<double> a1 = f.a1;
    const std::complex<double> root = std::sqrt(a1 * a1 - 4.0 * static_cast<double>(f.a2));
    return std::max(std::abs((-a1 + root) / 2.0), std::abs((-a1 - root) / 2.0));
}

TEST(BandFilterDesign, EveryBandIsStableAtCommonSampleRates) {
    const double rates[] = {8000,  11025, 16000, 22050, 32000,  40000,
                            44100, 48000, 88200, 96000, 176400, 192000};
    const double gains[] = {-12.0, 0.0, 12.0};
    const std::vector<float> input = noise(4096, 7);
    for (double rate : rates) {
        for (int band = 0; band < kBandCount; ++band) {
            for (double gain : gains) {
                SCOPED_TRACE(::testing::Message() << bandCentreHz[band] << " Hz at " << rate
                                                  << " Hz, " << gain << " dB");
                BandFilter f;
                f.design(bandCentreHz[band], rate, bandwidthOctaves, gain);
                ASSERT_TRUE(std::isfinite(f.b0) && std::isfinite(f.b1) && std::isfinite(f.b2) &&
                            std::isfinite(f.a1) && std::isfinite(f.a2));
                ASSERT_LT(largestPoleRadius(f), 1.0);
                float peak = 0.0f;
                for (float x : input) {
                    peak = std::max(peak, std::fabs(f.step(x)));
                }
                ASSERT_TRUE(std::isfinite(peak));
                // A +12 dB band can raise a full-scale noise peak a few times, not more.
                ASSERT_LT(peak, 16.0f);
            }
        }
    }
}

}  // namespace
}  // namespace vorn::engine
