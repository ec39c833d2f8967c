#pragma once
// Colours and rectangles, as pictures, the window system and the editor's
// layout all use them.

#include <cstdint>

namespace vorn {

struct Colour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Colour& other) const { return !(*this == other); }
};

// Right and bottom edges exclusive.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};

}  // namespace vorn
