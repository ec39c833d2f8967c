#pragma once
// The few drawing operations a plot needs, on a picture in memory: lines of
// some thickness and dashed lines, both clipped to a box so that a curve
// running off the scale stops at the frame.

#include "common/image.h"

namespace vorn::plot {

using vorn::Colour;
using raster::Image;
using vorn::Rect;

// A square pen of `thickness` pixels moved from (x0, y0) to (x1, y1), one
// step per pixel along the longer axis; only pixels inside `clip` change.
void drawLine(Image& image, double x0, double y0, double x1, double y1, Colour colour,
              int thickness, const Rect& clip);

// A one-pixel horizontal or vertical line drawn `on` pixels, skipped `off`.
void drawDashedHorizontal(Image& image, int x0, int x1, int y, Colour colour, int on, int off);
void drawDashedVertical(Image& image, int x, int y0, int y1, Colour colour, int on, int off);

}  // namespace vorn::plot
