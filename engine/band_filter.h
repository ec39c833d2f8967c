#pragma once

#include <cmath>
#include <cstdint>

namespace vorn::engine {

// The largest magnitude a filter's history may hold and still be used. No
// real signal comes near it: a floating-point mix 100 dB above full scale,
// through every band at +12 dB (the cascade peaks at +22 dB) and the ringing
// of the narrow low bands, stays below 1e7. A value past it can only come
// from a source upstream that blew up. Such a history is not only useless
// but harmful: next to it the terms of a flat band no longer cancel to the
// precision of the signal, and the error rings for seconds through the low
// bands' poles, so it is cleared like one that is not finite.
constexpr float kLargestUsableHistory = 1e10f;

// What a band's design takes from its centre, the sample rate and the width:
// everything but the gain, so that a band whose gain changes is designed
// again without the trigonometry. Not usable for a nonsense sample rate.
struct BandShape {
    bool usable = false;
    double cs = 0.0;     // cosine of the centre's digital frequency
    double alpha = 0.0;  // the bandwidth term
};

BandShape bandShape(double centreHz, double sampleRate, double bandwidthOctaves);

// One second-order peaking filter: five coefficients (already divided by a0)
// and the direct-form-I history. A plain record so that the engine's arrays of
// them are exactly the filter state and nothing else; all zero at construction.
struct BandFilter {
    float b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float y1 = 0, y2 = 0, x1 = 0, x2 = 0;

    // Writes the five coefficients, never the history: a new gain acts on the
    // history the old one left. Where the formulas give no usable filter
    // (centre at a multiple of half the sample rate, nonsense sample rate) the
    // band becomes the identity, because it has no audible centre there.
    void design(double centreHz, double sampleRate, double bandwidthOctaves, double gainDb) {
        design(bandShape(centreHz, sampleRate, bandwidthOctaves), gainDb);
    }
    void design(const BandShape& shape, double gainDb);

    // One direct-form-I step. The sum is formed in double from the float
    // operands, strictly left to right, and the history keeps floats: the
    // output must not depend on the compiler or the platform.
    float step(float x) {
        const double y = static_cast<double>(b0) * x + static_cast<double>(b1) * x1 +
                         static_cast<double>(b2) * x2 - static_cast<double>(a1) * y1 -
                         static_cast<double>(a2) * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = static_cast<float>(y);
        return y1;
    }

    // Finite and within kLargestUsableHistory (NaN fails every comparison).
    bool historyIsUsable() const {
        return std::fabs(y1) <= kLargestUsableHistory && std::fabs(y2) <= kLargestUsableHistory &&
               std::fabs(x1) <= kLargestUsableHistory && std::fabs(x2) <= kLargestUsableHistory;
    }

    // A NaN, an infinity or a huge value that reached the history would
    // otherwise recirculate for ever, since the history is never reset;
    // silence is the safe restart.
    void discardUnusableHistory() {
        if (!historyIsUsable()) clearHistory();
    }

    void clearHistory() { y1 = y2 = x1 = x2 = 0.0f; }
};

}  // namespace vorn::engine
