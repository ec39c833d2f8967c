#include "tools/common/picture_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "resources/bmp_file.h"
#include "common/file_writer.h"
#include "tools/common/png_file.h"

namespace vorn::tools {
namespace {

constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpNoCompression = 0;
constexpr uint32_t kBmpBitFields = 3;  // 32-bit with explicit masks; only blue-green-red-x is read

uint32_t little16(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8;
}

uint32_t little32(const std::vector<uint8_t>& bytes, size_t at) {
    return little16(bytes, at) | little16(bytes, at + 2) << 16;
}

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

bool endsWithBmp(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".bmp";
}

}  // namespace

bool decodeBmp(const std::vector<uint8_t>& bytes, Picture& picture, std::string& error) {
    if (bytes.size() < kBmpFileHeaderSize + kBmpInfoHeaderSize || bytes[0] != 'B' ||
        bytes[1] != 'M')
        return fail(error, "not a BMP file");
    const uint32_t pixelOffset = little32(bytes, 10);
    const uint32_t headerSize = little32(bytes, 14);
    if (headerSize < kBmpInfoHeaderSize) return fail(error, "BMP header too old to read");
    const int64_t width = static_cast<int32_t>(little32(bytes, 18));
    const int64_t signedHeight = static_cast<int32_t>(little32(bytes, 22));
    const uint32_t bitsPerPixel = little16(bytes, 28);
    const uint32_t compression = little32(bytes, 30);
    const bool topDown = signedHeight < 0;
    const int64_t height = topDown ? -signedHeight : signedHeight;
    if (!plausibleFileSize(width, height)) return fail(error, "BMP size out of range");
    if (bitsPerPixel != 24 && bitsPerPixel != 32)
        return fail(error, "BMP with " + std::to_string(bitsPerPixel) + " bits per pixel");
    if (compression != kBmpNoCompression && !(compression == kBmpBitFields && bitsPerPixel == 32))
        return fail(error, "compressed BMP");
    if (compression == kBmpBitFields &&
        (bytes.size() < 66 || little32(bytes, 54) != 0xFF0000 || little32(bytes, 58) != 0xFF00 ||
         little32(bytes, 62) != 0xFF))
        return fail(error, "BMP with an unusual 32-bit pixel layout");

    const size_t bytesPerPixel = bitsPerPixel / 8;
    const size_t rowSize = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t(3);
    if (pixelOffset > bytes.size() ||
        bytes.size() - pixelOffset < rowSize * static_cast<size_t>(height))
        return fail(error, "BMP pixel data truncated");

    picture = Picture(static_cast<int>(width), static_cast<int>(height));
    for (int row = 0; row < picture.height; ++row) {
        const int y = topDown ? row : picture.height - 1 - row;
        size_t at = pixelOffset + static_cast<size_t>(row) * rowSize;
        for (int x = 0; x < picture.width; ++x, at += bytesPerPixel)
            picture.set(x, y, Rgb{bytes[at + 2], bytes[at + 1], bytes[at]});
    }
    return true;
}

bool writePicture(const std::string& path, const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    const std::vector<uint8_t> bytes =
        endsWithBmp(path) ? resources::encodeBmp(picture) : encodePng(picture);
    return !bytes.empty() && writeFile(path, bytes);
}

bool readPicture(const std::string& path, Picture& picture, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return fail(error, "cannot open " + path);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return decodeBmp(bytes, picture, error);
    return decodePng(bytes, picture, error);
}

}  // namespace vorn::tools
