#include "platform/x11/server_frame.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace vorn::platform {
namespace {

constexpr int kChannelValues = 256;
constexpr int kBitsPerByte = 8;
static_assert(sizeof(Colour) == 3, "a picture row is compared as plain bytes");

// One row of pixel values in `bytes` bytes each, the most significant byte
// first or last: the layouts true-colour servers use, written the way
// xcb_image_put_pixel writes them, without a call per pixel.
template <int bytes, bool mostSignificantFirst>
void writeRow(uint8_t* out, const Colour* in, int width, const uint32_t* red,
              const uint32_t* green, const uint32_t* blue) {
    for (int x = 0; x < width; ++x, out += bytes) {
        const uint32_t pixel = red[in[x].red] | green[in[x].green] | blue[in[x].blue];
        for (int byte = 0; byte < bytes; ++byte) {
            const int shift = mostSignificantFirst ? (bytes - 1 - byte) * kBitsPerByte
                                                   : byte * kBitsPerByte;
            out[byte] = static_cast<uint8_t>(pixel >> shift);
        }
    }
}

}  // namespace

ServerFrame::ServerFrame(xcb_image_t& target, const PixelFormat& format)
    : image(target), lost(target.height, true) {
    for (int value = 0; value < kChannelValues; ++value) {
        const auto channel = static_cast<uint8_t>(value);
        redPart[value] = format.pixel({channel, 0, 0});
        greenPart[value] = format.pixel({0, channel, 0});
        bluePart[value] = format.pixel({0, 0, channel});
    }
    bands.reserve(static_cast<size_t>(target.height));
}

void ServerFrame::markLost(int top, int bottom) {
    top = std::max(top, 0);
    bottom = std::min(bottom, height());
    for (int y = top; y < bottom; ++y) lost[static_cast<size_t>(y)] = true;
}

const std::vector<RowBand>& ServerFrame::take(const raster::Image& frame) {
    const bool sameSize = frame.width == taken.width && frame.height == taken.height;
    if (!sameSize) taken = raster::Image(frame.width, frame.height);
    bands.clear();
    const int rows = std::min(frame.height, height());
    for (int y = 0; y < rows; ++y) {
        if (sameSize && !lost[static_cast<size_t>(y)] && !rowDiffers(frame, y)) continue;
        const auto first = frame.pixels.begin() + static_cast<std::ptrdiff_t>(y) * frame.width;
        std::copy(first, first + frame.width,
                  taken.pixels.begin() + static_cast<std::ptrdiff_t>(y) * frame.width);
        convertRow(frame, y);
        lost[static_cast<size_t>(y)] = false;
        if (!bands.empty() && bands.back().top + bands.back().count == y)
            ++bands.back().count;
        else
            bands.push_back({y, 1});
    }
    return bands;
}

bool ServerFrame::rowDiffers(const raster::Image& frame, int y) const {
    const size_t offset = static_cast<size_t>(y) * static_cast<size_t>(frame.width);
    return std::memcmp(&frame.pixels[offset], &taken.pixels[offset],
                       static_cast<size_t>(frame.width) * sizeof(Colour)) != 0;
}

void ServerFrame::convertRow(const raster::Image& frame, int y) {
    const int width = std::min(frame.width, static_cast<int>(image.width));
    const Colour* in = &frame.pixels[static_cast<size_t>(y) * static_cast<size_t>(frame.width)];
    uint8_t* out = image.data + static_cast<size_t>(y) * image.stride;
    const bool mostFirst = image.byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    const uint32_t* r = redPart;
    const uint32_t* g = greenPart;
    const uint32_t* b = bluePart;
    switch (image.bpp) {
    case 32:
        mostFirst ? writeRow<4, true>(out, in, width, r, g, b)
                  : writeRow<4, false>(out, in, width, r, g, b);
        return;
    case 24:
        mostFirst ? writeRow<3, true>(out, in, width, r, g, b)
                  : writeRow<3, false>(out, in, width, r, g, b);
        return;
    case 16:
        mostFirst ? writeRow<2, true>(out, in, width, r, g, b)
                  : writeRow<2, false>(out, in, width, r, g, b);
        return;
    default:  // layouts no true-colour server of today uses: the slow, general way
        for (int x = 0; x < width; ++x)
            xcb_image_put_pixel(&image, static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                r[in[x].red] | g[in[x].green] | b[in[x].blue]);
    }
}

}  // namespace vorn::platform
