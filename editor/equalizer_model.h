#pragma once
// The effect as its editor sees it: the band values of the current program,
// to draw and to set, and the two level meters, to draw. The editor knows
// nothing else of the effect.

#include "engine/band_values.h"

namespace vorn {

class EqualizerModel {
public:
    // Looked up afresh on every call: the host may switch programs between
    // two of them.
    virtual engine::BandValues& currentBands() = 0;
    virtual float inputLevel() const = 0;
    virtual float outputLevel() const = 0;

protected:
    ~EqualizerModel() = default;
};

}  // namespace vorn
