#include "tools/response/response_measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "common/math_constants.h"
#include "engine/band_filter.h"
#include "engine/bands.h"
#include "tools/response/band_presets.h"

namespace vorn::response {
namespace {

// Gain of the cascade a program designs, evaluated from the coefficients:
// an independent reference for the measurement.
double cascadeDb(const engine::BandValues& program, double sampleRate, double hz, bool left) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / sampleRate);
    std::complex<double> response = 1.0;
    for (int band = 0; band < kBandCount; ++band) {
        engine::BandFilter f;
        const float value = (left ? program.left : program.right)[band].load();
        f.design(engine::bandCentreHz[band], sampleRate, engine::bandwidthOctaves, engine::gainDb(value));
        response *= (double(f.b0) + double(f.b1) * z1 + double(f.b2) * z1 * z1) /
                    (1.0 + double(f.a1) * z1 + double(f.a2) * z1 * z1);
    }
    return 20.0 * std::log10(std::abs(response));
}

TEST(ResponseMeasure, AgreesWithTheDesignedCascade) {
    engine::BandValues program;
    ASSERT_TRUE(applyPreset("smile", program));
    program.left[16].store(1.0f);
    const double rate = 48000.0;
    const std::vector<ResponsePoint> points = measureResponse(program, rate, logSweep(20.0, 20000.0, 3));
    ASSERT_EQ(points.size(), 31u);
    for (const ResponsePoint& point : points) {
        SCOPED_TRACE(point.hz);
        EXPECT_NEAR(point.leftDb, cascadeDb(program, rate, point.hz, true), 0.01);
        EXPECT_NEAR(point.rightDb, cascadeDb(program, rate, point.hz, false), 0.01);
    }
}

TEST(ResponseMeasure, FlatIsZeroAndUnmeasurableFrequenciesAreMarked) {
    engine::BandValues flat;
    const auto points = measureResponse(flat, 32000.0, {25.0, 1000.0, 15999.0, 16000.0, 20000.0, -1.0});
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(points[i].leftDb, 0.0, 0.005);
        EXPECT_NEAR(points[i].rightDb, 0.0, 0.005);
    }
    for (int i = 3; i < 6; ++i) {
        EXPECT_TRUE(std::isnan(points[i].leftDb) && std::isnan(points[i].rightDb));
    }
}

}  // namespace
}  // namespace vorn::response
