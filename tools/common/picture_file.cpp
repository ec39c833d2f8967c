#include "tools/common/picture_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "resources/bmp_file.h"
#include "tools/common/png_writer.h"

namespace vorn::tools {
namespace {

constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpNoCompression = 0;
constexpr uint32_t kBmpBitFields = 3;  // 32-bit with explicit masks; only blue-green-red-x is read
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Far beyond anything the tools make; stops a corrupt header from asking for gigabytes.
constexpr int64_t kMaxPixels = 64 * 1024 * 1024;

uint32_t little16(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8;
}

uint32_t little32(const std::vector<uint8_t>& bytes, size_t at) {
    return little16(bytes, at) | little16(bytes, at + 2) << 16;
}

uint32_t big32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
           uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]);
}

bool sizeIsSane(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxPixels;
}

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// The payload of a zlib stream made only of stored blocks, checked against
// its Adler-32.
bool unpackStoredZlib(const std::vector<uint8_t>& stream, std::vector<uint8_t>& payload,
                      std::string& error) {
    if (stream.size() < 2 + 4) return fail(error, "PNG image data too short");
    if ((stream[0] & 0x0F) != 8 || ((stream[0] << 8) | stream[1]) % 31 != 0 || (stream[1] & 0x20))
        return fail(error, "PNG image data has no valid zlib header");
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > stream.size()) return fail(error, "PNG image data ends inside a block");
        last = stream[at] & 1;
        if ((stream[at] >> 1) & 3)
            return fail(error, "PNG image data is compressed; only stored blocks are read");
        const uint32_t length = little16(stream, at + 1);
        if ((length ^ little16(stream, at + 3)) != 0xFFFF)
            return fail(error, "PNG stored block length check failed");
        at += 5;
        if (at + length > stream.size()) return fail(error, "PNG image data ends inside a block");
        payload.insert(payload.end(), stream.begin() + static_cast<std::ptrdiff_t>(at),
                       stream.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    if (at + 4 > stream.size()) return fail(error, "PNG image data lacks its checksum");
    if (big32(stream, at) != adler32(payload.data(), payload.size()))
        return fail(error, "PNG image data checksum mismatch");
    return true;
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
    if (!sizeIsSane(width, height)) return fail(error, "BMP size out of range");
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

bool decodePng(const std::vector<uint8_t>& bytes, Picture& picture, std::string& error) {
    if (bytes.size() < 8 || !std::equal(std::begin(kPngSignature), std::end(kPngSignature),
                                        bytes.begin()))
        return fail(error, "not a PNG file");
    int64_t width = 0, height = 0;
    bool sawHeader = false, sawEnd = false;
    std::vector<uint8_t> imageData;
    for (size_t at = 8; !sawEnd;) {
        if (at + 12 > bytes.size()) return fail(error, "PNG ends inside a chunk");
        const uint32_t length = big32(bytes, at);
        if (length > bytes.size() - at - 12) return fail(error, "PNG chunk runs past the end");
        const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const size_t data = at + 8;
        if (big32(bytes, data + length) != crc32(bytes.data() + at + 4, length + 4))
            return fail(error, "PNG chunk " + type + " fails its CRC");
        if (type == "IHDR") {
            if (length != 13) return fail(error, "PNG header has the wrong size");
            width = big32(bytes, data);
            height = big32(bytes, data + 4);
            if (bytes[data + 8] != 8 || bytes[data + 9] != 2 || bytes[data + 12] != 0)
                return fail(error, "PNG is not 8-bit RGB without interlace");
            sawHeader = true;
        } else if (type == "IDAT") {
            imageData.insert(imageData.end(), bytes.begin() + static_cast<std::ptrdiff_t>(data),
                             bytes.begin() + static_cast<std::ptrdiff_t>(data + length));
        } else if (type == "IEND") {
            sawEnd = true;
        }
        at = data + length + 4;
    }
    if (!sawHeader) return fail(error, "PNG without header");
    if (!sizeIsSane(width, height)) return fail(error, "PNG size out of range");

    std::vector<uint8_t> raw;
    if (!unpackStoredZlib(imageData, raw, error)) return false;
    const size_t rowSize = 1 + 3 * static_cast<size_t>(width);
    if (raw.size() != rowSize * static_cast<size_t>(height))
        return fail(error, "PNG image data has the wrong length");

    picture = Picture(static_cast<int>(width), static_cast<int>(height));
    for (int y = 0; y < picture.height; ++y) {
        size_t at = static_cast<size_t>(y) * rowSize;
        if (raw[at++] != 0) return fail(error, "PNG row filter other than none");
        for (int x = 0; x < picture.width; ++x, at += 3)
            picture.set(x, y, Rgb{raw[at], raw[at + 1], raw[at + 2]});
    }
    return true;
}

bool writePicture(const std::string& path, const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    if (!endsWithBmp(path)) return writePng(path, picture);
    const std::vector<uint8_t> bytes = resources::encodeBmp(picture);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
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
