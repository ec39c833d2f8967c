#include "resources/bmp_file.h"

#include "common/file_writer.h"

namespace vorn::resources {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kBitsPerPixel = 24;
constexpr int kPixelsPerMetre = 2835;  // 72 dots per inch

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Image& image) {
    const uint32_t rowSize = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowSize * static_cast<uint32_t>(image.height);
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + pixelBytes);
    put32(out, 0);  // reserved
    put32(out, pixelOffset);

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));  // positive: rows stored bottom-up
    put16(out, 1);                                     // planes
    put16(out, kBitsPerPixel);
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);  // colours used: none, no palette
    put32(out, 0);  // important colours

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Colour colour = image.at(x, y);
            out.push_back(colour.blue);
            out.push_back(colour.green);
            out.push_back(colour.red);
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowSize; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

bool writeBmp(const std::string& path, const Image& image) {
    return writeFile(path, encodeBmp(image));
}

}  // namespace vorn::resources
