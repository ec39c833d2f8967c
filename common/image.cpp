#include "common/image.h"

#include <algorithm>

namespace vorn::raster {

Image::Image(int imageWidth, int imageHeight, Colour fillColour)
    : width(std::max(imageWidth, 0)),
      height(std::max(imageHeight, 0)),
      pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fillColour) {}

Colour Image::at(int x, int y) const {
    if (!contains(x, y)) return {0, 0, 0};
    return pixels[static_cast<size_t>(y) * width + x];
}

void Image::set(int x, int y, Colour colour) {
    if (contains(x, y)) pixels[static_cast<size_t>(y) * width + x] = colour;
}

void Image::fill(const Rect& rect, Colour colour) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, width);
    const int bottom = std::min(rect.bottom, height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) pixels[static_cast<size_t>(y) * width + x] = colour;
    }
}

void copyBlock(Image& target, int x, int y, int width, int height, const Image& source,
               int sourceX, int sourceY) {
    // Clip the block against the source and the target in turn, moving both
    // corners together so that pixels stay paired.
    auto clip = [&](int& position, int& otherPosition, int& extent, int limit) {
        if (position < 0) {
            extent += position;
            otherPosition -= position;
            position = 0;
        }
        extent = std::min(extent, limit - position);
    };
    clip(sourceX, x, width, source.width);
    clip(sourceY, y, height, source.height);
    clip(x, sourceX, width, target.width);
    clip(y, sourceY, height, target.height);
    if (width <= 0 || height <= 0) return;

    // A copy within one picture may overlap itself: take the block first.
    const Image* from = &source;
    Image block;
    if (&source == &target) {
        block = Image(width, height);
        copyBlock(block, 0, 0, width, height, source, sourceX, sourceY);
        from = &block;
        sourceX = 0;
        sourceY = 0;
    }
    for (int row = 0; row < height; ++row) {
        const Colour* in = &from->pixels[static_cast<size_t>(sourceY + row) * from->width + sourceX];
        Colour* out = &target.pixels[static_cast<size_t>(y + row) * target.width + x];
        std::copy(in, in + width, out);
    }
}

}  // namespace vorn::raster
