#pragma once
// The sixty recursions of the cascade (thirty bands, two channels) laid out
// for a vector kernel. Each recursion is a lane; a register of L lanes holds
// L / 2 bands, left and right side by side. Register k holds the bands k,
// k + R, k + 2R, ... where R is the number of registers, so that every
// register takes its input from the previous register's last output, and the
// first register from the new input sample and from the last register: the
// cascade runs as a wavefront, band b working on sample n - b while band b - 1
// works on sample n - b + 1.
//
// Values are kept in double, but each one is exactly the float the plain
// engine would hold: coefficients converted from float, history rounded to
// float after every step.
//
// Short blocks on the widest registers run another kernel
// (wavefront_neighbours.h), whose registers hold neighbouring bands; it reads
// its coefficients from a copy in band order and keeps the history here.

#include <cstdint>

#include "common/bands.h"

namespace vorn::engine {

constexpr int kMaxLanes = 64;  // 30 bands in registers of 8 lanes, 4 spare lanes

// In the block's last kBandCount steps the bands take their last samples one
// after the other. At each of those steps the kernel keeps four vectors: the
// last two outputs of the register of the band that finished, and the first
// register's last two inputs. Each band's history is read from them once the
// block is done. Room for the widest registers (8 lanes).
constexpr int kMaxFinishValues = kBandCount * 4 * 8;

// The five coefficients of every lane.
struct alignas(64) LaneCoefficients {
    double b0[kMaxLanes], b1[kMaxLanes], b2[kMaxLanes], a1[kMaxLanes], a2[kMaxLanes];
};

// Where band `band` of channel `channel` sits in band order.
constexpr int neighbourLaneOf(int band, int channel) { return 2 * band + channel; }

// The ring of a kernel's last few inputs, one row per step.
constexpr int kInputRingSteps = 4;

// What the kernels read at every step comes first: the instructions that
// reach it need only one byte for its place.
struct alignas(64) WavefrontState {
    LaneCoefficients neighbours;  // the coefficients in band order (neighbourLaneOf)
    // Scratch of the kernels, meaningless between blocks.
    double inputRing[kInputRingSteps][kMaxLanes];
    LaneCoefficients coefficients;  // in the layout below (LaneLayout::laneOf)
    double x1[kMaxLanes], x2[kMaxLanes], y1[kMaxLanes], y2[kMaxLanes];
    // The band of each lane; a spare lane holds a number no band has.
    double band[kMaxLanes];
    double finishes[kMaxFinishValues];  // scratch too
};

// Where each recursion lives for registers of `lanes` doubles.
struct LaneLayout {
    int lanes;          // per register: 2, 4 or 8
    int registers;      // R
    constexpr int laneOf(int band, int channel) const {
        return (band % registers) * lanes + 2 * (band / registers) + channel;
    }

    static constexpr LaneLayout forLanes(int lanes) {
        const int perRegister = lanes / 2;
        return {lanes, (kBandCount + perRegister - 1) / perRegister};
    }
};

// The band number of a spare lane: a band that never starts, so the kernel
// never writes its history.
constexpr double kSpareLaneBand = 1e18;

struct BandFilter;

// A state whose real lanes hold all-zero filters, as the plain engine's are
// at construction, and whose spare lanes are identity filters of no band.
void clearLanes(WavefrontState& state, const LaneLayout& layout);

// Puts one band's filter (coefficients and history) where the kernels read it.
void placeFilter(WavefrontState& state, const LaneLayout& layout, int band, int channel,
                 const BandFilter& filter);
void placeCoefficients(WavefrontState& state, const LaneLayout& layout, int band, int channel,
                       const BandFilter& filter);

}  // namespace vorn::engine
