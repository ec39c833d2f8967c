#pragma once
// Writes a picture as a PNG file with no library behind it: 24-bit RGB, every
// row unfiltered, the image data in zlib "stored" (uncompressed) blocks. The
// files are larger than a compressing encoder's, but every viewer reads them
// and the whole encoder fits on a page.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/picture.h"

namespace vorn::tools {

// The checksums the format requires, exposed for the tests and the reader.
// CRC-32 of the chunk type and data (polynomial 0xEDB88320, reflected).
uint32_t crc32(const uint8_t* data, size_t size, uint32_t previous = 0);
// Adler-32 of the uncompressed zlib payload.
uint32_t adler32(const uint8_t* data, size_t size, uint32_t previous = 1);

// The whole file; empty for a picture without pixels, which PNG cannot hold.
std::vector<uint8_t> encodePng(const Picture& picture);

// Answers false if the file cannot be written completely.
bool writePng(const std::string& path, const Picture& picture);

}  // namespace vorn::tools
