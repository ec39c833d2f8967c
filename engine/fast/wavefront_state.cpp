#include "engine/fast/wavefront_state.h"

#include "engine/band_filter.h"

namespace vorn::engine {
namespace {

void setCoefficients(LaneCoefficients& coefficients, int lane, const BandFilter& filter) {
    coefficients.b0[lane] = filter.b0;
    coefficients.b1[lane] = filter.b1;
    coefficients.b2[lane] = filter.b2;
    coefficients.a1[lane] = filter.a1;
    coefficients.a2[lane] = filter.a2;
}

}  // namespace

void clearLanes(WavefrontState& state, const LaneLayout& layout) {
    state = WavefrontState{};
    BandFilter identity;
    identity.b0 = 1.0f;
    for (int lane = 0; lane < kMaxLanes; ++lane) {
        state.band[lane] = kSpareLaneBand;
        setCoefficients(state.coefficients, lane, identity);
        setCoefficients(state.neighbours, lane, identity);
    }
    for (int band = 0; band < kBandCount; ++band)
        for (int channel = 0; channel < 2; ++channel) {
            state.band[layout.laneOf(band, channel)] = band;
            placeFilter(state, layout, band, channel, BandFilter{});
        }
}

void placeCoefficients(WavefrontState& state, const LaneLayout& layout, int band, int channel,
                       const BandFilter& filter) {
    setCoefficients(state.coefficients, layout.laneOf(band, channel), filter);
    setCoefficients(state.neighbours, neighbourLaneOf(band, channel), filter);
}

void placeFilter(WavefrontState& state, const LaneLayout& layout, int band, int channel,
                 const BandFilter& filter) {
    placeCoefficients(state, layout, band, channel, filter);
    const int lane = layout.laneOf(band, channel);
    state.x1[lane] = filter.x1;
    state.x2[lane] = filter.x2;
    state.y1[lane] = filter.y1;
    state.y2[lane] = filter.y2;
}

}  // namespace vorn::engine
