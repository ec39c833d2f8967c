// The product's sound, pinned by measurement: sines through the real engine,
// not the band table read back. A change to a centre, the bandwidth, the gain
// law or the cascade moves one of these numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <vector>

#include "engine/band_values.h"
#include "engine/bands.h"
#include "tools/response/response_measure.h"

namespace vorn::response {
namespace {

constexpr double kRate = 44100.0;

// The centres as the product lists them, written out here on purpose: the
// measurement must find each band where the user was told it is.
constexpr double kListedCentresHz[kBandCount] = {
    25,   31,   40,   50,   62,   80,   100,  125,   160,   200,   250,   320,   400,   500,   640,
    800,  1000, 1300, 1600, 2000, 2500, 3150, 4000,  5000,  6200,  8000,  10000, 13000, 16000, 20000,
};

size_t loudest(const std::vector<ResponsePoint>& points) {
    size_t best = 0;
    for (size_t i = 1; i < points.size(); ++i)
        if (points[i].leftDb > points[best].leftDb) best = i;
    return best;
}

TEST(PinnedResponse, EachBandBoostedAlonePeaksAtItsOwnCentre) {
    for (int band = 0; band < kBandCount; ++band) {
        const double centre = kListedCentresHz[band];
        SCOPED_TRACE(centre);
        engine::BandValues program;
        program.left[band].store(1.0f);
        // A sixth of a third-octave on each side, in fine steps.
        const double step = std::pow(2.0, 1.0 / 72.0);
        std::vector<double> around;
        for (int i = -4; i <= 4; ++i) around.push_back(centre * std::pow(step, i));
        const std::vector<ResponsePoint> points = measureResponse(program, kRate, around);
        EXPECT_EQ(loudest(points), 4u) << "peak at " << points[loudest(points)].hz << " Hz";
        EXPECT_NEAR(points[4].leftDb, 12.0, 0.05);
        EXPECT_NEAR(points[4].rightDb, 0.0, 0.001);
    }
}

TEST(PinnedResponse, OneKilohertzBandReachesItsNeighbours) {
    engine::BandValues program;
    program.left[16].store(1.0f);
    const std::vector<ResponsePoint> points = measureResponse(program, kRate, {800.0, 1000.0, 1300.0});
    EXPECT_NEAR(points[0].leftDb, 2.85, 0.02);
    EXPECT_NEAR(points[1].leftDb, 12.0, 0.02);
    EXPECT_NEAR(points[2].leftDb, 2.24, 0.02);
}

TEST(PinnedResponse, EveryBandBoostedPeaksAt22DecibelsAt13Kilohertz) {
    engine::BandValues program;
    for (int band = 0; band < kBandCount; ++band) {
        program.left[band].store(1.0f);
        program.right[band].store(1.0f);
    }
    // Measured at the band centres, where the boosts stack most.
    const std::vector<double> centres(std::begin(kListedCentresHz), std::end(kListedCentresHz));
    const std::vector<ResponsePoint> points = measureResponse(program, kRate, centres);
    const ResponsePoint& peak = points[loudest(points)];
    EXPECT_EQ(peak.hz, 13000.0);
    EXPECT_NEAR(peak.leftDb, 22.12, 0.02);
    EXPECT_NEAR(peak.rightDb, 22.12, 0.02);
}

}  // namespace
}  // namespace vorn::response
