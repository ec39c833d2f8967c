#include "tools/plot/raster.h"

#include <algorithm>
#include <cmath>

namespace vorn::plot {
namespace {

bool inside(const Rect& clip, int x, int y) {
    return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
}

void stamp(Image& image, int x, int y, Colour colour, int thickness, const Rect& clip) {
    const int first = -(thickness - 1) / 2;
    for (int dy = first; dy < first + thickness; ++dy)
        for (int dx = first; dx < first + thickness; ++dx)
            if (inside(clip, x + dx, y + dy)) image.set(x + dx, y + dy, colour);
}

}  // namespace

void drawLine(Image& image, double x0, double y0, double x1, double y1, Colour colour,
              int thickness, const Rect& clip) {
    const double steps = std::max(std::fabs(x1 - x0), std::fabs(y1 - y0));
    const int count = std::max(1, static_cast<int>(std::ceil(steps)));
    for (int k = 0; k <= count; ++k) {
        const double t = static_cast<double>(k) / count;
        stamp(image, static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
              static_cast<int>(std::lround(y0 + (y1 - y0) * t)), colour, thickness, clip);
    }
}

void drawDashedHorizontal(Image& image, int x0, int x1, int y, Colour colour, int on, int off) {
    for (int x = x0; x <= x1; ++x)
        if ((x - x0) % (on + off) < on) image.set(x, y, colour);
}

void drawDashedVertical(Image& image, int x, int y0, int y1, Colour colour, int on, int off) {
    for (int y = y0; y <= y1; ++y)
        if ((y - y0) % (on + off) < on) image.set(x, y, colour);
}

}  // namespace vorn::plot
