#pragma once
// How a true-colour visual packs red, green and blue into a pixel value: one
// mask per channel, as the X server describes the visual.

#include <cstdint>

#include "common/geometry.h"

namespace vorn::platform {

class PixelFormat {
public:
    PixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

    // 8-bit channels scaled to each mask's width (exact for 8-bit masks).
    uint32_t pixel(Colour colour) const;

private:
    struct Channel {
        int shift = 0;
        uint32_t maximum = 0;  // the mask shifted down
        uint32_t place(uint8_t value) const;
    };
    static Channel channelOf(uint32_t mask);

    Channel red, green, blue;
};

}  // namespace vorn::platform
