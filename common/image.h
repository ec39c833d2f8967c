#pragma once
// The raster image: a 24-bit RGB picture in memory, top row first, and the
// two operations everything else is built from: a solid fill and a copy.
// Both clip silently, so callers may hand over rectangles that stick out.

#include <vector>

#include "common/geometry.h"

namespace vorn::raster {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;  // width * height, row by row from the top

    Image() = default;
    Image(int imageWidth, int imageHeight, Colour fillColour = {0, 0, 0});

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Colour at(int x, int y) const;  // black outside the picture
    void set(int x, int y, Colour colour);  // ignored outside the picture

    // Right and bottom edges exclusive.
    void fill(const Rect& rect, Colour colour);
};

// Copies a width-by-height block from source (sourceX, sourceY) to target
// (x, y); only pixels that lie inside both pictures are copied. Source and
// target may be the same picture.
void copyBlock(Image& target, int x, int y, int width, int height, const Image& source,
               int sourceX, int sourceY);

}  // namespace vorn::raster
