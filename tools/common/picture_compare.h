#pragma once
// Pixel-by-pixel comparison of two pictures, with one rectangle left out:
// the editor's read-out text is drawn with the system font on Windows and
// with our pixel font elsewhere, so that box can never agree.

#include <optional>
#include <string>

#include "tools/common/picture.h"

namespace vorn::tools {

// Inclusive bounds, as the command line gives them: "x0,y0,x1,y1".
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// Answers nothing for text that is not four comma-separated integers with
// x0 <= x1 and y0 <= y1.
std::optional<PixelBox> parsePixelBox(const std::string& text);

struct Difference {
    bool sameSize = false;
    long differing = 0;   // pixels outside the excluded box that differ
    long compared = 0;    // pixels outside the excluded box
    int firstX = -1, firstY = -1;  // the first differing pixel in reading order
    Rgb firstExpected, firstActual;
};

Difference comparePictures(const Picture& expected, const Picture& actual,
                           const std::optional<PixelBox>& excluded);

}  // namespace vorn::tools
