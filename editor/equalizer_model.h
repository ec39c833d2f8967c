#pragma once
// The effect as its editor sees it: the band values of the current program,
// to draw and to set, and the two level meters, to draw. The editor knows
// nothing else of the effect, and changes band values only through the two
// setters, so whoever owns the values sees every edit.

#include "common/bands.h"

namespace vorn {

class EqualizerModel {
public:
    // Each call goes to the program current at that moment: the host may
    // switch programs between two of them.
    virtual float bandValue(Channel channel, int band) const = 0;
    virtual void setBandValue(Channel channel, int band, float value) = 0;
    // Both channels of one band, as a linked drag sets them.
    virtual void setLinkedBands(int band, float value) = 0;

    virtual float inputLevel() const = 0;
    virtual float outputLevel() const = 0;

protected:
    ~EqualizerModel() = default;
};

}  // namespace vorn
