#pragma once
// Picture files as the tools exchange them: PNG (tools/common/png_file.h) and
// uncompressed BMP (24 or 32 bits per pixel, as GDI and our artwork write
// them). The BMP reader is not a general decoder: a BMP with a palette or
// compression is refused with a message rather than misread.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/picture.h"

namespace vorn::tools {

// The decoder of a whole BMP file; on failure it answers false and says why.
bool decodeBmp(const std::vector<uint8_t>& bytes, Picture& picture, std::string& error);

// By the file's name: ".bmp" (any case) is BMP, everything else PNG.
// Answers false if the file cannot be written completely.
bool writePicture(const std::string& path, const Picture& picture);
// By the file's first bytes.
bool readPicture(const std::string& path, Picture& picture, std::string& error);

}  // namespace vorn::tools
