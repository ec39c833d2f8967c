#include "tools/common/picture_compare.h"

#include <cstdio>

namespace vorn::tools {

std::optional<PixelBox> parsePixelBox(const std::string& text) {
    PixelBox box;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d%n", &box.x0, &box.y0, &box.x1, &box.y1,
                    &consumed) != 4 ||
        static_cast<size_t>(consumed) != text.size())
        return std::nullopt;
    if (box.x0 > box.x1 || box.y0 > box.y1) return std::nullopt;
    return box;
}

Difference comparePictures(const Picture& expected, const Picture& actual,
                           const std::optional<PixelBox>& excluded) {
    Difference result;
    result.sameSize = expected.width == actual.width && expected.height == actual.height;
    if (!result.sameSize) return result;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (excluded && excluded->contains(x, y)) continue;
            ++result.compared;
            if (expected.at(x, y) == actual.at(x, y)) continue;
            if (result.differing++ == 0) {
                result.firstX = x;
                result.firstY = y;
                result.firstExpected = expected.at(x, y);
                result.firstActual = actual.at(x, y);
            }
        }
    }
    return result;
}

}  // namespace vorn::tools
