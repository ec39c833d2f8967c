#pragma once
// A plain 24-bit RGB picture for the tools: what a capture, a render or a plot
// is before it becomes a file. Deliberately free of the plug-in's own types so
// that the Windows test host can use it without the editor or platform layers.

#include <cstdint>
#include <vector>

namespace vorn::tools {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // width * height, row by row from the top

    Picture() = default;
    Picture(int pictureWidth, int pictureHeight, Rgb fill = {})
        : width(pictureWidth), height(pictureHeight),
          pixels(static_cast<size_t>(pictureWidth) * static_cast<size_t>(pictureHeight), fill) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb at(int x, int y) const { return contains(x, y) ? pixels[index(x, y)] : Rgb{}; }
    void set(int x, int y, Rgb colour) {
        if (contains(x, y)) pixels[index(x, y)] = colour;
    }

private:
    size_t index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    }
};

}  // namespace vorn::tools
