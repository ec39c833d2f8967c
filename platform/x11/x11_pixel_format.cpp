#include "platform/x11/x11_pixel_format.h"

namespace vorn::platform {

namespace {
constexpr uint32_t kChannelMaximum = 255;
}

PixelFormat::PixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask)
    : red(channelOf(redMask)), green(channelOf(greenMask)), blue(channelOf(blueMask)) {}

PixelFormat::Channel PixelFormat::channelOf(uint32_t mask) {
    Channel channel;
    if (mask == 0) return channel;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++channel.shift;
    }
    channel.maximum = mask;
    return channel;
}

uint32_t PixelFormat::Channel::place(uint8_t value) const {
    // Rounded to the nearest step of the channel; 64-bit so that a 16-bit
    // channel cannot overflow the product.
    const uint64_t scaled =
        (uint64_t{value} * maximum + kChannelMaximum / 2) / kChannelMaximum;
    return static_cast<uint32_t>(scaled) << shift;
}

uint32_t PixelFormat::pixel(Colour colour) const {
    return red.place(colour.red) | green.place(colour.green) | blue.place(colour.blue);
}

}  // namespace vorn::platform
