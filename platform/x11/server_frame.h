#pragma once
// The editor's frame as the X server takes its pixels: the image memory in
// the server's own layout (bits per pixel, byte order, row padding), written
// a row at a time from the composed picture. It keeps the picture it took
// last, so that a new frame costs what changed in it: only rows that differ
// are converted and sent, together with the rows whose contents the server
// has lost (an exposure, or a window never drawn).

#include <xcb/xcb_image.h>

#include <cstdint>
#include <vector>

#include "common/image.h"
#include "platform/x11/x11_pixel_format.h"

namespace vorn::platform {

// Consecutive rows to send in one go: rows top to top + count - 1.
struct RowBand {
    int top;
    int count;
};

class ServerFrame {
public:
    // Writes into `image` (not owned: it must outlive this), whose rows are
    // all lost until the first frame has been taken.
    ServerFrame(xcb_image_t& image, const PixelFormat& format);

    // Takes the composed frame: converts the rows that differ from the frame
    // taken last or that were lost, and answers them as bands, top to bottom.
    // A frame of another size than the last one counts as changed all over;
    // only the part that fits the image is converted.
    const std::vector<RowBand>& take(const raster::Image& frame);

    // The server lost these rows (top to bottom - 1, clipped): the next frame
    // sends them again, changed or not.
    void markLost(int top, int bottom);
    void markAllLost() { markLost(0, height()); }

    int height() const { return image.height; }
    int width() const { return image.width; }

private:
    bool rowDiffers(const raster::Image& frame, int y) const;
    void convertRow(const raster::Image& frame, int y);

    xcb_image_t& image;
    // The pixel value's part for each 8-bit channel value: a pixel is the
    // three parts or-ed together, as PixelFormat::pixel computes it.
    uint32_t redPart[256], greenPart[256], bluePart[256];
    raster::Image taken;
    std::vector<bool> lost;
    std::vector<RowBand> bands;  // kept between frames, so taking one allocates nothing
};

}  // namespace vorn::platform
