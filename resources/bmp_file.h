#pragma once
// Writing a picture as an uncompressed 24-bit BMP file: the format the
// resource compiler takes for bitmap resources.

#include <cstdint>
#include <string>
#include <vector>

#include "common/image.h"

namespace vorn::resources {

using raster::Image;

// The whole file: headers, then rows bottom-up in blue, green, red order,
// each padded to a multiple of four bytes.
std::vector<uint8_t> encodeBmp(const Image& image);

// Answers false if the file cannot be written completely.
bool writeBmp(const std::string& path, const Image& image);

}  // namespace vorn::resources
