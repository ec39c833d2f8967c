#pragma once
// A plain 24-bit RGB picture for the tools: what a capture, a render or a plot
// is before it becomes a file. The same picture the artwork is drawn in, so
// that the Windows test host needs nothing of the editor or platform layers.

#include <cstdint>

#include "common/image.h"

namespace vorn::tools {

using Rgb = Colour;
using Picture = raster::Image;

// The largest picture a file may claim to hold: far beyond anything the tools
// make, so that a corrupt header cannot ask for gigabytes.
constexpr int64_t kMaxFilePixels = 64 * 1024 * 1024;

inline bool plausibleFileSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxFilePixels;
}

}  // namespace vorn::tools
