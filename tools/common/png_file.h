#pragma once
// Pictures as PNG files, through stb's image writer and reader. Written as
// 24-bit RGB; read from any PNG the reader understands (palette, grey, alpha,
// 16 bits), converted to 24-bit RGB.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/picture.h"

namespace vorn::tools {

// The whole file; empty for a picture without pixels, which PNG cannot hold.
std::vector<uint8_t> encodePng(const Picture& picture);

// On failure answers false and says why.
bool decodePng(const std::vector<uint8_t>& bytes, Picture& picture, std::string& error);

}  // namespace vorn::tools
